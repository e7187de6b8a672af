#pragma once
// The media types of the test video decoder: the MPEG-2 video it takes (and
// the frame size its format block may already tell) and the RGB32 pictures
// it gives.

#include "dshow/MediaType.h"

namespace decoders {

// Whether `mt` is MPEG-2 video as a demultiplexer or a stream-buffer source
// offers it: elementary stream or PES, with or without a format block.
bool IsMpeg2Video(const AM_MEDIA_TYPE& mt);

// The frame size the format block states, when it states one (a size in the
// header or a sequence header among its bytes). Format blocks too short for
// their format type state nothing.
bool FrameSizeFromFormat(const AM_MEDIA_TYPE& mt, int& width, int& height);

// 32-bit RGB, bottom-up, of the given size, 29.97 pictures a second.
HRESULT MakeRgb32Type(int width, int height, dshow::MediaType& mt);

// Whether `mt` is 32-bit RGB that this decoder can draw, and how: the visible
// size (the target rectangle when one is set), the row length in pixels and
// the row order.
bool ReadRgb32Layout(const AM_MEDIA_TYPE& mt, int& width, int& height, int& stride,
                     bool& bottomUp);

}  // namespace decoders
