#pragma once

#include <optional>
#include <string>

#include "core/files/ChannelEntry.h"
#include "core/guide/GuideProgramme.h"
#include "core/schedule/ScheduleEvent.h"
#include "core/time/LocalZone.h"

// Recording a programme from the guide: the programme's times widened by
// the "Start early" and "End late" minutes, as an event of the schedule.

inline constexpr int kDefaultStartEarlyMinutes = 1;
inline constexpr int kDefaultEndLateMinutes = 2;
inline constexpr int kMaxPaddingMinutes = 60;

struct RecordingPadding {
  int startEarlyMinutes = kDefaultStartEarlyMinutes;  // 0 to kMaxPaddingMinutes; others are clamped
  int endLateMinutes = kDefaultEndLateMinutes;
};

struct GuideRecording {
  std::optional<ScheduleEvent> event;
  std::string refusal;  // why there is no event: a message for the user
};

// The one-time RECORD-LIVE event that records the programme on `channel`
// (its three numbers of channels.txt) into `folder`, closing when done.
// The times are local and whole minutes: the start rounded down, the end
// rounded up. Two things the event model cannot say are handled here:
//  - it lasts at most 23:59 (its end lies on the next day when it is
//    earlier in the day than its start), so a longer recording is refused;
//  - its times have no zone, and the viewer stops a recording the first
//    time the clock shows the end; an end in the second pass of the hour
//    repeated when summer time ends would stop it an hour early, so such an
//    end moves to the end of the repeated hour (2:00 AM in the US).
// An impossible folder is refused with the scheduler's own message.
GuideRecording PaddedRecordingEvent(const GuideProgramme& programme, const ChannelEntry& channel,
                                    RecordingPadding padding, const std::string& folder,
                                    const LocalZone& zone);
