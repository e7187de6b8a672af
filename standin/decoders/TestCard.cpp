#include "standin/decoders/TestCard.h"

#include "standin/decoders/BitmapFont.h"

#include <algorithm>
#include <cstdio>

namespace {

// White, yellow, cyan, green, magenta, red, blue: the usual bars.
constexpr std::uint32_t kBarColours[TestCard::kBars] = {0xC0C0C0, 0xC0C000, 0x00C0C0, 0x00C000,
                                                       0xC000C0, 0xC00000, 0x0000C0};
// Lines of text are this many font rows apart (seven rows and a gap).
constexpr int kLinePitch = BitmapFont::kHeight + 3;
// Font pixels of black around the text.
constexpr int kMargin = 2;

void FillRect(std::uint32_t* topRow, std::ptrdiff_t rowStep, int left, int top, int right,
              int bottom, std::uint32_t colour) {
  for (int y = top; y < bottom; ++y) {
    std::uint32_t* row = topRow + rowStep * y;
    std::fill(row + left, row + right, colour);
  }
}

}  // namespace

std::uint32_t TestCard::BarColour(int pattern, int bar) {
  const int shift = ((pattern % kBars) + kBars) % kBars;
  return kBarColours[(bar + shift) % kBars];
}

std::string TestCard::ClockText(std::uint64_t ticks90k) {
  const std::uint64_t hundredths = ticks90k / 900;
  const std::uint64_t seconds = hundredths / 100;
  char text[40];
  std::snprintf(text, sizeof text, "%llu:%02llu:%02llu.%02llu",
                static_cast<unsigned long long>(seconds / 3600),
                static_cast<unsigned long long>(seconds / 60 % 60),
                static_cast<unsigned long long>(seconds % 60),
                static_cast<unsigned long long>(hundredths % 100));
  return text;
}

int TestCard::TextScale(int width, int height, const std::vector<std::string>& lines) {
  std::size_t longest = 0;
  for (const std::string& line : lines) longest = std::max(longest, line.size());
  const int boxColumns = static_cast<int>(longest) * BitmapFont::kAdvance + 2 * kMargin;
  const int boxRows = static_cast<int>(lines.size()) * kLinePitch + 2 * kMargin;
  // At most nine tenths of the width and half of the height.
  const int byWidth = width * 9 / 10 / std::max(boxColumns, 1);
  const int byHeight = height / 2 / std::max(boxRows, 1);
  return std::max(0, std::min(byWidth, byHeight));
}

void TestCard::Draw(std::uint32_t* topRow, int width, int height, std::ptrdiff_t rowStep,
                    int pattern, const std::vector<std::string>& lines) {
  if (topRow == nullptr || width <= 0 || height <= 0) return;

  // The bars: one row made once, copied down the picture.
  std::uint32_t* first = topRow;
  for (int x = 0; x < width; ++x) {
    first[x] = BarColour(pattern, static_cast<int>(static_cast<long long>(x) * kBars / width));
  }
  for (int y = 1; y < height; ++y) std::copy(first, first + width, topRow + rowStep * y);

  const int scale = TextScale(width, height, lines);
  if (scale == 0 || lines.empty()) return;  // too small for text: bars only
  std::size_t longest = 0;
  for (const std::string& line : lines) longest = std::max(longest, line.size());
  const int boxWidth = (static_cast<int>(longest) * BitmapFont::kAdvance + 2 * kMargin) * scale;
  const int boxHeight = (static_cast<int>(lines.size()) * kLinePitch + 2 * kMargin) * scale;
  const int boxLeft = (width - boxWidth) / 2;
  const int boxTop = (height - boxHeight) / 2;
  FillRect(topRow, rowStep, boxLeft, boxTop, boxLeft + boxWidth, boxTop + boxHeight,
           kBoxColour);

  for (std::size_t n = 0; n < lines.size(); ++n) {
    const std::string& line = lines[n];
    // Each line centred in the box.
    const int lineWidth = static_cast<int>(line.size()) * BitmapFont::kAdvance * scale;
    int x = boxLeft + (boxWidth - lineWidth) / 2;
    const int y = boxTop + (kMargin + static_cast<int>(n) * kLinePitch + 1) * scale;
    for (char c : line) {
      const auto glyph = BitmapFont::Glyph(c);
      for (int row = 0; row < BitmapFont::kHeight; ++row) {
        for (int column = 0; column < BitmapFont::kWidth; ++column) {
          if ((glyph[row] >> (BitmapFont::kWidth - 1 - column) & 1) == 0) continue;
          const int left = x + column * scale;
          const int top = y + row * scale;
          FillRect(topRow, rowStep, left, top, left + scale, top + scale, kTextColour);
        }
      }
      x += BitmapFont::kAdvance * scale;
    }
  }
}
