#pragma once
// What the "Telvantis Guide" window needs of the viewer: the guide and the
// channels it shows, the local time-zone rules, and the viewer's actions on
// a programme. The window draws and asks; the viewer tunes, hands events to
// the scheduler and keeps the series rules.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/files/ChannelEntry.h"
#include "core/guide/GuideProgramme.h"
#include "core/guide/RecordingPadding.h"
#include "core/guide/SeriesRules.h"
#include "core/schedule/ScheduleEvent.h"
#include "core/time/LocalZone.h"

class GuideHost {
 public:
  virtual ~GuideHost() = default;

  // The guide as collected so far, sorted by channel and start, and the
  // channel list whose rows the grid shows (channels.txt's order).
  virtual const std::vector<GuideProgramme>& GuideProgrammes() const = 0;
  virtual const std::vector<ChannelEntry>& GuideChannels() const = 0;
  // The row of the channel being watched, where the window opens; nothing
  // when there is none.
  virtual std::optional<std::size_t> WatchedChannel() const = 0;
  virtual const LocalZone& Zone() const = 0;
  // Seconds since 1970 UTC, from the system clock.
  virtual std::int64_t NowUtc() const = 0;

  // The events of schedule.txt as it stands, for the grid's marks.
  virtual std::vector<ScheduleEvent> ScheduledEvents() const = 0;

  // "WATCH": tunes the channel of channels.txt's row `channelIndex`. The
  // text to show when it cannot (the viewer is recording), or nothing.
  virtual std::optional<std::string> WatchChannel(std::size_t channelIndex) = 0;

  // "Start early" and "End late": the padding of every recording made from
  // the guide, the series' later showings included.
  virtual RecordingPadding Padding() const = 0;
  virtual void SetPadding(RecordingPadding padding) = 0;

  // "RECORD": hands a one-time recording of the programme to the scheduler.
  // The outcome comes later, through GuideWindow::ShowStatus; a refusal known
  // at once (a programme too long for one event, an impossible folder) is
  // returned.
  virtual std::optional<std::string> RecordProgramme(const GuideProgramme& programme) = 0;

  // "RECORD SERIES": adds a rule for the programme's channel and title and
  // hands every showing over; the rule's refusal, or nothing.
  virtual std::optional<std::string> RecordSeries(const GuideProgramme& programme) = 0;
  virtual const SeriesRules& Series() const = 0;
  virtual void RemoveSeries(std::size_t index) = 0;
};
