#include "core/schedule/ScheduleList.h"

#include <algorithm>

namespace {

bool IsWeekend(const CivilTime& date) {
  const int day = DayOfWeek(date);
  return day == 1 || day == 7;
}

bool IsSameDay(const CivilTime& a, const CivilTime& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day;
}

// The event moved forward until its start is not earlier than `now`: whole
// weeks at once first (keeping the day of week), so a file years old is cheap.
ScheduleEvent MovedPast(const ScheduleEvent& event, const CivilTime& now) {
  CivilTime start = EventStart(event);
  const long long behind = SecondsBetween(start, now);
  if (behind > 0) start = AddDays(start, static_cast<int>(behind / (7LL * 86400)) * 7);
  const int step = event.frequency == EventFrequency::Weekly ? 7 : 1;
  while (start < now || (event.frequency == EventFrequency::DailyWeekdays && IsWeekend(start)))
    start = AddDays(start, step);
  return WithStartDate(event, start);
}

}  // namespace

ScheduleList::ScheduleList(std::vector<ScheduleEvent> loaded) {
  if (loaded.size() > kMaxEvents) loaded.resize(kMaxEvents);
  std::stable_sort(loaded.begin(), loaded.end(), [](const ScheduleEvent& a, const ScheduleEvent& b) {
    return EventStart(a) < EventStart(b);
  });
  events = std::move(loaded);
}

std::optional<std::string> ScheduleList::Validate(const ScheduleEvent& candidate,
                                                  const CivilTime& now,
                                                  std::optional<std::size_t> editedIndex) const {
  if (auto problem = EventFieldProblem(candidate)) return *problem;
  const CivilTime start = EventStart(candidate);
  if (candidate.frequency == EventFrequency::DailyWeekdays && IsWeekend(start)) return std::string(kDayNotWeekday);
  if (IsSameDay(start, now)) {
    if (candidate.startHour < now.hour ||
        (candidate.startHour == now.hour && now.minute >= candidate.startMinute))
      return std::string(kStartPassed);
  } else if (!IsSelectableDate(start, now)) {
    return std::string(kStartPassed);
  }
  const EventInterval added = IntervalOf(candidate);
  for (std::size_t i = 0; i < events.size(); ++i) {
    if (editedIndex && *editedIndex == i) continue;
    if (auto message = OverlapMessage(added, IntervalOf(events[i]))) return message;
  }
  int hours = candidate.endHour - candidate.startHour;
  int minutes = candidate.endMinute - candidate.startMinute;
  if (candidate.type == EventType::WatchLive || candidate.type == EventType::Timeshift) minutes = 1;
  if (hours == 0 && minutes == 0) return std::string(kNoDuration);
  const bool replacing = editedIndex && *editedIndex < events.size();
  if (!replacing && events.size() >= kMaxEvents) return std::string(kListFull);
  return std::nullopt;
}

ScheduleList::AddResult ScheduleList::Add(const ScheduleEvent& candidate, const CivilTime& now,
                                          std::optional<std::size_t> editedIndex) {
  if (auto message = Validate(candidate, now, editedIndex)) return AddResult{std::nullopt, *message};
  if (editedIndex) Remove(*editedIndex);
  return AddResult{Insert(candidate), std::string()};
}

ScheduleList::AddResult ScheduleList::ReplaceEdited(const ScheduleEvent& edited,
                                                    const ScheduleEvent& candidate,
                                                    const CivilTime& now) {
  const auto index = Find(edited);
  if (!index) return AddResult{std::nullopt, kEditedEventGone};
  return Add(candidate, now, index);
}

std::optional<std::size_t> ScheduleList::Find(const ScheduleEvent& event) const {
  const auto found = std::find(events.begin(), events.end(), event);
  if (found == events.end()) return std::nullopt;
  return static_cast<std::size_t>(found - events.begin());
}

std::size_t ScheduleList::InsertPosition(const ScheduleEvent& event) const {
  const CivilTime start = EventStart(event);
  const auto later = std::find_if(events.begin(), events.end(), [&](const ScheduleEvent& e) {
    return start < EventStart(e);
  });
  return static_cast<std::size_t>(later - events.begin());
}

std::optional<std::size_t> ScheduleList::Insert(const ScheduleEvent& event) {
  if (events.size() >= kMaxEvents) return std::nullopt;
  const std::size_t position = InsertPosition(event);
  events.insert(events.begin() + static_cast<std::ptrdiff_t>(position), event);
  return position;
}

bool ScheduleList::Remove(std::size_t index) {
  if (index >= events.size()) return false;
  events.erase(events.begin() + static_cast<std::ptrdiff_t>(index));
  return true;
}

