#include "core/schedule/ScheduleRow.h"

#include "core/time/TimeTexts.h"

namespace {

std::string EventHourText(int hour) {
  if (hour == 0) return "12";
  if (hour < 10) return "0" + std::to_string(hour);
  if (hour <= 12) return std::to_string(hour);
  return std::to_string(hour - 12);
}

// The schedule tab of the viewer writes hours 1 to 12 without a leading zero.
std::string ViewerClockText(int hour, int minute) {
  const int twelveHour = hour == 0 ? 12 : (hour > 12 ? hour - 12 : hour);
  return std::to_string(twelveHour) + ":" + TwoDigitText(minute) + " " + AmPm(hour);
}

std::string DateText(const ScheduleEvent& event) {
  return std::string(DayName(event.dayOfWeek)) + ", " + MonthName(event.month) + " " +
         std::to_string(event.day) + ", " + std::to_string(event.year);
}

std::string NumbersText(const ScheduleEvent& event) {
  return std::to_string(event.channel2) + "-" + std::to_string(DisplayedMinor(event.channel3));
}

ScheduleRow CommonRow(const ScheduleEvent& event) {
  ScheduleRow row;
  row.date = DateText(event);
  row.start = EventClockText(event.startHour, event.startMinute);
  row.end = EventClockText(event.endHour, event.endMinute);
  const DisplayedDuration duration = DisplayedDurationOf(event);
  row.duration = TwoDigitText(duration.hours) + ":" + TwoDigitText(duration.minutes);
  row.frequency = FrequencyText(event.frequency);
  row.whenDone = WhenDoneText(event.whenDone);
  row.saveTo = event.folder;
  return row;
}

}  // namespace

std::string EventClockText(int hour, int minute) {
  return EventHourText(hour) + ":" + TwoDigitText(minute) + " " + AmPm(hour);
}

ScheduleRow ScheduleRow::ForScheduler(const ScheduleEvent& event,
                                      const std::vector<ChannelEntry>& channels) {
  ScheduleRow row = CommonRow(event);
  const auto index = FindEventChannel(channels, event);
  row.channel = index ? SchedulerChannelCaption(channels[*index]) : NumbersText(event);
  row.type = SchedulerTypeText(event.type);
  return row;
}

ScheduleRow ScheduleRow::ForViewer(const ScheduleEvent& event) {
  ScheduleRow row = CommonRow(event);
  row.start = ViewerClockText(event.startHour, event.startMinute);
  row.end = ViewerClockText(event.endHour, event.endMinute);
  row.channel = NumbersText(event);
  row.type = ViewerTypeText(event.type);
  return row;
}
