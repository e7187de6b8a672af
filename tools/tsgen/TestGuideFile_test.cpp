#include "TestGuideFile.h"

#include <gtest/gtest.h>

#include <sstream>
#include <utility>
#include <vector>

#include "core/testing/TestFolder.h"

namespace {

std::optional<TestGuide> Parse(const std::string& text, std::string& problem) {
  std::istringstream stream(text);
  return ParseGuide(stream, "guide.txt", problem);
}

}  // namespace

TEST(TestGuideFileTest, ReadsChannelsProgrammesRepeatsAndDescriptions) {
  const std::string text =
      "\xEF\xBB\xBF# The test guide\r\n"
      "\r\n"
      "CHANNEL 7 1\r\n"
      "AT 30 MINUTES 90  TITLE  The Long  Film  \r\n"
      "TEXT Two friends cross the desert.\r\n"
      "AT 0 MINUTES 30 TITLE Morning News\r\n"
      "CHANNEL 33 2\n"
      "AT 3 MINUTES 2 EVERY 3 TIMES 4 TITLE Quiz Bites\n"
      "TEXT\tThree questions.\n"
      "CHANNEL 7 1\n"
      "AT 120 MINUTES 60 TITLE \xE6\x97\xA5\xE6\x9C\xAC\n";
  std::string problem;
  const auto guide = Parse(text, problem);
  ASSERT_TRUE(guide) << problem;
  const TestGuide expected{{
      {7, 1,
       {{0, 30, "Morning News", "", 6},
        {30, 90, "The Long  Film", "Two friends cross the desert.", 4},
        {120, 60, "\xE6\x97\xA5\xE6\x9C\xAC", "", 11}}},
      {33, 2,
       {{3, 2, "Quiz Bites", "Three questions.", 8},
        {6, 2, "Quiz Bites", "Three questions.", 8},
        {9, 2, "Quiz Bites", "Three questions.", 8},
        {12, 2, "Quiz Bites", "Three questions.", 8}}},
  }};
  EXPECT_EQ(*guide, expected);

  TestFolder folder;
  const auto path = folder.Write("guide.txt", text);
  const auto read = ReadGuideFile(path.string(), problem);
  ASSERT_TRUE(read) << problem;
  EXPECT_EQ(*read, expected);
}

