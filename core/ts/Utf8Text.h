#pragma once

#include <span>
#include <string>

// Text of the broadcast tables made UTF-8, for the channel names and the
// guide's titles and descriptions alike.

// Shown for a unit that does not decode (a surrogate without its partner, a
// text mode this reader does not know).
inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// Appends the character `c` (at most U+10FFFF) to `out` in UTF-8.
void AppendUtf8(std::string& out, char32_t c);

// Appends UTF-16 units: a surrogate pair is one character, a surrogate
// without its partner becomes kReplacementCharacter, so the result is always
// valid UTF-8.
void AppendUtf16(std::string& out, std::span<const char16_t> units);
