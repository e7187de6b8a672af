#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/files/ChannelEntry.h"
#include "core/guide/GuideProgramme.h"
#include "core/guide/RecordingPadding.h"
#include "core/guide/SeriesRules.h"
#include "core/schedule/ScheduleEvent.h"
#include "core/time/LocalZone.h"

// The channels.txt entry of a guide channel: the same major number, and the
// same minor number or its negation (an entry without a minor number, -1,
// is the station's channel 1), as the schedule's channel rule reads them.
// Nothing when the list holds no such channel.
const ChannelEntry* FindGuideChannel(const std::vector<ChannelEntry>& channels, int major, int minor);

// A showing of a series that is to be handed to the scheduler: the
// programme and its padded recording.
struct SeriesHandOver {
  GuideProgramme programme;
  ScheduleEvent event;
};

// Decides, whenever new guide data arrives, which showings of the series
// rules go to the scheduler. Each showing is decided once and the decision
// is recorded in the rules at once, so a second pass over the same guide
// hands nothing, even while the first pass's events still wait for their
// answers:
//  - a showing that has started (or starts this second) is passed over;
//  - a showing already in the schedule (same channel and the same padded
//    times) is recorded as handed and not handed again;
//  - a showing that cannot be one event (too long, impossible folder) is
//    recorded as refused with that text;
//  - every other showing is recorded as handed and returned, earliest
//    first. The guide hands them over one at a time and records a refusal
//    (RecordRefused, listed under the rule and never retried) or, when it
//    took an event back unread, forgets it (Forget: planned again).
// A showing on a channel that channels.txt does not hold is left undecided:
// it is planned once a scan has added the channel.
class SeriesPlanner {
 public:
  // `zone` must outlive the planner.
  SeriesPlanner(std::vector<ChannelEntry> channels, RecordingPadding padding, std::string folder,
                const LocalZone& zone);

  struct Plan {
    std::vector<SeriesHandOver> handOvers;
    bool rulesChanged = false;  // series.txt is to be written
  };
  Plan PlanShowings(SeriesRules& rules, const std::vector<GuideProgramme>& guide,
                    const std::vector<ScheduleEvent>& schedule, std::int64_t nowUtc) const;

 private:
  std::vector<ChannelEntry> channels;
  RecordingPadding padding;
  std::string folder;
  const LocalZone& zone;
};
