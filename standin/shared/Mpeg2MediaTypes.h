#pragma once
// The media types of MPEG-2 video and AC-3 audio as the stand-in
// demultiplexer offers them, shared with the stand-in stream-buffer source
// so that the same decoders connect to both.

#include "dshow/MediaType.h"

namespace standin {

// MPEG-2 video with an MPEG2VIDEOINFO block of the given picture size and
// display aspect (16:9 when wide, else 4:3), 29.97 pictures a second.
dshow::MediaType MakeMpeg2VideoType(long width, long height, bool wide);
// AC-3 audio, 48 kHz stereo.
dshow::MediaType MakeAc3AudioType();

}  // namespace standin
