#include "player/PlayerTimers.h"

#include <gtest/gtest.h>

TEST(PlayerTimersTest, SizeProbeFitsSevenTimesThenFollowsSizeChanges) {
  SizeProbe probe;
  probe.Start();
  // The decoder tells its size late: the first seven ticks always fit.
  for (int tick = 1; tick <= 7; ++tick) {
    EXPECT_TRUE(probe.Tick(tick < 4 ? Size{0, 0} : Size{1280, 720})) << tick;
  }
  EXPECT_FALSE(probe.Tick({1280, 720}));
  EXPECT_FALSE(probe.Tick({1280, 720}));
  // A new sequence a minute in: the picture and the read-out follow.
  EXPECT_TRUE(probe.Tick({1920, 1080}));
  EXPECT_FALSE(probe.Tick({1920, 1080}));
  // Played again from the stop: seven fitting ticks again.
  probe.Start();
  EXPECT_TRUE(probe.Tick({1920, 1080}));
}

TEST(PlayerTimersTest, PausedPlayerKeepsPlayAtAnyPosition) {
  EXPECT_EQ(PositionEventOf(0, true), PositionEvent::None);
  EXPECT_EQ(PositionEventOf(0, false), PositionEvent::AtStart);
  EXPECT_EQ(PositionEventOf(-3, false), PositionEvent::AtStart);
  EXPECT_EQ(PositionEventOf(1, false), PositionEvent::None);
  EXPECT_EQ(PositionEventOf(999, true), PositionEvent::None);
  EXPECT_EQ(PositionEventOf(1000, false), PositionEvent::EndReached);
  EXPECT_EQ(PositionEventOf(1000, true), PositionEvent::EndReached);
  // Played out with the slider short of its end (the last picture starts
  // a fraction of a second before the length).
  EXPECT_EQ(PositionEventOf(966, false, true), PositionEvent::EndReached);
}
