#include "remote/PlayerRemote.h"

#include <gtest/gtest.h>

#include "core/testing/FakeDesktop.h"

TEST(PlayerRemoteTest, OnlyTheTsPlayerRunning) {
  FakeDesktop desktop;
  desktop.Open("Telvantis Play TS");
  desktop.Open("TelvantisPlayVideo");
  desktop.Open("Elsewhere");
  desktop.BringToFront("Elsewhere");
  PlayerRemote remote(desktop);

  EXPECT_FALSE(remote.IsInFocus());
  // The foreground window is not consulted for keys.
  EXPECT_TRUE(remote.HandleKey(38, 1));
  ASSERT_EQ(desktop.posted.size(), 1u);
  EXPECT_EQ(desktop.posted[0].first, "Telvantis Play TS");
  EXPECT_EQ(desktop.posted[0].second, RemoteMessage::Key('S'));
}

TEST(PlayerRemoteTest, BothPlayersRunningThePlainOneGetsTheKeys) {
  FakeDesktop desktop;
  desktop.Open("Telvantis Play TS");
  desktop.Open("Telvantis Play");
  desktop.Open("TelvantisPlayVideo");
  desktop.BringToFront("Telvantis Play TS");
  PlayerRemote remote(desktop);

  // Only the plain player's windows count as in front once it runs.
  EXPECT_FALSE(remote.IsInFocus());
  desktop.BringToFront("TelvantisPlayVideo");
  EXPECT_TRUE(remote.IsInFocus());
  desktop.BringToFront("Telvantis Play");
  EXPECT_TRUE(remote.IsInFocus());

  EXPECT_TRUE(remote.HandleKey(46, 1));
  ASSERT_EQ(desktop.posted.size(), 1u);
  EXPECT_EQ(desktop.posted[0].first, "Telvantis Play");
  EXPECT_EQ(desktop.posted[0].second, RemoteMessage::Command(0, 0));
}

TEST(PlayerRemoteTest, NoVideoWindowOrNoPlayerTakesNoKey) {
  FakeDesktop desktop;
  desktop.Open("Telvantis Play");
  desktop.BringToFront("Telvantis Play");
  PlayerRemote remote(desktop);
  EXPECT_TRUE(remote.IsInFocus());
  EXPECT_FALSE(remote.HandleKey(33, 1));

  FakeDesktop onlyVideo;
  onlyVideo.Open("TelvantisPlayVideo");
  onlyVideo.BringToFront("TelvantisPlayVideo");
  PlayerRemote orphan(onlyVideo);
  EXPECT_FALSE(orphan.IsInFocus());
  EXPECT_FALSE(orphan.HandleKey(33, 1));
  EXPECT_TRUE(desktop.posted.empty());
  EXPECT_TRUE(onlyVideo.posted.empty());
}

TEST(PlayerRemoteTest, NoForegroundWindowIsNotAMissingVideoWindow) {
  FakeDesktop desktop;
  desktop.Open("Telvantis Play");
  PlayerRemote remote(desktop);
  EXPECT_FALSE(remote.IsInFocus());
}

TEST(PlayerRemoteTest, HeldKeysAndUnknownCodes) {
  FakeDesktop desktop;
  desktop.Open("Telvantis Play");
  desktop.Open("TelvantisPlayVideo");
  PlayerRemote remote(desktop);
  EXPECT_FALSE(remote.HandleKey(27, 2));
  EXPECT_FALSE(remote.HandleKey(5, 1));
  EXPECT_TRUE(remote.HandleKey(26, 2));
  ASSERT_EQ(desktop.posted.size(), 1u);
  EXPECT_EQ(desktop.posted[0].second, RemoteMessage::Key('I'));
}
