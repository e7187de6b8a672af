#include "standin/decoders/TestCard.h"

#include <gtest/gtest.h>

#include <set>

namespace {

constexpr std::uint32_t kGuard = 0xDEADBEEF;

// A picture with guard pixels before and after it.
struct Picture {
  Picture(int width, int height) : width(width), height(height),
        pixels(static_cast<std::size_t>(width) * height + 2 * kSpare, kGuard) {}
  std::uint32_t* Top() { return pixels.data() + kSpare; }
  std::uint32_t At(int x, int y) { return Top()[static_cast<std::size_t>(y) * width + x]; }
  bool GuardsIntact() const {
    for (std::size_t i = 0; i < kSpare; ++i) {
      if (pixels[i] != kGuard || pixels[pixels.size() - 1 - i] != kGuard) return false;
    }
    return true;
  }
  static constexpr std::size_t kSpare = 64;
  int width, height;
  std::vector<std::uint32_t> pixels;
};

const std::vector<std::string> kLines = {"7-1 PROGRAM 3", "1920 x 1080", "0:00:01.50"};

TEST(TestCard, BarsDifferByPatternAndTextSitsInABlackBox) {
  Picture one(640, 360), two(640, 360);
  TestCard::Draw(one.Top(), 640, 360, 640, 1, kLines);
  TestCard::Draw(two.Top(), 640, 360, 640, 2, kLines);
  EXPECT_TRUE(one.GuardsIntact());
  // The corners show the bars, not the same ones for two patterns.
  EXPECT_EQ(TestCard::BarColour(1, 0), one.At(0, 0));
  EXPECT_EQ(TestCard::BarColour(1, 6), one.At(639, 359));
  EXPECT_NE(one.At(0, 0), two.At(0, 0));

  // The middle holds black and white only: the box and its text.
  std::set<std::uint32_t> middle;
  for (int x = 200; x < 440; ++x) middle.insert(one.At(x, 180));
  EXPECT_TRUE(middle.count(TestCard::kBoxColour));
  EXPECT_TRUE(middle.count(TestCard::kTextColour));
  EXPECT_EQ(2u, middle.size());
}

TEST(TestCard, ADifferentClockChangesThePicture) {
  Picture a(320, 240), b(320, 240);
  TestCard::Draw(a.Top(), 320, 240, 320, 0, {"0:00:01.50"});
  TestCard::Draw(b.Top(), 320, 240, 320, 0, {"0:00:01.53"});
  EXPECT_NE(a.pixels, b.pixels);
}

TEST(TestCard, BottomUpRowsGiveTheSamePictureUpsideDownInMemory) {
  Picture topDown(200, 100), bottomUp(200, 100);
  TestCard::Draw(topDown.Top(), 200, 100, 200, 4, kLines);
  // A bottom-up bitmap: the top row is the last one in memory.
  TestCard::Draw(bottomUp.Top() + 99 * 200, 200, 100, -200, 4, kLines);
  EXPECT_TRUE(bottomUp.GuardsIntact());
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 200; ++x) ASSERT_EQ(topDown.At(x, y), bottomUp.At(x, 99 - y));
  }
}

TEST(TestCard, TinyOrOddPicturesStayInsideTheirPixels) {
  for (auto [w, h] : {std::pair{1, 1}, {7, 3}, {33, 9}, {1921, 1081}}) {
    Picture picture(w, h);
    TestCard::Draw(picture.Top(), w, h, w, 5, kLines);
    EXPECT_TRUE(picture.GuardsIntact()) << w << " x " << h;
  }
  EXPECT_EQ(0, TestCard::TextScale(7, 3, kLines));  // bars only
  Picture picture(4, 4);
  TestCard::Draw(picture.Top(), 0, 4, 4, 0, kLines);  // nothing to draw
  EXPECT_EQ(kGuard, picture.At(0, 0));
}

TEST(TestCard, ClockTextIsHoursMinutesSecondsAndHundredths) {
  EXPECT_EQ("0:00:00.00", TestCard::ClockText(0));
  EXPECT_EQ("0:00:01.50", TestCard::ClockText(135000));
  EXPECT_EQ("0:01:00.00", TestCard::ClockText(90000ull * 60));
  EXPECT_EQ("1:02:03.04", TestCard::ClockText(90000ull * 3723 + 3600));
  // The largest 33-bit time stamp: a little over 26 hours.
  EXPECT_EQ("26:30:43.71", TestCard::ClockText((1ull << 33) - 1));
}

}  // namespace
