#include "graph/FirstFailure.h"

#include <gtest/gtest.h>

TEST(FirstFailureTest, TellsTheFirstOfARunOfFailuresAndAgainAfterASuccess) {
  FirstFailure failure;
  EXPECT_FALSE(failure.Report(false));
  EXPECT_TRUE(failure.Report(true));
  EXPECT_FALSE(failure.Report(true));
  EXPECT_FALSE(failure.Report(true));
  EXPECT_FALSE(failure.Report(false));
  EXPECT_TRUE(failure.Report(true));
  failure.Reset();
  EXPECT_TRUE(failure.Report(true));
}
