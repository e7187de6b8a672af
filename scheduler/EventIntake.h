#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/files/ChannelEntry.h"
#include "core/protocol/HandOffFiles.h"
#include "core/schedule/ScheduleList.h"
#include "core/time/CivilTime.h"

// The one way an event enters the scheduler's list: the window's "ADD" and
// "SAVE EDITED EVENT" and the guide's hand-off all come through Accept, so a
// refused event gets the same text whoever offered it.
namespace EventIntake {

struct Result {
  std::optional<std::size_t> index;  // the new row, or nothing when refused
  std::string message;               // the refusal's text
};

// Validates `candidate` (channel, then the list's rules: fields and folder,
// weekday, past start, overlap, duration, the 50-event limit) and inserts
// it. With `edited`, the event of that content is replaced (the overlap test
// skips it); when it is no longer in the list the edit is refused. A refused
// event leaves the list unchanged.
Result Accept(ScheduleList& list, const ScheduleEvent& candidate,
              const std::vector<ChannelEntry>& channels, const CivilTime& now,
              const std::optional<ScheduleEvent>& edited = std::nullopt);

// The guide's hand-off: takes guideevent.txt from `folder`, accepts or
// refuses its event and writes guideanswer.txt. Nothing when there was no
// file (the guide took it back, or the message came twice): then no answer
// is due. A damaged file is deleted and refused with kDamagedGuideEvent.
struct GuideIntake {
  GuideAnswer answer;
  std::optional<std::size_t> index;  // the new row when accepted
  bool answerWritten = false;
};
std::optional<GuideIntake> TakeGuideEvent(const std::filesystem::path& folder, ScheduleList& list,
                                          const std::vector<ChannelEntry>& channels,
                                          const CivilTime& now);

}  // namespace EventIntake
