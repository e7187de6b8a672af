#include "core/guide/RecordingPadding.h"

#include <algorithm>
#include <cstdint>

namespace {

// Far enough back to be before a change of the clock that repeats the
// local time at an instant.
constexpr std::int64_t kLookBackSeconds = 3 * 60 * 60;

// The first instant at or after `utc` that has no earlier twin: when the
// clock was set back (by d seconds) shortly before, the local times of the
// d seconds after the change were shown once already.
std::int64_t PastRepeatedTime(std::int64_t utc, const LocalZone& zone) {
  const std::int64_t setBack = zone.OffsetAt(utc - kLookBackSeconds) - zone.OffsetAt(utc);
  if (setBack <= 0) return utc;
  while (zone.ToLocal(utc - setBack) == zone.ToLocal(utc)) utc += 60;
  return utc;
}

}  // namespace

GuideRecording PaddedRecordingEvent(const GuideProgramme& programme, const ChannelEntry& channel,
                                    RecordingPadding padding, const std::string& folder,
                                    const LocalZone& zone) {
  const int early = std::clamp(padding.startEarlyMinutes, 0, kMaxPaddingMinutes);
  const int late = std::clamp(padding.endLateMinutes, 0, kMaxPaddingMinutes);

  CivilTime start = zone.ToLocal(programme.startUtc - early * 60);
  start.second = 0;
  std::int64_t endUtc = programme.EndUtc() + late * 60;
  const int endSecond = zone.ToLocal(endUtc).second;
  if (endSecond > 0) endUtc += 60 - endSecond;
  const CivilTime end = zone.ToLocal(PastRepeatedTime(endUtc, zone));

  ScheduleEvent event;
  event.dayOfWeek = DayOfWeek(start);
  event.month = start.month;
  event.day = start.day;
  event.year = start.year;
  event.channel1 = channel.physical;
  event.channel2 = channel.major;
  event.channel3 = channel.minor;
  event.startHour = start.hour;
  event.startMinute = start.minute;
  event.endHour = end.hour;
  event.endMinute = end.minute;
  event.type = EventType::RecordLive;
  event.frequency = EventFrequency::Once;
  event.whenDone = WhenDone::Close;
  event.folder = folder;

  GuideRecording recording;
  if (const auto problem = EventFieldProblem(event)) {
    recording.refusal = *problem;
    return recording;
  }
  // The event ends on its start's day, or on the next day when its end is
  // earlier in the day than its start: anything longer cannot be written.
  if (IntervalOf(event).end != end) {
    recording.refusal = "PROGRAMME TOO LONG TO RECORD AS ONE EVENT";
    return recording;
  }
  recording.event = event;
  return recording;
}
