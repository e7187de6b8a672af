#include "viewer/ChannelDigits.h"

#include <gtest/gtest.h>

#include <vector>

#include "viewer/ViewerSession.h"

namespace {

// Types the digits, then ticks until the entry ends; the captions shown
// along the way go to `captions`.
std::optional<TypedChannelNumber> Type(std::initializer_list<int> digits,
                                       std::vector<std::string>* captions = nullptr) {
  ChannelDigits entry;
  for (int d : digits) {
    const std::optional<std::string> caption = entry.Press(d);
    if (captions != nullptr && caption) captions->push_back(*caption);
  }
  for (int tick = 1; tick < ChannelDigits::kTicksToEnd; ++tick) {
    if (entry.Tick()) return TypedChannelNumber{-99, std::nullopt};  // ended too soon
  }
  std::optional<TypedChannelNumber> typed = entry.Tick();
  EXPECT_TRUE(entry.IsIdle());
  return typed;
}

}  // namespace

TEST(ChannelDigitsTest, CaptionsAndNumbersOfOneTwoAndThreeDigits) {
  std::vector<std::string> captions;
  EXPECT_EQ(Type({5}, &captions), (TypedChannelNumber{5, std::nullopt}));
  EXPECT_EQ(Type({5, 1}, &captions), (TypedChannelNumber{51, std::nullopt}));
  EXPECT_EQ(Type({5, 1, 2}, &captions), (TypedChannelNumber{51, 2}));
  EXPECT_EQ(Type({0, 5, 2}, &captions), (TypedChannelNumber{5, 2}));
  // A fourth digit is ignored.
  EXPECT_EQ(Type({5, 1, 2, 7}, &captions), (TypedChannelNumber{51, 2}));
  EXPECT_EQ(captions, (std::vector<std::string>{"5", "5", "51", "5", "51", "51-2", "0", "05",
                                                "05-2", "5", "51", "51-2"}));
}

TEST(ChannelDigitsTest, TheEntryEndsOnTheEighthTickAfterItsFirstDigit) {
  ChannelDigits entry;
  EXPECT_FALSE(entry.Tick());  // nothing typed: no entry
  entry.Press(5);
  for (int tick = 1; tick < 7; ++tick) EXPECT_FALSE(entry.Tick());
  entry.Press(1);  // a later digit does not restart the count
  EXPECT_FALSE(entry.Tick());
  EXPECT_EQ(entry.Tick(), (TypedChannelNumber{51, std::nullopt}));
  EXPECT_FALSE(entry.Press(12));
  // The next digit starts a fresh entry.
  EXPECT_EQ(entry.Press(7), "7");
}

// A value from the remote that is no digit begins no entry, so it takes
// nothing over from the caption on screen; only a real digit begins one,
// and later digits carry on with it.
TEST(ChannelDigitsTest, OnlyARealDigitBeginsAnEntry) {
  ChannelDigits entry;
  EXPECT_FALSE(entry.StartsEntry(12));
  EXPECT_FALSE(entry.StartsEntry(-1));
  EXPECT_FALSE(entry.Press(12));
  EXPECT_TRUE(entry.IsIdle());
  EXPECT_FALSE(entry.Tick());
  EXPECT_TRUE(entry.StartsEntry(5));
  EXPECT_EQ(entry.Press(5), "5");
  EXPECT_FALSE(entry.StartsEntry(1));
  EXPECT_FALSE(entry.StartsEntry(12));
}

TEST(ChannelDigitsTest, TypedNumbersFindTheirChannel) {
  StartupPlan plan;
  plan.channels = {{"WAAA", 7, 10, 1}, {"WBBB", 30, 51, 1}, {"WCCC", 30, 51, -2}};
  ViewerSession session(plan);
  auto find = [&](std::initializer_list<int> digits) {
    const std::optional<TypedChannelNumber> typed = Type(digits);
    return session.FindByNumber(typed->major, typed->minor);
  };
  EXPECT_EQ(find({5, 1}), 1);
  EXPECT_EQ(find({5, 1, 2}), 2);  // kept as -2
  EXPECT_EQ(find({1, 0}), 0);
  EXPECT_EQ(find({5, 1, 3}), std::nullopt);
  EXPECT_EQ(find({9}), std::nullopt);
}
