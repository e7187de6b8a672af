#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>

// What the tuning-space search learns of one of the system's tuning spaces.
struct TuningSpaceFacts {
  std::wstring uniqueName;
  // An ATSC tuning space (it offers the ATSC space's interface) whose input
  // is the antenna, not the cable.
  bool atscAntenna = false;
};

// The space the tuner is tuned through, as an index into `spaces`: the first
// whose unique name is "ATSC" (the name of the older systems' default ATSC
// space, and of one a user made for this program), whatever its facts;
// otherwise the first ATSC antenna space, as Windows 7 and later list theirs
// under other names. Nothing when there is neither.
std::optional<std::size_t> ChooseAtscTuningSpace(std::span<const TuningSpaceFacts> spaces);
