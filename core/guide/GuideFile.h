#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/guide/GuideProgramme.h"

// guide.txt, in the program's folder: the programme guide that the viewer
// and the channel scan collect from the broadcast. One programme per line,
// seven fields separated by single tabs, the line ended by a line feed:
//
//   major  minor  event id  start  length  title  description
//
//   major, minor  the channel's numbers, 0 to 9999
//   event id      0 to 65535
//   start         seconds since 1970-01-01 00:00 UTC, 0 to the end of year 9999
//   length        seconds, 0 to 4294967295
//   title, description
//                 UTF-8 text (the description may be empty) in which a
//                 backslash is written "\\", a tab "\t", a line feed "\n"
//                 and a carriage return "\r"
//
// for example "7\t1\t4097\t1741563000\t1800\tNews at Six\tLocal news\n".
// Numbers are plain decimal digits. A carriage return before the line feed
// is ignored, so the file survives a round trip through a Windows editor.
// An empty file is an empty guide.
//
// Limits, so that a damaged file cannot exhaust memory: at most
// kMaxGuideProgrammes lines of at most kMaxGuideLineLength bytes. The writer
// keeps every line inside them by shortening a title to kMaxGuideTitleLength
// and a description to kMaxGuideDescriptionLength bytes as written (escapes
// included, never inside a UTF-8 character).
//
// A file that breaks any of these rules (a line that does not parse, too
// long, too many lines) is damaged as a whole: the reader says where, and
// LoadGuide keeps it aside as guide.bad so the guide starts empty again and
// the user's file is not lost.

inline constexpr std::size_t kMaxGuideProgrammes = 20000;
inline constexpr std::size_t kMaxGuideLineLength = 4096;
inline constexpr std::size_t kMaxGuideTitleLength = 512;
inline constexpr std::size_t kMaxGuideDescriptionLength = 2048;
inline constexpr int kMaxGuideChannelNumber = 9999;

// Programmes that ended more than this long before "now" are dropped when
// the guide is tidied or written.
inline constexpr std::int64_t kGuideKeepSeconds = 24 * 60 * 60;

struct GuideFileContents {
  std::vector<GuideProgramme> programmes;  // empty when damaged
  std::optional<std::string> damage;       // where and why the file is damaged, e.g. "line 3: unknown escape"
};

// Reads guide.txt. A missing file is an empty guide, not a damaged one; a
// file that exists but cannot be opened counts as damaged, so that it is set
// aside rather than overwritten.
GuideFileContents ReadGuideFile(const std::filesystem::path& file);

// Writes the guide atomically (a temporary file renamed over the old one),
// tidied first (see TidyGuide); a programme whose numbers lie outside the
// ranges above is left out. False when the file could not be written; the
// old one is then unchanged.
bool WriteGuideFile(const std::filesystem::path& file, std::vector<GuideProgramme> programmes,
                    std::int64_t nowUtc);

// Renames a damaged guide file to guide.bad in the same folder, replacing an
// older guide.bad. False when that fails.
bool SetDamagedGuideAside(const std::filesystem::path& file);

struct LoadedGuide {
  std::vector<GuideProgramme> programmes;
  std::optional<std::string> notice;  // for the log when the file was damaged
  bool writable = true;  // false when a damaged file could not be set aside: writing would lose it
};

// Reads guide.txt; a damaged file is set aside and the guide starts empty.
LoadedGuide LoadGuide(const std::filesystem::path& file);

// Drops the programmes that ended more than kGuideKeepSeconds before
// `nowUtc`, sorts the rest by channel, start and event id, and keeps at most
// kMaxGuideProgrammes of them (those that start last are dropped first).
void TidyGuide(std::vector<GuideProgramme>& programmes, std::int64_t nowUtc);
