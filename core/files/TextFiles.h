#pragma once

#include <cstddef>
#include <filesystem>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Plain-text file helpers shared by every reader and writer of the suite's
// small text files.

// Replaces the file with `content`: writes a temporary file beside it and
// renames it over the old one, so a crash never leaves half a file. A file
// that another program is reading is replaced once the reader lets it go (up
// to two seconds). Returns false (and leaves the old file as it was) when
// anything fails.
bool WriteFileAtomically(const std::filesystem::path& file, std::string_view content);

// Deletes the file; a file that is already absent is no error.
bool RemoveFileIfPresent(const std::filesystem::path& file);

// The whole file, or nothing when it cannot be opened.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& file);

// Reads one line the way a fixed buffer of `bufferSize` characters holds it:
// at most bufferSize - 1 characters are kept, the rest of the line and its
// line end are consumed, so the next call starts on the next line. A carriage
// return before the line feed is dropped. Returns nothing at end of file.
std::optional<std::string> ReadLimitedLine(std::istream& in, std::size_t bufferSize = 100);

// Reads whole numbers separated by any white space, at most maxCount of
// them, stopping at the end of the input or at the first token that is not a
// number (stray text): the numbers before it are kept.
std::vector<int> ReadIntegers(std::istream& in, std::size_t maxCount);

// Appends `text` to the file, creating it when missing.
bool AppendToFile(const std::filesystem::path& file, std::string_view text);
