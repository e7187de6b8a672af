#include "core/time/LocalZone.h"

#include <gtest/gtest.h>

#include "core/testing/UsEasternZone.h"

// The other guide tests lean on the test zone; its rules are checked here
// against the clock changes of 2025 (9 March and 2 November).
TEST(LocalZoneTest, EasternZoneChangesAtTwoInTheMorningLocalTime) {
  const UsEasternZone zone;
  // Spring: 1:59:59 EST is followed by 3:00:00 EDT.
  EXPECT_EQ(zone.ToLocal(Utc(2025, 3, 9, 6, 59, 59)), (CivilTime{2025, 3, 9, 1, 59, 59}));
  EXPECT_EQ(zone.ToLocal(Utc(2025, 3, 9, 7, 0)), (CivilTime{2025, 3, 9, 3, 0, 0}));
  EXPECT_EQ(zone.OffsetAt(Utc(2025, 3, 9, 6, 0)), -5 * 3600);
  EXPECT_EQ(zone.OffsetAt(Utc(2025, 3, 9, 7, 0)), -4 * 3600);
  // Autumn: 1:59:59 EDT is followed by 1:00:00 EST.
  EXPECT_EQ(zone.ToLocal(Utc(2025, 11, 2, 5, 59, 59)), (CivilTime{2025, 11, 2, 1, 59, 59}));
  EXPECT_EQ(zone.ToLocal(Utc(2025, 11, 2, 6, 0)), (CivilTime{2025, 11, 2, 1, 0, 0}));
  // New Year's Eve in winter: the date changes with the local day.
  EXPECT_EQ(zone.ToLocal(Utc(2026, 1, 1, 4, 30)), (CivilTime{2025, 12, 31, 23, 30, 0}));
}

TEST(LocalZoneTest, EasternZoneReadsRepeatedAndSkippedLocalTimes) {
  const UsEasternZone zone;
  EXPECT_EQ(zone.ToUtc({2025, 7, 4, 20, 0, 0}), Utc(2025, 7, 5, 0, 0));
  EXPECT_EQ(zone.ToUtc({2025, 1, 4, 20, 0, 0}), Utc(2025, 1, 5, 1, 0));
  EXPECT_EQ(zone.ToUtc({2025, 11, 2, 1, 30, 0}), Utc(2025, 11, 2, 5, 30));  // the earlier 1:30
  EXPECT_EQ(zone.ToUtc({2025, 3, 9, 2, 30, 0}), Utc(2025, 3, 9, 7, 30));    // shown as 3:30
}
