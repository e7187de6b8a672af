#pragma once

#include <optional>

#include "core/time/CivilTime.h"
#include "core/schedule/ScheduleEvent.h"

// The moments at which the engine acts for an event whose start is T.
//   RECORD- SILENT: warning at T-20 s, close the viewer and hand over at T-5 s,
//                   start the recorder at T-1 s.
//   other types:    warning at T-20 s, hand over (start or tune the viewer) at
//                   T-10 s, command the viewer at T.
// Each moment acts on the first clock tick at or after it, once, in order,
// one per tick. A hand-over that acts late pushes the last moment back by as
// much, so the viewer or the recorder still gets its time to start or close.
// The event is given up when its deadline passes before its last moment.
class EventMoments {
 public:
  static constexpr int kMomentCount = 3;
  enum Moment : int { kWarning = 0, kHandOff = 1, kStart = 2 };

  explicit EventMoments(const ScheduleEvent& event);
  // The moments of an event that starts at `start` instead of its own start
  // (one whose start the local clock skipped); its deadline stays its own
  // end, so an event whose end was skipped too is not started at all.
  EventMoments(const ScheduleEvent& event, const CivilTime& start);

  // The nominal time of a moment.
  CivilTime At(int moment) const;

  // The earliest time the moment may act, given when the moment before it
  // acted (nothing for the first moment).
  CivilTime EarliestAct(int moment, const std::optional<CivilTime>& previousActed) const;

  // The event's end; a live event that ends at or before its start keeps
  // its start minute.
  CivilTime Deadline() const { return deadline; }

  bool IsSilent() const { return silent; }

 private:
  CivilTime start;
  CivilTime deadline;
  bool silent = false;
};