bool ScheduleList::CleanUp(const CivilTime& now, std::vector<std::string>* conflicts) {
  bool changed = false;
  std::vector<ScheduleEvent> past;
  for (const ScheduleEvent& event : events)
    if (EventStart(event) < now) past.push_back(event);
  for (const ScheduleEvent& event : past) {
    const auto found = std::find(events.begin(), events.end(), event);
    if (found == events.end()) continue;
    const auto index = static_cast<std::size_t>(found - events.begin());
    if (event.frequency == EventFrequency::Once) {
      Remove(index);
      changed = true;
      continue;
    }
    // The same overlap test as the move after a run: a recurring event never
    // lands on another one's time. One that would stays where it was, in the
    // past, and is moved on later once its next date is free.
    const AdvanceResult result = MoveOnFrom(index, now);
    if (result.outcome == AdvanceResult::Outcome::Moved) {
      changed = true;
    } else if (result.outcome == AdvanceResult::Outcome::Conflict && conflicts) {
      conflicts->push_back(result.message);
    }
  }
  return changed;
}

ScheduleEvent NextOccurrence(const ScheduleEvent& event) {
  CivilTime start = EventStart(event);
  if (event.frequency == EventFrequency::Weekly) {
    start = AddDays(start, 7);
  } else if (event.frequency == EventFrequency::DailyWeekdays) {
    start = AddDays(start, 1);
    while (IsWeekend(start)) start = AddDays(start, 1);
  }
  return WithStartDate(event, start);
}

ScheduleList::AdvanceResult ScheduleList::Advance(std::size_t index, AdvanceKind kind) {
  AdvanceResult result;
  if (index >= events.size()) return result;
  const ScheduleEvent& event = events[index];
  if (kind == AdvanceKind::AfterRun && event.frequency == EventFrequency::Once) {
    Remove(index);
    result.outcome = AdvanceResult::Outcome::Removed;
    return result;
  }
  const ScheduleEvent moved = kind == AdvanceKind::SkipWeek
                                  ? WithStartDate(event, AddDays(EventStart(event), 7))
                                  : NextOccurrence(event);
  return MoveUnlessOverlapping(index, moved, index + 1);
}

ScheduleList::AdvanceResult ScheduleList::MoveOnFrom(std::size_t index, const CivilTime& now) {
  AdvanceResult result;
  if (index >= events.size()) return result;
  if (events[index].frequency == EventFrequency::Once) {
    result.outcome = AdvanceResult::Outcome::Kept;
    return result;
  }
  return MoveUnlessOverlapping(index, MovedPast(events[index], now), 0);
}

ScheduleList::AdvanceResult ScheduleList::MoveUnlessOverlapping(std::size_t index,
                                                                const ScheduleEvent& moved,
                                                                std::size_t firstToCheck) {
  AdvanceResult result;
  const EventInterval interval = IntervalOf(moved);
  for (std::size_t i = firstToCheck; i < events.size(); ++i) {
    if (i == index) continue;
    if (auto message = OverlapMessage(interval, IntervalOf(events[i]))) {
      result.outcome = AdvanceResult::Outcome::Conflict;
      result.message = *message;
      return result;
    }
  }
  Remove(index);
  result.newIndex = *Insert(moved);
  result.outcome = AdvanceResult::Outcome::Moved;
  return result;
}

std::optional<std::size_t> FindEventToTune(const std::vector<ScheduleEvent>& events,
                                           const CivilTime& now) {
  // The scheduler hands an event over ten seconds before its start, or later
  // (a clock that came back over its start): an event further ahead than
  // that is the next one, not the one handed over now.
  const CivilTime soon = AddSeconds(now, kChangeChannelLeadSeconds);
  std::optional<std::size_t> firstOpen;
  std::optional<std::size_t> startingSoon;
  for (std::size_t i = 0; i < events.size(); ++i) {
    const EventInterval interval = IntervalOf(events[i]);
    const CivilTime end = interval.start < interval.end ? interval.end : AddSeconds(interval.start, 60);
    if (!(now < end)) continue;
    if (!firstOpen) firstOpen = i;
    if (interval.start <= soon) startingSoon = i;
  }
  return startingSoon ? startingSoon : firstOpen;
}

bool IsSelectableDate(const CivilTime& date, const CivilTime& now) {
  const CivilTime day{date.year, date.month, date.day, 0, 0, 0};
  const CivilTime today{now.year, now.month, now.day, 0, 0, 0};
  return !(day < today);
}
