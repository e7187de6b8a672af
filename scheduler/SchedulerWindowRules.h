#pragma once

#include <string>

#include "core/schedule/ScheduleEvent.h"

// The decisions of the scheduler window that do not need a window: the
// duration label and the coupling of the start, end and duration controls,
// what each event type enables, the tray menu's grayed items and where the
// window stands beside the taskbar.
namespace SchedulerWindowRules {

// "DURATION: %i:%i", or "DURATION: %i:0%i" below ten minutes.
std::string DurationLabel(const DisplayedDuration& duration);
inline constexpr const char* kEmptyDurationLabel = "DURATION: 00:00";

struct ClockTime {
  int hour = 0;
  int minute = 0;
  friend bool operator==(const ClockTime&, const ClockTime&) = default;
};

// The end time when the start time or the spins change: start + hours:minutes,
// wrapping past midnight.
ClockTime EndFromStart(ClockTime start, int hours, int minutes);
// The displayed duration from start to end (the borrow rule of the list).
DisplayedDuration DurationBetween(ClockTime start, ClockTime end);

// Which controls an event type enables and which folder it shows.
enum class TypeFolder { Record, Timeshift };
struct TypeControls {
  bool endAndDuration = false;  // end time, hours, minutes and their spins
  bool folderChoice = false;    // the clickable folder label
  bool resetDuration = false;   // spins to 0, when-done to its first entry
  TypeFolder folder = TypeFolder::Record;
};
TypeControls ControlsFor(EventType type);

// The tray menu: "Open Telvantis" is grayed while the viewer's window is up or
// a silent recording runs; "Open Silent Record" while the viewer's window is up.
struct TrayMenuState {
  bool openViewerGrayed = false;
  bool openRecorderGrayed = false;
};
TrayMenuState TrayMenuFor(bool viewerUp, bool recorderRecording);

struct ScreenRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};
struct ScreenPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};
// The window's top-left corner: beside the taskbar, in the corner of the
// screen next to it (the bottom right, unless the taskbar is on the right).
ScreenPoint PlaceByTaskbar(const ScreenRect& taskbar, int screenWidth, int screenHeight,
                           int windowWidth, int windowHeight);

}  // namespace SchedulerWindowRules
