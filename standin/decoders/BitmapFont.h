#pragma once
// A 5 x 7 pixel font for the test card: digits, capital letters (small ones
// are drawn as capitals), blank and - : . / ( ). Anything else is drawn as a
// hollow box, so a wrong text is visible rather than silently missing.

#include <array>
#include <cstdint>

class BitmapFont {
 public:
  static constexpr int kWidth = 5;
  static constexpr int kHeight = 7;
  // Columns from one character's left edge to the next one's.
  static constexpr int kAdvance = kWidth + 1;

  // Seven rows, top first; bit 4 of a row is its leftmost pixel.
  static std::array<std::uint8_t, kHeight> Glyph(char c);
};
