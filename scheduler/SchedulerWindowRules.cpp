#include "scheduler/SchedulerWindowRules.h"

namespace SchedulerWindowRules {

std::string DurationLabel(const DisplayedDuration& duration) {
  return "DURATION: " + std::to_string(duration.hours) + ":" +
         (duration.minutes < 10 ? "0" : "") + std::to_string(duration.minutes);
}

ClockTime EndFromStart(ClockTime start, int hours, int minutes) {
  const int total = ((start.hour + hours) * 60 + start.minute + minutes) % (24 * 60);
  return ClockTime{total / 60, total % 60};
}

DisplayedDuration DurationBetween(ClockTime start, ClockTime end) {
  ScheduleEvent event;
  event.startHour = start.hour;
  event.startMinute = start.minute;
  event.endHour = end.hour;
  event.endMinute = end.minute;
  return DisplayedDurationOf(event);
}

TypeControls ControlsFor(EventType type) {
  TypeControls controls;
  switch (type) {
    case EventType::RecordLive:
      controls.endAndDuration = true;
      break;
    case EventType::RecordSilent:
      controls.endAndDuration = true;
      controls.folderChoice = true;
      break;
    case EventType::WatchLive:
      controls.resetDuration = true;
      break;
    case EventType::Timeshift:
      controls.resetDuration = true;
      controls.folder = TypeFolder::Timeshift;
      break;
  }
  return controls;
}

TrayMenuState TrayMenuFor(bool viewerUp, bool recorderRecording) {
  return TrayMenuState{viewerUp || recorderRecording, viewerUp};
}

ScreenPoint PlaceByTaskbar(const ScreenRect& taskbar, int screenWidth, int screenHeight,
                           int windowWidth, int windowHeight) {
  if (taskbar.top >= 1) return {screenWidth - windowWidth, taskbar.top - windowHeight};
  if (taskbar.bottom < screenHeight) return {screenWidth - windowWidth, taskbar.bottom};
  if (taskbar.right < screenWidth) return {taskbar.right, screenHeight - windowHeight};
  if (taskbar.left > 0) return {taskbar.left - windowWidth, screenHeight - windowHeight};
  return {screenWidth - windowWidth, screenHeight - windowHeight};
}

}  // namespace SchedulerWindowRules
