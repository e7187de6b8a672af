#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/time/CivilTime.h"
#include "core/schedule/ScheduleEvent.h"

// The scheduler's list of events: at most kMaxEvents, always sorted by start,
// earliest first. It holds the rules that accept, insert, remove, clean up
// and advance events; reading and writing schedule.txt is ScheduleFile's.
class ScheduleList {
 public:
  static constexpr std::size_t kMaxEvents = 50;

  // Messages of the rules, in the order validation tests them.
  static constexpr const char* kDayNotWeekday = "DAY IS NOT M-F";
  static constexpr const char* kStartPassed = "START TIME HAS PASSED";
  static constexpr const char* kNoDuration = "NO DURATION SPECIFIED";
  static constexpr const char* kListFull = "CAN'T ADD EVENT: THE SCHEDULE HOLDS 50 EVENTS";
  // An edited event that is no longer in the list when the edit is saved.
  static constexpr const char* kEditedEventGone = "EVENT HAS ALREADY RUN OR BEEN REMOVED";
  // An event on none of the channels of channels.txt (the guide may know a
  // station that the channel list does not hold).
  static constexpr const char* kChannelNotListed = "CHANNEL IS NOT IN THE CHANNEL LIST";

  ScheduleList() = default;
  // Takes up to kMaxEvents events and sorts them by start (stable).
  explicit ScheduleList(std::vector<ScheduleEvent> events);

  const std::vector<ScheduleEvent>& Events() const { return events; }
  std::size_t Count() const { return events.size(); }
  bool IsEmpty() const { return events.empty(); }
  const ScheduleEvent& At(std::size_t index) const { return events.at(index); }

  // The first failing rule's message for a new or edited event, or nothing.
  // `editedIndex` names the event being replaced, which the overlap test
  // skips and which does not count against the limit.
  std::optional<std::string> Validate(const ScheduleEvent& candidate, const CivilTime& now,
                                      std::optional<std::size_t> editedIndex = std::nullopt) const;

  // Validates, removes the edited event, inserts the candidate. Returns the
  // new row index, or the message that refused it (the list is unchanged).
  struct AddResult {
    std::optional<std::size_t> index;
    std::string message;
  };
  AddResult Add(const ScheduleEvent& candidate, const CivilTime& now,
                std::optional<std::size_t> editedIndex = std::nullopt);

  // Saves an edit: `edited` is the event as it was when editing began. The
  // list may have changed meanwhile (the engine ran an event and removed or
  // moved it), so the event is found again by its fields, never by its row;
  // when it is no longer there, kEditedEventGone and the list is unchanged.
  AddResult ReplaceEdited(const ScheduleEvent& edited, const ScheduleEvent& candidate,
                          const CivilTime& now);

  // The row of the first event equal to `event` in every field.
  std::optional<std::size_t> Find(const ScheduleEvent& event) const;

  // Inserts before the first event that starts later (after equal starts).
  // Refuses (nothing) when the list is full.
  std::optional<std::size_t> Insert(const ScheduleEvent& event);

  bool Remove(std::size_t index);

  // Start-up clean-up: past one-time events are dropped, past recurring ones
  // move to their next start that is not earlier than `now`, unless that
  // start overlaps another event: such an event stays unchanged and the
  // overlap message goes to `conflicts`. Returns whether the list changed.
  bool CleanUp(const CivilTime& now, std::vector<std::string>* conflicts = nullptr);

  // Moving an event on after it ran, or by "SKIP WEEK".
  enum class AdvanceKind { AfterRun, SkipWeek };
  struct AdvanceResult {
    enum class Outcome { Removed, Moved, Conflict, Kept, NoSuchEvent } outcome = Outcome::NoSuchEvent;
    std::size_t newIndex = 0;  // Moved: where the event now stands
    std::string message;       // Conflict: the overlap message
  };
  AdvanceResult Advance(std::size_t index, AdvanceKind kind);

  // A recurring event whose time has passed without it being carried out
  // moves to its next start that is not earlier than `now`, as the start-up
  // clean-up would move it, unless that time overlaps another event
  // (Conflict, unchanged). A one-time event is Kept as it is.
  AdvanceResult MoveOnFrom(std::size_t index, const CivilTime& now);

 private:
  std::size_t InsertPosition(const ScheduleEvent& event) const;
  // Puts `moved` in place of the event at `index`, unless it overlaps one of
  // the other events from `firstToCheck` on (Conflict, unchanged).
  AdvanceResult MoveUnlessOverlapping(std::size_t index, const ScheduleEvent& moved,
                                      std::size_t firstToCheck);

  std::vector<ScheduleEvent> events;
};

// The next start of a recurring event after it ran: WEEKLY 7 days on,
// DAILY(M-F) the next weekday. A ONCE event is returned unchanged.
ScheduleEvent NextOccurrence(const ScheduleEvent& event);

// The event a "TELVANTISSCHED CHANGE CHANNEL" is about, for the viewer:
// among the events that have not ended (an event keeps at least its start
// minute), the last one that starts within the next ten seconds; else the
// first that has not ended. Past events that the scheduler passed over
// (stuck or missed) may stand before it in the file, so "the first event" is
// not it; and an event handed over late, whose start lies behind, is still
// the one meant while the next one starts more than ten seconds ahead.
std::optional<std::size_t> FindEventToTune(const std::vector<ScheduleEvent>& events,
                                           const CivilTime& now);
inline constexpr long long kChangeChannelLeadSeconds = 10;

// The first day the date picker offers: today. There is no last day.
bool IsSelectableDate(const CivilTime& date, const CivilTime& now);
