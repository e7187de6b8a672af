#pragma once
// The media types the transport-stream player gives the MPEG-2
// demultiplexer's two output pins: MPEG-2 video, and AC-3 or MPEG audio as
// the program's PMT says, with format blocks of zeros (the decoders take the details from the stream). The
// types point into the object's own blocks, so it is neither copied nor
// moved.

#include <windows.h>
#include <strmif.h>

#include "core/ts/ProgramScan.h"

struct PlayerPinTypes {
  explicit PlayerPinTypes(AudioCoding coding) noexcept;
  PlayerPinTypes(const PlayerPinTypes&) = delete;
  PlayerPinTypes& operator=(const PlayerPinTypes&) = delete;

  BYTE videoFormat[136] = {};
  BYTE audioFormat[18] = {};
  AM_MEDIA_TYPE video{};
  AM_MEDIA_TYPE audio{};
};
