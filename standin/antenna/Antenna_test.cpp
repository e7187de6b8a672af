#include "standin/antenna/Antenna.h"

#include <gtest/gtest.h>

namespace standin {
namespace {

constexpr char kDefaultAntenna[] =
    "# the default antenna\r\n"
    "RF 7 SIGNAL 80 FILE rf7.ts\r\n"
    "CHANNEL 7 1 PROGRAM 1\r\n"
    "channel 7 2 program 2\r\n"
    "\r\n"
    "RF 33 SIGNAL -4500 FILE streams/rf 33.ts\n"
    "  CHANNEL 33 1 PROGRAM 3\n"
    "CHANNEL 33 2 PROGRAM 1";  // no line end at the end

TEST(AntennaTest, ReadsRfChannelsTheirChannelsAndFileNamesWithBlanks) {
  std::vector<std::string> errors;
  const Antenna antenna = Antenna::Parse(kDefaultAntenna, errors);
  EXPECT_TRUE(errors.empty());
  ASSERT_EQ(2u, antenna.RfChannels().size());
  const AntennaRf& rf33 = antenna.RfChannels()[1];
  EXPECT_EQ(33, rf33.physical);
  EXPECT_EQ(-4500, rf33.signal);
  EXPECT_EQ("streams/rf 33.ts", rf33.file);
  ASSERT_EQ(2u, rf33.channels.size());
  EXPECT_EQ(3, rf33.channels[0].programNumber);
  EXPECT_EQ(2, antenna.RfChannels()[0].channels.size());
}

TEST(AntennaTest, TunesByMajorMinorOrTheFirstProgramForMajorMinusOne) {
  std::vector<std::string> errors;
  const Antenna antenna = Antenna::Parse(kDefaultAntenna, errors);

  const AntennaTuning second = antenna.Tune(7, 7, 2);
  EXPECT_TRUE(second.carried);
  EXPECT_EQ(80, second.signal);
  EXPECT_EQ("rf7.ts", second.file);
  EXPECT_EQ(2, second.programNumber);

  // Channel -1 (a minor below 2): the RF channel's first listed program.
  EXPECT_EQ(3, antenna.Tune(33, -1, 1).programNumber);
  EXPECT_EQ(1, antenna.Tune(7, -1, -1).programNumber);

  // A major-minor that the RF channel does not list: the stream still comes,
  // but no program is selected.
  const AntennaTuning unlisted = antenna.Tune(7, 9, 1);
  EXPECT_TRUE(unlisted.carried);
  EXPECT_EQ(0, unlisted.programNumber);

  // An RF channel the antenna does not receive: nothing, signal 0.
  const AntennaTuning none = antenna.Tune(9, 9, 1);
  EXPECT_FALSE(none.carried);
  EXPECT_EQ(0, none.signal);
  EXPECT_TRUE(none.file.empty());
}

TEST(AntennaTest, ReportsBadLinesByNumberAndKeepsTheRest) {
  std::vector<std::string> errors;
  const Antenna antenna = Antenna::Parse(
      "CHANNEL 5 1 PROGRAM 1\n"           // 1: before any RF line
      "RF 7 SIGNAL 80\n"                  // 2: no file
      "CHANNEL 7 1 PROGRAM 1\n"           // 3: belongs to the rejected RF line
      "RF 9 SIGNAL strong FILE a.ts\n"    // 4: signal not a number
      "RF 0 SIGNAL 1 FILE a.ts\n"         // 5: physical out of range
      "RF 9 SIGNAL 60 FILE rf9.ts\n"      // 6: good
      "CHANNEL 9 1 PROGRAM 70000\n"       // 7: program out of range
      "CHANNEL 9 1 PROGRAM 1 extra\n"     // 8: trailing words
      "CHANNEL 9 1 PROGRAM 1\n"           // 9: good
      "CHANNEL 9 1 PROGRAM 2\n"           // 10: the same channel again
      "RF 9 SIGNAL 10 FILE other.ts\n"    // 11: the same RF again
      "CHANNEL 9 2 PROGRAM 2\n"           // 12: belongs to the ignored RF line
      "TUNER 9\n"                         // 13: unknown
      "RF 12345678901234567890 SIGNAL 1 FILE x.ts\n",  // 14: overflows
      errors);
  ASSERT_EQ(12u, errors.size());
  EXPECT_EQ("line 1: CHANNEL without a valid RF line before it", errors[0]);
  EXPECT_EQ("line 2: expected RF <1-999> SIGNAL <number> FILE <name>", errors[1]);
  EXPECT_EQ("line 3: CHANNEL without a valid RF line before it", errors[2]);
  EXPECT_EQ("line 10: channel 9-1 is already listed; this line is ignored", errors[7]);
  EXPECT_EQ("line 11: RF 9 is already listed; this line is ignored", errors[8]);
  EXPECT_EQ("line 12: CHANNEL without a valid RF line before it", errors[9]);
  EXPECT_EQ("line 13: unknown statement \"TUNER\" (expected RF or CHANNEL)", errors[10]);
  EXPECT_EQ(0u, errors[11].find("line 14: "));

  ASSERT_EQ(1u, antenna.RfChannels().size());
  const AntennaTuning tuned = antenna.Tune(9, 9, 1);
  EXPECT_EQ(60, tuned.signal);
  EXPECT_EQ("rf9.ts", tuned.file);
  EXPECT_EQ(1, tuned.programNumber);
  EXPECT_EQ(0, antenna.Tune(9, 9, 2).programNumber);
}

TEST(AntennaTest, ChannelNamesAreOptionalMayHoldBlanksAndHaveAtMostSevenCharacters) {
  std::vector<std::string> errors;
  const Antenna antenna = Antenna::Parse(
      "RF 7 SIGNAL 80 FILE rf7.ts\n"
      "CHANNEL 7 1 PROGRAM 1 NAME WSVN\n"              // 2
      "CHANNEL 7 2 PROGRAM 2 name   WSVN HD \r\n"     // 3: blanks around and inside
      "CHANNEL 7 3 PROGRAM 3\n"                        // 4: no name
      "CHANNEL 7 4 PROGRAM 4 NAME WSVN HD2\n"          // 5: eight characters
      "CHANNEL 7 5 PROGRAM 5 NAME\n"                   // 6: NAME without a name
      "CHANNEL 7 6 PROGRAM 6 TITLE WSVN\n"             // 7: not NAME
      "CHANNEL 7 7 PROGRAM 7 NAME \xC3\xA9t\xC3\xA9 \xF0\x9F\x93\xBA\n"  // 8: six characters, the last of two units
      "CHANNEL 7 8 PROGRAM 8 NAME \xF0\x9F\x93\xBA\xF0\x9F\x93\xBA\xF0\x9F\x93\xBA\xF0\x9F\x93\xBA\n",  // 9: eight units
      errors);
  ASSERT_EQ(4u, errors.size());
  EXPECT_EQ("line 5: the name \"WSVN HD2\" is longer than 7 characters", errors[0]);
  EXPECT_EQ("line 6: expected CHANNEL <major> <minor> PROGRAM <1-65535> [NAME <short name>]",
            errors[1]);
  EXPECT_EQ("line 7: expected CHANNEL <major> <minor> PROGRAM <1-65535> [NAME <short name>]",
            errors[2]);
  EXPECT_EQ(0u, errors[3].find("line 9: the name "));

  ASSERT_EQ(1u, antenna.RfChannels().size());
  const auto& channels = antenna.RfChannels()[0].channels;
  ASSERT_EQ(4u, channels.size());
  EXPECT_EQ("WSVN", channels[0].shortName);
  EXPECT_EQ("WSVN HD", channels[1].shortName);
  EXPECT_EQ(2, channels[1].programNumber);
  EXPECT_EQ("", channels[2].shortName);
  EXPECT_EQ(3, channels[2].programNumber);
  EXPECT_EQ("\xC3\xA9t\xC3\xA9 \xF0\x9F\x93\xBA", channels[3].shortName);
}

TEST(AntennaTest, EmptyAndOverLongInputGiveNoChannelsAndNoCrash) {
  std::vector<std::string> errors;
  EXPECT_TRUE(Antenna::Parse("", errors).RfChannels().empty());
  EXPECT_TRUE(errors.empty());
  const std::string longLine = "RF 7 SIGNAL 1 FILE " + std::string(10000, 'a') + "\nRF 8 SIGNAL 2 FILE b.ts\n";
  const Antenna antenna = Antenna::Parse(longLine, errors);
  ASSERT_EQ(1u, errors.size());
  EXPECT_EQ("line 1: line too long", errors[0]);
  EXPECT_TRUE(antenna.Tune(8, -1, 0).carried);
}

TEST(AntennaTest, RelativeFilesAreResolvedAgainstTheAntennaFolder) {
  EXPECT_EQ("C:\\tv\\rf7.ts", ResolveRelativeTo("C:\\tv\\antenna.txt", "rf7.ts"));
  EXPECT_EQ("/srv/tv/sub/rf7.ts", ResolveRelativeTo("/srv/tv/antenna.txt", "sub/rf7.ts"));
  EXPECT_EQ("D:\\other.ts", ResolveRelativeTo("C:\\tv\\antenna.txt", "D:\\other.ts"));
  EXPECT_EQ("\\\\server\\tv\\a.ts", ResolveRelativeTo("C:\\tv\\antenna.txt", "\\\\server\\tv\\a.ts"));
  EXPECT_EQ("rf7.ts", ResolveRelativeTo("antenna.txt", "rf7.ts"));

  std::vector<std::string> errors;
  Antenna antenna = Antenna::Parse("RF 7 SIGNAL 80 FILE rf7.ts\n", errors);
  antenna.ResolveFiles("Z:\\work\\antenna.txt");
  EXPECT_EQ("Z:\\work\\rf7.ts", antenna.Tune(7, -1, 0).file);
}

}  // namespace
}  // namespace standin
