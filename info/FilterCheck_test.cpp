#include "info/FilterCheck.h"

#include <gtest/gtest.h>

using Lines = std::vector<std::string>;

TEST(FilterCheckTest, StreamBufferFiltersBothPresent) {
  auto result = CheckStreamBufferFilters({"Video Renderer", "StreamBufferSink", "AVI Splitter",
                                          "StreamBufferSource"});
  EXPECT_TRUE(result.installed);
  EXPECT_EQ(result.lines, (Lines{"StreamBufferSink", "StreamBufferSource"}));
  EXPECT_EQ(StreamBufferStatus(result.installed), "DVR-MS OK");
}

TEST(FilterCheckTest, StreamBufferFiltersOneOrNone) {
  auto onlySink = CheckStreamBufferFilters({"StreamBufferSink", "Null Renderer"});
  EXPECT_FALSE(onlySink.installed);
  EXPECT_EQ(onlySink.lines,
            (Lines{"StreamBufferSink", "The DVR-MS filters aren't installed properly!"}));

  auto none = CheckStreamBufferFilters({"streambuffersink", "StreamBufferSink2"});
  EXPECT_FALSE(none.installed);
  EXPECT_EQ(none.lines, (Lines{"The DVR-MS filters aren't installed!"}));
  EXPECT_EQ(StreamBufferStatus(none.installed), "DVR-MS NOT INSTALLED");
}

TEST(FilterCheckTest, TwoRegistrationsOfOneFilterAreNotThePair) {
  auto result = CheckStreamBufferFilters({"StreamBufferSink", "StreamBufferSink"});
  EXPECT_FALSE(result.installed);
  EXPECT_EQ(result.lines, (Lines{"StreamBufferSink", "StreamBufferSink",
                                 "The DVR-MS filters aren't installed properly!"}));
}

TEST(FilterCheckTest, TransportStreamFiltersDecideTheButton) {
  auto both = CheckTransportStreamFilters({"TelvantisTSSink", "TelvantisTSSource"});
  EXPECT_TRUE(both.installed);
  EXPECT_EQ(both.lines, (Lines{"TelvantisTSSink", "TelvantisTSSource"}));
  EXPECT_EQ(TransportStreamButtonCaption(both.installed), "Uninstall TS");
  EXPECT_EQ(TransportStreamStatus(both.installed), "TS OK");

  auto one = CheckTransportStreamFilters({"TelvantisTSSource"});
  EXPECT_FALSE(one.installed);
  EXPECT_EQ(one.lines, (Lines{"TelvantisTSSource", "The Telvantis Transport Stream filters",
                              "   aren't installed properly!"}));

  auto none = CheckTransportStreamFilters({});
  EXPECT_EQ(none.lines,
            (Lines{"The Telvantis Transport Stream filters", "   aren't installed!"}));
  EXPECT_EQ(TransportStreamButtonCaption(none.installed), "Install TS");
  EXPECT_EQ(TransportStreamStatus(none.installed), "TS NOT INSTALLED");
}
