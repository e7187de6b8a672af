#include "viewer/RecordMenu.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Texts(const std::vector<RecordChoice>& choices) {
  std::vector<std::string> texts;
  for (const RecordChoice& c : choices) texts.push_back(c.text);
  return texts;
}

std::vector<int> Minutes(const std::vector<RecordChoice>& choices) {
  std::vector<int> minutes;
  for (const RecordChoice& c : choices) minutes.push_back(c.minutes);
  return minutes;
}

}  // namespace

TEST(RecordMenuTest, RecordUntilOffersTheNextFiveHalfHours) {
  const auto at1045 = RecordUntilChoices(10, 45);
  EXPECT_EQ(Texts(at1045), (std::vector<std::string>{"   11:00 AM", "   11:30 AM", "   12:00 PM",
                                                     "   12:30 PM", "   1:00 PM"}));
  EXPECT_EQ(Minutes(at1045), (std::vector<int>{15, 45, 75, 105, 135}));
  // Round midnight the hour 0 shows as 12 AM.
  EXPECT_EQ(Texts(RecordUntilChoices(23, 0)),
            (std::vector<std::string>{"   12:00 AM", "   12:30 AM", "   1:00 AM", "   1:30 AM",
                                      "   2:00 AM"}));
  EXPECT_EQ(Minutes(RecordUntilChoices(23, 0)).front(), 60);
  EXPECT_EQ(Minutes(RecordForChoices()), (std::vector<int>{30, 60, 90, 120}));
  EXPECT_EQ(Texts(RecordForChoices()).front(), "   1/2 HOUR");
}
