#pragma once

#include <filesystem>
#include <string>

#include "core/schedule/ScheduleEvent.h"
#include "core/time/CivilTime.h"

// scheduler.txt, the log shared by the scheduler, the viewer and the silent
// recorders (each appends one entry and closes the file), and scheddebug.txt,
// the scheduler's own trace, written only when the user created it.
class EventLog {
 public:
  // Scheduler entries.
  static std::string AlreadyOpen();                      // "TELVANTIS ALREADY OPEN\n"
  static std::string OpenedViewer(const CivilTime& now); // "OPEN TELVANTIS: stamp\n"
  static std::string CantOpenViewer(const CivilTime& now);
  // "RECORD LIVE: ", "TIMESHIFT: " or "WATCH LIVE: ", stamp, two line feeds;
  // empty for a silent recording, which the recorder logs itself.
  static std::string EventStarted(EventType type, const CivilTime& now);

  // "MISSED EVENT: " with the stamp of the start of an event whose time
  // passed while no tick came (the machine slept), two line feeds.
  static std::string MissedEvent(const CivilTime& start);
  // "MISSED (CLOCK CHANGE): " with the event's line as schedule.txt holds it,
  // two line feeds: the clock moved forward over the event's start and its
  // end had passed too when the clock came back.
  static std::string MissedByClockChange(const ScheduleEvent& event);

  // Silent recorder entries.
  static std::string SilentRecordStarted(const CivilTime& now);
  static std::string SilentRecordStopped(const CivilTime& now);

  // Viewer entries: "RECORDING STOPPED: h:m:s" and two line feeds; a
  // scheduled recording refused because another runs, with the stamp as the
  // scheduler writes it and two line feeds.
  static std::string RecordingStopped(int hour, int minute, int second);
  static std::string RecordLiveRefused(const CivilTime& now);
  // A scheduled recording whose end had passed when its start command came:
  // not started. The stamp as the scheduler writes it, two line feeds.
  static std::string RecordLiveEndPassed(const CivilTime& now);

  // The trace line: "# OF EVENTS: n", two blanks, the stamp, a line feed.
  static std::string DebugLine(std::size_t eventCount, const CivilTime& now);

  static bool Append(const std::filesystem::path& file, const std::string& entry);
  // Appends only when the file exists already; never creates it.
  static bool AppendIfPresent(const std::filesystem::path& file, const std::string& line);
};
