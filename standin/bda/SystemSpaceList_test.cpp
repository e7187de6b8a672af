#include "standin/bda/SystemSpaceList.h"

#include <gtest/gtest.h>

namespace standin {
namespace {

using Spaces = std::vector<SystemSpace>;

TEST(SystemSpaceListTest, WithoutTheValueEachPlatformHasItsOwnList) {
  EXPECT_EQ(SystemSpaces(std::nullopt, false), (Spaces{{"ATSC", false}}));
  EXPECT_EQ(SystemSpaces(std::nullopt, true),
            (Spaces{{"ATSCCable", true}, {"ATSCAntenna", false}}));
  // A value set by a test counts on either platform; empty means no space.
  EXPECT_EQ(SystemSpaces(std::string(""), true), Spaces{});
  EXPECT_EQ(SystemSpaces(std::string("  DVB-T  ATSC "), true),
            (Spaces{{"DVB-T", false}, {"ATSC", false}}));
}

TEST(SystemSpaceListTest, CableSuffixMarksTheInputAndIsNotPartOfTheName) {
  EXPECT_EQ(SystemSpaces(std::string("ATSC:cable Local:cable:cable :cable Cable"), false),
            (Spaces{{"ATSC", true}, {"Local:cable", true}, {":cable", false}, {"Cable", false}}));
}

}  // namespace
}  // namespace standin
