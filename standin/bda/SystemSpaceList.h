#pragma once
// The tuning spaces the stand-in system holds, read from the stand-in
// settings: portable, so that the rules are tested natively.

#include <optional>
#include <string>
#include <vector>

namespace standin {

// One ATSC tuning space: its unique (and friendly) name and its input.
struct SystemSpace {
  std::string uniqueName;
  bool cable = false;  // the cable input; otherwise the antenna

  friend bool operator==(const SystemSpace&, const SystemSpace&) = default;
};

// The spaces of the "TuningSpaces" value: unique names separated by blanks,
// each with ":cable" at its end for a space with the cable input (an empty
// value: no space at all). Without the value, the platform's own list: the
// older systems' one antenna space named "ATSC", or for Windows 7 and later
// an ATSC cable space named "ATSCCable" followed by an antenna space named
// "ATSCAntenna", so that the antenna space is found only by its type.
std::vector<SystemSpace> SystemSpaces(const std::optional<std::string>& value, bool windows7);

}  // namespace standin
