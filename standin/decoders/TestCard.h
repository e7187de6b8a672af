#pragma once
// The picture the test video decoder shows: colour bars whose order differs
// by pattern number (one per program), and a black box in the middle with a
// few lines of text (program, frame size, stream clock) in the built-in font.
// Plain 32-bit pixels, 0x00RRGGBB, so it is drawn and tested without the
// platform.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class TestCard {
 public:
  static constexpr int kBars = 7;
  static constexpr std::uint32_t kBoxColour = 0x000000;
  static constexpr std::uint32_t kTextColour = 0xFFFFFF;

  // `topRow` is the first pixel of the top row; `rowStep` the number of
  // pixels from one row to the row below it (negative for a bottom-up bitmap).
  static void Draw(std::uint32_t* topRow, int width, int height, std::ptrdiff_t rowStep,
                   int pattern, const std::vector<std::string>& lines);

  // The colour of bar `bar` (0 = leftmost) for `pattern`.
  static std::uint32_t BarColour(int pattern, int bar);

  // A 90 kHz stream time as H:MM:SS.ff (hundredths), for example "0:00:01.50".
  static std::string ClockText(std::uint64_t ticks90k);

  // The text's pixel scale for a picture of this size: as large as fits.
  static int TextScale(int width, int height, const std::vector<std::string>& lines);
};
