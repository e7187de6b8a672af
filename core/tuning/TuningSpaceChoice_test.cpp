#include "core/tuning/TuningSpaceChoice.h"

#include <gtest/gtest.h>

#include <vector>

TEST(TuningSpaceChoiceTest, TheSpaceNamedAtscComesBeforeAnyFoundByType) {
  // The older systems' list: "ATSC" wherever it stands, even when an antenna
  // space of another name comes first, and even when its type was not read.
  const std::vector<TuningSpaceFacts> legacy{
      {L"DVB-T", false}, {L"ATSCAntenna", true}, {L"ATSC", false}, {L"ATSC", true}};
  EXPECT_EQ(ChooseAtscTuningSpace(legacy), 2u);
  // The name is matched exactly.
  const std::vector<TuningSpaceFacts> nearNames{{L"atsc", false}, {L"ATSC ", false},
                                                {L"ATSCCable", false}};
  EXPECT_EQ(ChooseAtscTuningSpace(nearNames), std::nullopt);
}

TEST(TuningSpaceChoiceTest, WithoutTheNameTheFirstAtscAntennaSpaceIsTaken) {
  // Windows 7 and later: the cable space and the others are passed over.
  const std::vector<TuningSpaceFacts> current{{L"ATSCCable", false},
                                              {L"ClearQAM", false},
                                              {L"ATSCAntenna", true},
                                              {L"Local ATSC", true}};
  EXPECT_EQ(ChooseAtscTuningSpace(current), 2u);
  EXPECT_EQ(ChooseAtscTuningSpace(std::vector<TuningSpaceFacts>{{L"ATSCCable", false}}),
            std::nullopt);
  EXPECT_EQ(ChooseAtscTuningSpace({}), std::nullopt);
}
