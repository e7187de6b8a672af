#include "viewer/setup/ChannelListEdit.h"

#include <gtest/gtest.h>

#include "viewer/ViewerSession.h"

namespace {

std::vector<std::string> Numbers(const ChannelListEdit& list) {
  std::vector<std::string> cells;
  for (const ChannelEntry& c : list.Channels()) cells.push_back(c.name + " " + ChannelCellText(c));
  return cells;
}

}  // namespace

TEST(ChannelListEdit, AddsInSortedOrderAfterEqualEntries) {
  ChannelListEdit list({{"A", 4, 4, 1}, {"B", 7, 7, 1}, {"C", 9, 9, 1}});
  EXPECT_EQ(list.Add({"NEW", 7, 7, 2}), 2);
  EXPECT_EQ(list.Add({"SAME", 7, 7, 1}), 2);  // after the old 7-1
  EXPECT_EQ(list.Add({"LAST", 40, 40, 1}), 5);
  EXPECT_EQ(list.Add({"FIRST", 3, 3, -1}), 0);
  EXPECT_EQ(Numbers(list), (std::vector<std::string>{"FIRST 3-(-1)", "A 4-1", "B 7-1", "SAME 7-1",
                                                     "NEW 7-2", "C 9-1", "LAST 40-1"}));
}

TEST(ChannelListEdit, KeepsNamesOneWordAndRemovesAndUpdatesRows) {
  ChannelListEdit list({});
  EXPECT_EQ(list.Add({"  K  SEVEN\tHD ", 7, 7, 1}), 0);
  EXPECT_EQ(list.Add({"", 9, 9, 1}), 1);
  EXPECT_EQ(list.Channels()[0].name, "K_SEVEN_HD");
  EXPECT_EQ(list.Channels()[1].name, "-");

  // Editing 7-1 into 12-3 moves it to its sorted place.
  EXPECT_EQ(list.Update(0, {"CH12", 20, 12, 3}), 1);
  EXPECT_EQ(Numbers(list), (std::vector<std::string>{"- 9-1", "CH12 12-3"}));
  EXPECT_FALSE(list.Remove(-1));
  EXPECT_TRUE(list.Remove(0));
  EXPECT_TRUE(list.Remove(0));
  EXPECT_TRUE(list.Channels().empty());
}

TEST(ChannelListEdit, RefusesTheHundredAndFirstChannelButStillUpdatesAFullList) {
  ChannelListEdit list({});
  for (int i = 0; i < 100; ++i) ASSERT_TRUE(list.Add({"C", 30, 2 + i, 1})) << i;
  EXPECT_TRUE(list.IsFull());
  EXPECT_EQ(list.Add({"ONE_MORE", 30, 1, 1}), std::nullopt);
  EXPECT_EQ(list.Channels().size(), 100u);
  EXPECT_EQ(list.Channels().front().major, 2);
  EXPECT_EQ(list.Update(99, {"MOVED", 30, 1, 1}), 0);
  EXPECT_EQ(list.Channels().size(), 100u);
}

TEST(ChannelListEdit, UpdateRemovesTheRowAndAddsTheEntryAsAddDoes) {
  ChannelListEdit list({{"A", 4, 4, 1}, {"B", 7, 7, 1}, {"C", 7, 7, 2}, {"D", 9, 9, 1}});
  // 9-1 becomes 7-1 on another RF: after the 7-1 already there, as ADD puts it.
  EXPECT_EQ(list.Update(3, {"D  TWO", 8, 7, 1}), 2);
  EXPECT_EQ(Numbers(list), (std::vector<std::string>{"A 4-1", "B 7-1", "D_TWO 7-1", "C 7-2"}));

  // Another row's very numbers make a twin, as ADD allows; the row's own
  // numbers under a new name go after the rows equal to it as well.
  EXPECT_EQ(list.Update(0, {"X", 7, 7, 2}), 3);
  EXPECT_EQ(list.Update(0, {"BEE", 7, 7, 1}), 1);
  EXPECT_EQ(Numbers(list), (std::vector<std::string>{"D_TWO 7-1", "BEE 7-1", "C 7-2", "X 7-2"}));

  EXPECT_EQ(list.Update(4, {"X", 1, 1, 1}), std::nullopt);
  EXPECT_EQ(list.Update(-1, {"X", 1, 1, 1}), std::nullopt);
  EXPECT_EQ(list.Channels().size(), 4u);
}

