#include "core/guide/SeriesRules.h"

#include <gtest/gtest.h>

#include "core/testing/TestFolder.h"

TEST(SeriesRulesTest, FileRoundTripKeepsRulesAndShowings) {
  TestFolder folder;
  SeriesRules rules;
  ASSERT_FALSE(rules.AddRule(7, 1, "News at Six"));
  ASSERT_FALSE(rules.AddRule(33, 2, "Late\tShow\n"));  // control characters become blanks
  EXPECT_EQ(rules.AddRule(7, 1, "News at Six"), "THIS SERIES IS ALREADY BEING RECORDED");
  EXPECT_EQ(rules.AddRule(7, 1, ""), "CAN'T ADD SERIES: THE PROGRAMME HAS NO TITLE");
  // A rule the reader would not take back is not made.
  EXPECT_EQ(rules.AddRule(10000, 1, "News"), "CAN'T ADD SERIES: IMPOSSIBLE CHANNEL NUMBER");
  EXPECT_EQ(rules.AddRule(7, 1, std::string(513, 'x')), "CAN'T ADD SERIES: THE TITLE IS TOO LONG");
  rules.RecordRefused(7, 1, "News at Six", 1748901600, "START TIME BETWEEN EXISTING TIME");
  rules.RecordHanded(7, 1, "News at Six", 1748815200);
  rules.RecordHanded(33, 2, "Late\tShow\n", 1748830000);  // the programme's own title finds its rule
  ASSERT_TRUE(rules.Save(folder / "series.txt"));
  EXPECT_EQ(folder.Read("series.txt"),
            "RULE 7 1 News at Six\n"
            "HANDED 1748815200\n"
            "REFUSED 1748901600 START TIME BETWEEN EXISTING TIME\n"
            "RULE 33 2 Late Show \n"
            "HANDED 1748830000\n");
  const LoadedSeries loaded = LoadSeries(folder / "series.txt");
  EXPECT_FALSE(loaded.notice);
  EXPECT_EQ(loaded.rules.Rules(), rules.Rules());
  EXPECT_TRUE(loaded.rules.Rules()[0].FindShowing(1748901600)->IsRefused());
  // A missing file is no rules, and no damage.
  const LoadedSeries none = LoadSeries(folder / "other.txt");
  EXPECT_TRUE(none.rules.Rules().empty());
  EXPECT_FALSE(none.notice);
}

TEST(SeriesRulesTest, DamagedFileKeepsItsReadableRulesAndACopy) {
  TestFolder folder;
  const std::string damaged =
      "HANDED 5\n"                     // before any rule
      "RULE 7 1 News\r\n"
      "HANDED 100\n"
      "HANDED 100\n"                   // repeated
      "HANDED -3\n"                    // no start
      "REFUSED 200\n"                  // no reason
      "REFUSED 300 END TIME BETWEEN EXISTING TIME\n"
      "RULE 99999 1 Too big\n"         // channel out of range: its showings go with it
      "HANDED 400\n"
      "garbage\n"
      "\n"
      "RULE 9 2 Film";
  folder.Write("series.txt", damaged);
  const LoadedSeries loaded = LoadSeries(folder / "series.txt");
  ASSERT_EQ(loaded.rules.Rules().size(), 2u);
  const SeriesRule& news = loaded.rules.Rules()[0];
  EXPECT_EQ(news.title, "News");
  ASSERT_EQ(news.showings.size(), 2u);
  EXPECT_EQ(news.showings[1].refusal, "END TIME BETWEEN EXISTING TIME");
  EXPECT_EQ(loaded.rules.Rules()[1].title, "Film");
  EXPECT_TRUE(loaded.writable);
  ASSERT_TRUE(loaded.notice);
  EXPECT_EQ(*loaded.notice,
            "SERIES.TXT IS DAMAGED (LINE 1: A SHOWING BEFORE ANY RULE, LEFT OUT, AND 5 MORE): "
            "IT IS KEPT AS SERIES.BAD AND ITS READABLE RULES ARE USED");
  EXPECT_EQ(folder.Read("series.bad"), damaged);
  // One problem per line left out, the rule's own showings with the rule.
  const auto problems = SeriesRules::Parse(damaged).problems;
  ASSERT_EQ(problems.size(), 6u);
  EXPECT_EQ(problems[1], "LINE 4: THE SHOWING IS THERE ALREADY, LEFT OUT");
  EXPECT_EQ(problems[4], "LINE 8: A RULE WITHOUT ITS CHANNEL OR TITLE, LEFT OUT");
}

TEST(SeriesRulesTest, OldShowingsAreDroppedAndRulesRemoved) {
  SeriesRules rules;
  ASSERT_FALSE(rules.AddRule(7, 1, "News"));
  const std::int64_t now = 1748815200;
  rules.RecordHanded(7, 1, "News", now - 24 * 3600 - 1);
  rules.RecordHanded(7, 1, "News", now - 24 * 3600);
  rules.RecordRefused(7, 1, "News", now + 60, "");  // a refusal without text still reads as one
  EXPECT_TRUE(rules.DropOldShowings(now));
  ASSERT_EQ(rules.Rules()[0].showings.size(), 2u);
  EXPECT_TRUE(rules.Rules()[0].showings[1].IsRefused());
  rules.Forget(7, 1, "News", now + 60);
  EXPECT_EQ(rules.Rules()[0].showings.size(), 1u);
  EXPECT_FALSE(rules.DropOldShowings(now));
  EXPECT_TRUE(rules.RemoveRule(0));
  EXPECT_FALSE(rules.RemoveRule(0));
  rules.RecordHanded(7, 1, "News", now);  // the rule is gone: nothing to record
  EXPECT_TRUE(rules.Rules().empty());
}