// Every bad line is refused with its number and what is wrong, never
// half taken.
TEST(TestGuideFileTest, BadLinesAreNamed) {
  const std::string channel = "CHANNEL 7 1\n";
  const std::vector<std::pair<std::string, std::string>> cases{
      {"PROGRAM 0 30 News\n", "guide.txt line 1: unknown line; expected CHANNEL, AT or TEXT"},
      {"AT 0 MINUTES 30 TITLE News\n", "guide.txt line 1: AT before any CHANNEL line"},
      {"CHANNEL 7\n", "guide.txt line 1: expected CHANNEL MAJOR MINOR (major 1-999, minor 0-999)"},
      {"CHANNEL 1000 1\n", "guide.txt line 1: expected CHANNEL MAJOR MINOR (major 1-999, minor 0-999)"},
      {"CHANNEL 7 1 WSVN\n", "guide.txt line 1: expected CHANNEL MAJOR MINOR (major 1-999, minor 0-999)"},
      {channel + "AT 0 MINUTES 0 TITLE News\n",
       "guide.txt line 2: expected AT START MINUTES LENGTH [EVERY PERIOD TIMES COUNT] TITLE title "
       "(START 0-20160, LENGTH 1-17476)"},
      {channel + "AT 20161 MINUTES 30 TITLE News\n",
       "guide.txt line 2: expected AT START MINUTES LENGTH [EVERY PERIOD TIMES COUNT] TITLE title "
       "(START 0-20160, LENGTH 1-17476)"},
      {channel + "AT -5 MINUTES 30 TITLE News\n",
       "guide.txt line 2: expected AT START MINUTES LENGTH [EVERY PERIOD TIMES COUNT] TITLE title "
       "(START 0-20160, LENGTH 1-17476)"},
      {channel + "AT 0 MINUTES 30 News\n",
       "guide.txt line 2: expected AT START MINUTES LENGTH [EVERY PERIOD TIMES COUNT] TITLE title"},
      {channel + "AT 0 MINUTES 30 TITLE\n", "guide.txt line 2: the title is missing"},
      {channel + "AT 0 MINUTES 30 TITLE " + std::string(81, 'x') + "\n",
       "guide.txt line 2: the title is longer than 80 characters"},
      {channel + "AT 0 MINUTES 30 TITLE caf\xE9\n", "guide.txt line 2: the title is not UTF-8 text"},
      {channel + "AT 0 MINUTES 3 EVERY 2 TIMES 5 TITLE Quiz\n",
       "guide.txt line 2: the showings repeat more often than the programme lasts"},
      {channel + "AT 0 MINUTES 3 EVERY 3 TIMES 0 TITLE Quiz\n",
       "guide.txt line 2: expected EVERY PERIOD TIMES COUNT (PERIOD 1-20160, COUNT 1-1000)"},
      {channel + "AT 20000 MINUTES 3 EVERY 100 TIMES 3 TITLE Quiz\n",
       "guide.txt line 2: the last showing starts after minute 20160"},
      {channel + "TEXT Orphan\n", "guide.txt line 2: TEXT must follow an AT line"},
      {channel + "AT 0 MINUTES 30 TITLE News\nCHANNEL 9 1\nTEXT Late\n",
       "guide.txt line 4: TEXT must follow an AT line"},
      {channel + "AT 0 MINUTES 30 TITLE News\nTEXT One\nTEXT Two\n",
       "guide.txt line 4: a second TEXT for one programme"},
      {channel + "AT 0 MINUTES 30 TITLE News\nTEXT " + std::string(1001, 'x') + "\n",
       "guide.txt line 3: the description is longer than 1000 characters"},
      {channel + "AT 0 MINUTES 30 TITLE News\nTEXT\n", "guide.txt line 3: the description is missing"},
      // Overlaps are found after the channel's lines are sorted, and named
      // by the later line.
      {channel + "AT 60 MINUTES 30 TITLE Late\n# between\nAT 0 MINUTES 61 TITLE Early\n",
       "guide.txt line 4: the programme at minute 0 overlaps the one at minute 60 of line 2 on channel 7-1"},
      {channel + "AT 0 MINUTES 2 EVERY 3 TIMES 10 TITLE Quiz\nAT 20 MINUTES 5 TITLE News\n",
       "guide.txt line 3: the programme at minute 20 overlaps the one at minute 21 of line 2 on channel 7-1"},
  };
  for (const auto& [text, message] : cases) {
    std::string problem;
    EXPECT_FALSE(Parse(text, problem)) << text;
    EXPECT_EQ(problem, message) << text;
  }

  std::string problem;
  EXPECT_TRUE(Parse(channel + "AT 0 MINUTES 30 TITLE News\nAT 30 MINUTES 30 TITLE Next\n", problem)) << problem;
  EXPECT_TRUE(Parse("", problem));  // a guide without programmes
}

TEST(TestGuideFileTest, AFileThatCannotBeReadIsNamed) {
  TestFolder folder;
  const std::string missing = (folder / "guide.txt").string();
  std::string problem;
  EXPECT_FALSE(ReadGuideFile(missing, problem));
  EXPECT_EQ(problem, "cannot read the guide file " + missing);
  EXPECT_FALSE(ReadGuideFile(folder.Path().string(), problem));
  EXPECT_EQ(problem, "cannot read the guide file " + folder.Path().string());

  const auto bad = folder.Write("bad.txt", "CHANNEL 7 1\nAT x MINUTES 30 TITLE News\n");
  EXPECT_FALSE(ReadGuideFile(bad.string(), problem));
  EXPECT_EQ(problem, bad.string() + " line 2: expected AT START MINUTES LENGTH [EVERY PERIOD TIMES COUNT] "
                                    "TITLE title (START 0-20160, LENGTH 1-17476)");
}
