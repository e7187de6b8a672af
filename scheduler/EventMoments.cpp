#include "scheduler/EventMoments.h"

namespace {

constexpr long long kSilentOffsets[EventMoments::kMomentCount] = {-20, -5, -1};
constexpr long long kLiveOffsets[EventMoments::kMomentCount] = {-20, -10, 0};

}  // namespace

EventMoments::EventMoments(const ScheduleEvent& event) : silent(event.type == EventType::RecordSilent) {
  const EventInterval interval = IntervalOf(event);
  start = interval.start;
  // A recording whose end has passed has nothing left to record, and the
  // recorder finds its end as the first one after the hand-off, so a silent
  // event is never handed over at or after its end. A live event that ends
  // at or before its start still fires in its start minute.
  deadline = interval.start < interval.end || silent ? interval.end : AddSeconds(interval.start, 60);
}

EventMoments::EventMoments(const ScheduleEvent& event, const CivilTime& movedStart)
    : EventMoments(event) {
  start = movedStart;
}

CivilTime EventMoments::At(int moment) const {
  return AddSeconds(start, silent ? kSilentOffsets[moment] : kLiveOffsets[moment]);
}

CivilTime EventMoments::EarliestAct(int moment, const std::optional<CivilTime>& previousActed) const {
  const CivilTime nominal = At(moment);
  if (moment != kStart || !previousActed) return nominal;
  const long long* offsets = silent ? kSilentOffsets : kLiveOffsets;
  const CivilTime pushed = AddSeconds(*previousActed, offsets[kStart] - offsets[kHandOff]);
  return pushed > nominal ? pushed : nominal;
}
