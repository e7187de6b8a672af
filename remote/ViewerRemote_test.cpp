#include "remote/ViewerRemote.h"

#include <gtest/gtest.h>

#include "core/testing/FakeDesktop.h"

TEST(ViewerRemoteTest, SearchesTheSeventeenSuffixesInCatalogueOrder) {
  const std::vector<std::string> expected = {
      "HDTV Wonder",      "FusionHDTV",        "FusionHDTV USB",       "AVerTVHD A180",
      "VBox TV Tuner",    "KWorld ATSC 110",   "OnAir HDTV GT",        "FujiPlus USB",
      "Artec T14A USB",   "KWorld ATSC 310U",  "ATI TV Wonder 650",    "WinTV HVR950",
      "PCTV HD Pro",      "Geniatech U6010A USB", "WinTV HVR1600",     "ADS Instant HDTV",
      "Hauppauge WinTV 885"};
  EXPECT_EQ(ViewerRemote::TitleSuffixes(), expected);
  ASSERT_EQ(ViewerRemote::PanelTitles().size(), expected.size());
  ASSERT_EQ(ViewerRemote::VideoTitles().size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(ViewerRemote::PanelTitles()[i], "Telvantis- " + expected[i]);
    EXPECT_EQ(ViewerRemote::VideoTitles()[i], "Telvantis Video- " + expected[i]);
    EXPECT_LT(ViewerRemote::VideoTitles()[i].size(), 50u);
  }
}

TEST(ViewerRemoteTest, KeyFromTheVideoWindowGoesToItsPanel) {
  FakeDesktop desktop;
  desktop.Open("Telvantis- KWorld ATSC 110");
  desktop.Open("Telvantis Video- KWorld ATSC 110");
  desktop.Open("Telvantis- HDTV Wonder");  // another viewer, behind
  desktop.BringToFront("Telvantis Video- KWorld ATSC 110");
  ViewerRemote remote(desktop);

  EXPECT_TRUE(remote.IsInFocus());
  EXPECT_TRUE(remote.HandleKey(33, 1));
  ASSERT_EQ(desktop.posted.size(), 1u);
  EXPECT_EQ(desktop.posted[0].first, "Telvantis- KWorld ATSC 110");
  EXPECT_EQ(desktop.posted[0].second, RemoteMessage::Key('D'));
}

TEST(ViewerRemoteTest, KeyGoesToThePanelInFront) {
  FakeDesktop desktop;
  desktop.Open("Telvantis- HDTV Wonder");
  desktop.Open("Telvantis- Hauppauge WinTV 885");
  desktop.BringToFront("Telvantis- Hauppauge WinTV 885");
  ViewerRemote remote(desktop);

  EXPECT_TRUE(remote.HandleKey(7, 1));
  EXPECT_TRUE(remote.HandleKey(23, 1));
  ASSERT_EQ(desktop.posted.size(), 2u);
  EXPECT_EQ(desktop.posted[0].first, "Telvantis- Hauppauge WinTV 885");
  EXPECT_EQ(desktop.posted[0].second, RemoteMessage::Command(7, 0));
  EXPECT_EQ(desktop.posted[1].second, RemoteMessage::Command(0, 1));
}

TEST(ViewerRemoteTest, NothingHappensWhenNoViewerIsInFront) {
  FakeDesktop desktop;
  desktop.Open("Telvantis- KWorld ATSC 110");
  desktop.Open("Telvantis Video- KWorld ATSC 110");
  desktop.Open("Some Other Program");
  desktop.BringToFront("Some Other Program");
  ViewerRemote remote(desktop);
  EXPECT_FALSE(remote.IsInFocus());
  EXPECT_FALSE(remote.HandleKey(33, 1));

  // No viewer at all, and no foreground window either: not a match of two
  // missing windows.
  FakeDesktop empty;
  ViewerRemote none(empty);
  EXPECT_FALSE(none.IsInFocus());
  EXPECT_FALSE(none.HandleKey(33, 1));
  EXPECT_TRUE(desktop.posted.empty());
  EXPECT_TRUE(empty.posted.empty());
}

TEST(ViewerRemoteTest, VideoWindowWithoutItsPanelTakesNoKey) {
  FakeDesktop desktop;
  desktop.Open("Telvantis Video- FusionHDTV");
  desktop.BringToFront("Telvantis Video- FusionHDTV");
  ViewerRemote remote(desktop);
  EXPECT_TRUE(remote.IsInFocus());
  EXPECT_FALSE(remote.HandleKey(33, 1));
  EXPECT_TRUE(desktop.posted.empty());
}

TEST(ViewerRemoteTest, UnknownCodesRepeatsAndFailedPostsReturnFalse) {
  FakeDesktop desktop;
  desktop.Open("Telvantis- WinTV HVR950");
  desktop.BringToFront("Telvantis- WinTV HVR950");
  ViewerRemote remote(desktop);
  EXPECT_FALSE(remote.HandleKey(27, 2));
  EXPECT_FALSE(remote.HandleKey(99, 1));
  EXPECT_TRUE(remote.HandleKey(25, 2));
  ASSERT_EQ(desktop.posted.size(), 1u);
  EXPECT_EQ(desktop.posted[0].second, RemoteMessage::Key('R'));

  desktop.RefusePosts();
  EXPECT_FALSE(remote.HandleKey(25, 1));
}
