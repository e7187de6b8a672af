#pragma once
// The PES payloads of one PID of a transport-stream file, with their PTS, as
// a demultiplexer would deliver them.

#include <cstdint>
#include <string>
#include <vector>

struct ElementaryUnit {
  std::uint64_t pts = 0;  // 90 kHz
  bool hasPts = false;
  std::vector<std::uint8_t> bytes;
};

// Reads `path` and collects the units of `pid`; empty when the file cannot
// be read or carries nothing on the PID.
std::vector<ElementaryUnit> ReadElementaryUnits(const std::string& path, std::uint16_t pid);
