#include "core/files/FreeSpace.h"

#include <gtest/gtest.h>

TEST(FreeSpace, CountsWholeMegabytesAndWholeGigabytesForTheHours) {
  constexpr std::uint64_t kMegabyte = 1024 * 1024;
  EXPECT_EQ(FreeSpaceText(150000 * kMegabyte), "FREE SPACE: 146.48 GB @~8 GB/hr=18.25 hrs");
  // 15.9 GB: 16281 whole megabytes, 15 whole gigabytes for the hours.
  EXPECT_EQ(FreeSpaceText(16281 * kMegabyte + kMegabyte / 2),
            "FREE SPACE: 15.90 GB @~8 GB/hr=1.88 hrs");
  EXPECT_EQ(FreeSpaceText(kMegabyte - 1), "FREE SPACE: 0.00 GB @~8 GB/hr=0.00 hrs");
  // 16 EiB: no overflow on the largest figure a drive can report.
  EXPECT_EQ(FreeSpaceText(UINT64_MAX),
            "FREE SPACE: 17179869184.00 GB @~8 GB/hr=2147483647.88 hrs");
}
