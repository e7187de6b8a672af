#pragma once

#include <cstdint>
#include <vector>

#include "TestGuide.h"
#include "TestStreamMuxer.h"

// The guide tables of one station, made from the guide file's programmes
// for the station's channels (the channels it does not carry are passed
// over).

// The sections of EIT-k and ETT-k, the tables of one three-hour slot.
struct GuideSlotTables {
  std::vector<std::vector<std::uint8_t>> eit;  // per channel, in the order of the channels
  std::vector<std::vector<std::uint8_t>> ett;  // one per described programme
};

// The EIT-k and ETT-k, k from 0, of `channels` for a stream whose clock
// starts at `gpsStart`. The slots are the three hours of UTC that start at
// 0:00, 3:00, ... and EIT-0 is the slot holding the start; a programme is
// listed in the slot that holds its start, which is the start time rounded
// down to the minute plus its start minute. Each channel's source id is its
// program number (as the channel table sends it) and its event ids count
// from 1 in start order. A described programme has ETM location 1 and an
// ETT in its slot's ETT. `eitCount` slots are made (1 to 128), or with 0 as
// many as the station's last programme needs, four at least; programmes past
// the last slot are left out. Throws std::invalid_argument when two channels
// with programmes share a source id.
std::vector<GuideSlotTables> BuildGuideTables(const TestGuide& guide,
                                              const std::vector<TestChannel>& channels,
                                              std::uint32_t gpsStart, int eitCount);
