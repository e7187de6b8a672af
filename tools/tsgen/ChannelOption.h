#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "TestStreamMuxer.h"

// Reads the value of tsgen's --channel option:
//
//   MAJOR:MINOR:PROGRAM[:NAME[:hidden]]
//
// MAJOR 1 to 999, MINOR 0 to 999, PROGRAM 1 to 65535 (decimal). NAME is the
// short name, UTF-8, up to seven UTF-16 characters; it may hold blanks and
// colons, and may be empty ("33:4:4::hidden" is an unnamed hidden channel).
// A value ending in ":hidden" marks the channel hidden.
//
// Nothing when the value is bad; `problem` then says why.
std::optional<TestChannel> ParseChannelOption(std::string_view value, std::string& problem);
