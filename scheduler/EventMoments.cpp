#include "scheduler/EventMoments.h"

namespace {

constexpr long long kSilentOffsets[EventMoments::kMomentCount] = {-20, -5, -1};
constexpr long long kLiveOffsets[EventMoments::kMomentCount] = {-20, -10, 0};

}  // namespace

EventMoments::EventMoments(const ScheduleEvent& event) : silent(event.type == EventType::RecordSilent) {
  const EventInterval interval = IntervalOf(event);
  start = interval.start;
  deadline = interval.start < interval.end ? interval.end : AddSeconds(interval.start, 60);
}

EventMoments::EventMoments(const ScheduleEvent& event, const CivilTime& movedStart)
    : EventMoments(event) {
  start = movedStart;
  const CivilTime minute = AddSeconds(start, 60);
  if (deadline < minute) deadline = minute;
}

CivilTime EventMoments::At(int moment) const {
  return AddSeconds(start, silent ? kSilentOffsets[moment] : kLiveOffsets[moment]);
}

CivilTime EventMoments::EarliestAct(int moment, const std::optional<CivilTime>& previousActed) const {
  const CivilTime nominal = At(moment);
  if (moment != kStart || !previousActed) return nominal;
  const long long*offsets = silent ? kSilentOffsets : kLiveOffsets;
  const CivilTime pushed = AddSeconds(*previousActed, offsets[kStart] - offsets[kHandOff]);
  return pushed > nominal ? pushed : nominal;
}