// ADD accepts a second entry with the same numbers; either twin can still
// be renamed.
TEST(ChannelListEdit, TwinsAddedTwiceCanStillBeRenamed) {
  ChannelListEdit list({{"A", 7, 7, 1}});
  EXPECT_EQ(list.Add({"B", 7, 7, 1}), 1);
  EXPECT_EQ(list.Update(0, {"A2", 7, 7, 1}), 1);
  EXPECT_EQ(list.Update(0, {"B2", 7, 7, 1}), 1);
  EXPECT_EQ(Numbers(list), (std::vector<std::string>{"A2 7-1", "B2 7-1"}));
}

TEST(ChannelListEdit, SpinsCellsAndHints) {
  EXPECT_EQ(StepSubChannel(1, -1), -1);  // 0 is skipped both ways
  EXPECT_EQ(StepSubChannel(-1, 1), 1);
  EXPECT_EQ(StepSubChannel(-1, -1), -1);
  EXPECT_EQ(StepSubChannel(10, 1), 10);
  EXPECT_EQ(StepSubChannel(4, -1), 3);
  EXPECT_EQ(SuggestedChannelName(33), "CH33");

  const ChannelEntry plain{"K", 33, 7, 2};
  const ChannelEntry noMinor{"K", 33, 7, -1};
  EXPECT_EQ(ChannelCellText(plain), "7-2");
  EXPECT_EQ(ChannelCellText(noMinor), "7-(-1)");
  EXPECT_EQ(RfCellText(noMinor), "33");
  EXPECT_EQ(ChannelHintText(7, 2, 33), "7-2 / 33");
  EXPECT_EQ(ChannelHintText(7, -1, 33), "7-(-1) / 33");
  EXPECT_EQ(UpdateHintText(noMinor), "7-(-1) / 33 --->");
}

TEST(ChannelListEdit, FindsTheCurrentChannelAgainAfterEditing) {
  const std::vector<ChannelEntry> list{{"A", 4, 4, 1}, {"B", 7, 7, 1}, {"C", 7, 7, 2}, {"D", 9, 9, 1}};
  EXPECT_EQ(FindCurrentAfterEdit(list, {7, 7, 2}), 2);
  EXPECT_EQ(FindCurrentAfterEdit(list, {8, 7, 2}), 2);   // another RF: the last 7-x
  EXPECT_EQ(FindCurrentAfterEdit(list, {5, 5, 1}), 0);   // removed: the one before
  EXPECT_EQ(FindCurrentAfterEdit(list, {3, 3, 1}), -1);  // before the first
  EXPECT_EQ(FindCurrentAfterEdit(list, {50, 50, 1}), -1);
  EXPECT_EQ(FindCurrentAfterEdit({}, {-1, -1, -1}), -1);
}

// What OK hands the session: the edited list and the channel found current.
TEST(ChannelListEdit, TheSessionTakesTheEditedList) {
  StartupPlan plan;
  plan.model = 17;
  plan.channels = {{"A", 4, 4, 1}, {"B", 7, 7, 1}, {"C", 9, 9, 1}};
  plan.currentChannel = 2;
  ViewerSession session(plan);
  ASSERT_TRUE(session.GoTo(1, std::nullopt));  // previous 2, current 1

  ChannelListEdit edit(session.Channels());
  edit.Remove(2);
  edit.Add({"D", 2, 2, 1});
  session.ReplaceChannels(edit.Channels(), FindCurrentAfterEdit(edit.Channels(), {7, 7, 1}));
  EXPECT_EQ(session.CurrentIndex(), 2);
  EXPECT_EQ(session.PreviousIndex(), 2);
  EXPECT_EQ(session.CurrentChannel()->name, "B");

  // Nothing found: the first channel, as at start; the previous one left
  // the list.
  session.ReplaceChannels({{"A", 4, 4, 1}}, -1);
  EXPECT_EQ(session.CurrentIndex(), 0);
  EXPECT_EQ(session.PreviousIndex(), 0);
  EXPECT_EQ(session.Step(ChannelStep::Up, std::nullopt)->index, 0);

  session.ReplaceChannels({}, -1);
  EXPECT_FALSE(session.HasChannels());
  EXPECT_EQ(session.CurrentIndex(), 0);
  EXPECT_EQ(session.CurrentChannel(), nullptr);
}
