#include "core/guide/GuideFile.h"

#include <string>

#include <gtest/gtest.h>

#include "core/testing/TestFolder.h"
#include "core/testing/UsEasternZone.h"

namespace {

const std::int64_t kNow = Utc(2025, 6, 1, 12, 0);

GuideProgramme Programme(int major, int minor, std::uint16_t id, std::int64_t start,
                         std::uint32_t length, std::string title, std::string description = "") {
  return {major, minor, id, start, length, std::move(title), std::move(description)};
}

}  // namespace

TEST(GuideFileTest, AwkwardTextsSurviveTheRoundTripInAKnownLayout) {
  TestFolder folder;
  const auto file = folder / "guide.txt";
  const std::vector<GuideProgramme> guide = {
      Programme(7, 1, 4097, kNow, 1800, "News\tat Six", "Line one\nline two\\end\r"),
      Programme(7, 1, 4098, kNow + 1800, 3600, "Café Müller – 東京", ""),
      Programme(33, 0, 65535, kNow + 600, 0, "", "Only a description"),
  };
  ASSERT_TRUE(WriteGuideFile(file, guide, kNow));

  // Sorted by channel and start; texts escaped, one line each.
  EXPECT_EQ(folder.Read("guide.txt"),
            "7\t1\t4097\t1748779200\t1800\tNews\\tat Six\tLine one\\nline two\\\\end\\r\n"
            "7\t1\t4098\t1748781000\t3600\tCafé Müller – 東京\t\n"
            "33\t0\t65535\t1748779800\t0\t\tOnly a description\n");
  const GuideFileContents read = ReadGuideFile(file);
  EXPECT_FALSE(read.damage);
  EXPECT_EQ(read.programmes, guide);

  // A missing file is an empty guide, not a damaged one.
  const GuideFileContents missing = ReadGuideFile(folder / "absent.txt");
  EXPECT_FALSE(missing.damage);
  EXPECT_TRUE(missing.programmes.empty());

  // Lines edited on Windows end in CR LF.
  folder.Write("crlf.txt", "7\t1\t5\t100\t60\tA\tB\r\n");
  EXPECT_EQ(ReadGuideFile(folder / "crlf.txt").programmes,
            (std::vector<GuideProgramme>{Programme(7, 1, 5, 100, 60, "A", "B")}));
}

TEST(GuideFileTest, WritingDropsWhatEndedMoreThanADayAgoAndShortensLongTexts) {
  TestFolder folder;
  const auto file = folder / "guide.txt";
  const std::int64_t dayAgo = kNow - 24 * 3600;
  std::string title(kMaxGuideTitleLength - 1, 'x');
  title += "é";  // two bytes that do not fit: cut before the character, not inside it
  const std::vector<GuideProgramme> guide = {
      Programme(7, 1, 1, dayAgo - 3600, 3599, "Gone"),       // ended one second too early
      Programme(7, 1, 2, dayAgo - 3600, 3600, "Kept"),       // ended exactly a day ago
      Programme(7, 1, 3, kNow, 60, title, std::string(5000, '\t')),
  };
  ASSERT_TRUE(WriteGuideFile(file, guide, kNow));

  const GuideFileContents read = ReadGuideFile(file);
  ASSERT_FALSE(read.damage) << *read.damage;
  ASSERT_EQ(read.programmes.size(), 2u);
  EXPECT_EQ(read.programmes[0].title, "Kept");
  EXPECT_EQ(read.programmes[1].title, std::string(kMaxGuideTitleLength - 1, 'x'));
  EXPECT_EQ(read.programmes[1].description, std::string(kMaxGuideDescriptionLength / 2, '\t'));
}

TEST(GuideFileTest, DamagedFileIsReportedAndKeptAsGuideBad) {
  const std::string good = "7\t1\t5\t1748779200\t1800\tNews\t\n";
  struct Case {
    const char* what;
    std::string content;
    const char* damage;
  };
  const std::vector<Case> cases = {
      {"a field missing", good + "7\t1\t6\t1748781000\t1800\tTitle\n", "line 2: 6 fields, 7 expected"},
      {"a field too many", good + good.substr(0, good.size() - 1) + "\tx\n", "line 2: more than 7 fields"},
      {"a negative number", "7\t-1\t5\t0\t0\tA\tB\n", "line 1: a number is missing or out of range"},
      {"an event id past 16 bits", "7\t1\t65536\t0\t0\tA\tB\n", "line 1: a number is missing or out of range"},
      {"text in a number", "7\t1\t5\t12ab\t0\tA\tB\n", "line 1: a number is missing or out of range"},
      {"an unknown escape", good + "7\t1\t5\t0\t0\tA\\q\tB\n", "line 2: unknown escape"},
      {"a trailing backslash", "7\t1\t5\t0\t0\tA\tB\\\n", "line 1: unknown escape"},
      {"an empty line", good + "\n" + good, "line 2: 1 fields, 7 expected"},
      {"an endless line", std::string(100000, 'y'), "line 1: longer than 4096 bytes"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestFolder folder;
    folder.Write("guide.txt", c.content);
    folder.Write("guide.bad", "an older damaged guide");

    const GuideFileContents read = ReadGuideFile(folder / "guide.txt");
    ASSERT_TRUE(read.damage);
    EXPECT_EQ(*read.damage, c.damage);
    EXPECT_TRUE(read.programmes.empty());

    const LoadedGuide loaded = LoadGuide(folder / "guide.txt");
    EXPECT_TRUE(loaded.programmes.empty());
    EXPECT_TRUE(loaded.writable);
    ASSERT_TRUE(loaded.notice);
    EXPECT_EQ(*loaded.notice, std::string("guide.txt is damaged (") + c.damage +
                                  "); it is kept as guide.bad and the guide starts empty");
    EXPECT_EQ(folder.Read("guide.bad"), c.content);  // the user's file, whole
    EXPECT_EQ(folder.Read("guide.txt"), "<missing>");
  }
}

TEST(GuideFileTest, MoreProgrammesThanTheLimitAreNeitherWrittenNorRead) {
  TestFolder folder;
  std::vector<GuideProgramme> guide;
  for (std::size_t i = 0; i < kMaxGuideProgrammes + 5; ++i)
    guide.push_back(Programme(7, 1, 1, kNow + static_cast<std::int64_t>(i) * 60, 60, "P"));
  ASSERT_TRUE(WriteGuideFile(folder / "guide.txt", guide, kNow));
  const GuideFileContents read = ReadGuideFile(folder / "guide.txt");
  ASSERT_EQ(read.programmes.size(), kMaxGuideProgrammes);
  EXPECT_EQ(read.programmes.back().startUtc, kNow + (kMaxGuideProgrammes - 1) * 60);  // the latest dropped

  std::string content = folder.Read("guide.txt");
  content += content.substr(0, content.find('\n') + 1);
  folder.Write("guide.txt", content);
  const GuideFileContents tooMany = ReadGuideFile(folder / "guide.txt");
  ASSERT_TRUE(tooMany.damage);
  EXPECT_EQ(*tooMany.damage, "line 20001: more than 20000 programmes");
}
