#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The program association and program map tables of an MPEG-2 transport
// stream, as plain values that serialize to and parse from whole sections
// (table id to CRC).

inline constexpr std::uint8_t kPatTableId = 0x00;
inline constexpr std::uint8_t kPmtTableId = 0x02;
inline constexpr std::uint8_t kStreamTypeMpeg2Video = 0x02;
inline constexpr std::uint8_t kStreamTypeAc3Audio = 0x81;

struct PatEntry {
  std::uint16_t programNumber = 0;  // 0: the network information PID
  std::uint16_t pid = 0;            // PMT PID of the program

  friend bool operator==(const PatEntry&, const PatEntry&) = default;
};

struct PatTable {
  std::uint16_t transportStreamId = 1;
  std::uint8_t version = 0;
  std::vector<PatEntry> programs;

  friend bool operator==(const PatTable&, const PatTable&) = default;
};

struct PmtStream {
  std::uint8_t streamType = 0;
  std::uint16_t pid = 0;

  friend bool operator==(const PmtStream&, const PmtStream&) = default;
};

struct PmtTable {
  std::uint16_t programNumber = 1;
  std::uint8_t version = 0;
  std::uint16_t pcrPid = 0;
  std::vector<PmtStream> streams;

  // The PID of the first stream of the given type, if any.
  std::optional<std::uint16_t> FindStream(std::uint8_t streamType) const;

  friend bool operator==(const PmtTable&, const PmtTable&) = default;
};

std::vector<std::uint8_t> SerializePat(const PatTable& pat);
std::vector<std::uint8_t> SerializePmt(const PmtTable& pmt);

// Nothing when the section is truncated, has another table id, or fails its CRC.
std::optional<PatTable> ParsePat(std::span<const std::uint8_t> section);
std::optional<PmtTable> ParsePmt(std::span<const std::uint8_t> section);

// Length of the whole section that starts at `data` (3 header bytes plus the
// section length), or nothing when fewer than 3 bytes are there.
std::optional<std::size_t> SectionLength(std::span<const std::uint8_t> data);
