// Key names of the driver's "key" command.
#pragma once

#include <optional>
#include <string>

namespace driver {

// The virtual-key code for a key given as one character ("Q", "q", "5",
// "+"), a name ("RETURN", "ESCAPE", "F1", "PAGEUP", ...) or a number
// ("0x26", "38"). Empty when the name is unknown.
std::optional<unsigned> ParseVirtualKey(const std::string& key);

}  // namespace driver
