#include "ChannelOption.h"

#include <gtest/gtest.h>

namespace {

std::optional<TestChannel> Parse(std::string_view value, std::string* problemOut = nullptr) {
  std::string problem;
  auto channel = ParseChannelOption(value, problem);
  EXPECT_EQ(channel.has_value(), problem.empty()) << value;
  if (problemOut) *problemOut = problem;
  return channel;
}

}  // namespace

TEST(ChannelOptionTest, ReadsNumbersNameAndHiddenFlag) {
  EXPECT_EQ(Parse("7:1:1"), (TestChannel{7, 1, 1, "", false}));
  EXPECT_EQ(Parse("7:2:2:WSVN HD"), (TestChannel{7, 2, 2, "WSVN HD", false}));
  EXPECT_EQ(Parse("33:4:4:WTTT4:hidden"), (TestChannel{33, 4, 4, "WTTT4", true}));
  EXPECT_EQ(Parse("33:4:4::hidden"), (TestChannel{33, 4, 4, "", true}));
  EXPECT_EQ(Parse("33:0:65535:hidden"), (TestChannel{33, 0, 65535, "hidden", false}));
  EXPECT_EQ(Parse("9:1:1:A:B"), (TestChannel{9, 1, 1, "A:B", false}));
  EXPECT_EQ(Parse("9:1:1:caf\xC3\xA9"), (TestChannel{9, 1, 1, "caf\xC3\xA9", false}));
}

TEST(ChannelOptionTest, RefusesBadNumbersAndNamesThatCannotBeSent) {
  std::string problem;
  EXPECT_FALSE(Parse("7:1:1:WSVN HD2", &problem));
  EXPECT_EQ(problem, "the short name \"WSVN HD2\" of --channel 7:1:1:WSVN HD2 is longer than 7 characters");
  EXPECT_FALSE(Parse("7:1:1:\xE9t\xE9", &problem));
  EXPECT_EQ(problem, "the short name of --channel 7:1:1:\xE9t\xE9 is not UTF-8 text");
  EXPECT_FALSE(Parse("7:x:1", &problem));
  EXPECT_EQ(problem,
            "bad --channel 7:x:1: expected MAJOR:MINOR:PROGRAM[:NAME[:hidden]] (major 1-999, "
            "minor 0-999, program 1-65535)");
  for (const char* bad : {"", "7", "7:1", "0:1:1", "1000:1:1", "7:1000:1", "7:1:0", "7:1:65536",
                          "7:-1:1", "7:1:1x", " 7:1:1"}) {
    EXPECT_FALSE(Parse(bad)) << bad;
  }
}
