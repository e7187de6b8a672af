#pragma once

#include <string>
#include <vector>

#include "core/files/ChannelEntry.h"
#include "core/schedule/ScheduleEvent.h"

// The texts of one row of an event list. The scheduler window shows all nine
// columns; the viewer's schedule tab shows the first eight.
struct ScheduleRow {
  std::string date;       // "Mon, Jan 7, 2008"
  std::string channel;    // scheduler: "name  7-1"; viewer tab: "7-1"
  std::string start;      // "08:00 PM" style, see EventClockText
  std::string end;
  std::string duration;   // "01:30"
  std::string type;
  std::string frequency;
  std::string whenDone;
  std::string saveTo;

  // The row of the scheduler window: the channel as its drop-down shows the
  // matching entry of the channel table ("%i-%i" when none matches).
  static ScheduleRow ForScheduler(const ScheduleEvent& event,
                                  const std::vector<ChannelEntry>& channels);

  // The row of the viewer's schedule tab: its times write the hour without
  // a leading zero ("8:05 AM").
  static ScheduleRow ForViewer(const ScheduleEvent& event);
};

// A time of an event row: hour on the 12-hour clock (0 -> "12", 1-9 -> "01"-"09",
// 10-12 as they are, 13-23 less 12 without a leading zero), minute with two
// digits, then "AM" or "PM".
std::string EventClockText(int hour, int minute);
