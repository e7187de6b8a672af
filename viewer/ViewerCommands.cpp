// The control panel's commands: buttons, label menus, keys of both windows,
// the remote control's message, the side mouse buttons, and the channel
// navigation they lead to.
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "core/protocol/RemoteMessage.h"
#include "viewer/PopupMenu.h"
#include "viewer/RecordMenu.h"
#include "viewer/ViewerDialog.h"
#include "viewer/resource.h"
#include "win/SpeakerVolume.h"

namespace {

// The commands by number, as the video window and the channel-setup page
// give them: index 1 is command 1.
constexpr int kPanelCommands[] = {
    0,                 IDM_FULL_SCREEN,  IDC_CHANNEL_UP, IDC_CHANNEL_DOWN, IDC_RECALL,
    IDC_SIGNAL,        IDC_VOLUME_UP,    IDC_VOLUME_DOWN, IDC_MUTE,        IDM_ASPECT,
    IDC_PAUSE,         IDC_RECORD,       IDC_SKIP_FORWARD, IDC_SKIP_BACK,  IDC_JUMP_START,
    IDC_JUMP_LIVE,     IDC_PLAY,         IDM_STOP,        IDOK};

// A key pressed in the video window that does not apply in the present
// state is dropped there.
bool AppliesNow(int command, bool timeshifting, bool recording) {
  switch (command) {
    case IDC_JUMP_START:
    case IDC_JUMP_LIVE:
    case IDC_SKIP_BACK:
    case IDC_SKIP_FORWARD:
      return timeshifting;
    case IDC_RECORD:
      return !timeshifting && !recording;
    case IDM_STOP:
      return timeshifting || recording;
    default:
      return true;
  }
}

std::string Format(const char* format, int a, int b) {
  char text[64];
  std::snprintf(text, sizeof text, format, a, b);
  return text;
}

}  // namespace

INT_PTR ViewerDialog::OnCommand(int id) {
  switch (id) {
    case IDOK:
      OnExit();
      return TRUE;
    case IDCANCEL:
      OnCancel();
      return TRUE;
    case IDC_CHANNEL_UP:
      ChangeChannel(ChannelStep::Up);
      return TRUE;
    case IDC_CHANNEL_DOWN:
      ChangeChannel(ChannelStep::Down);
      return TRUE;
    case IDC_RECALL:
      ChangeChannel(ChannelStep::Recall);
      return TRUE;
    case IDC_CHANNEL_DISPLAY:
      ShowChannelMenu();
      return TRUE;
    case IDC_SIGNAL:
      OpenSignalWindow();
      return TRUE;
    case IDC_VOLUME_UP:
      VolumeUp();
      return TRUE;
    case IDC_VOLUME_DOWN:
      VolumeDown();
      return TRUE;
    case IDC_MUTE:
      ToggleMute();
      return TRUE;
    case IDM_FULL_SCREEN:
      ToggleFullScreen();
      return TRUE;
    case IDM_ASPECT:
      ToggleAspect();
      return TRUE;
    case IDC_WINDOW_MENU:
      ShowWindowMenu();
      return TRUE;
    case IDC_SETUP:
      OpenSetup(false);
      return TRUE;
    case IDC_SCHEDULE:
      OpenSetup(true);
      return TRUE;
    case IDC_RECORD_STATE:
      ShowRecordMenu();
      return TRUE;
    case IDC_GUIDE:
      guide.Open(hwnd);
      return TRUE;
    default:
      // The timeshift transport, its skip menu, record and stop are the
      // transport's (TimeshiftTransport answers them first).
      return FALSE;
  }
}

void ViewerDialog::DoPanelCommand(int code) {
  if (code < 1 || code >= static_cast<int>(std::size(kPanelCommands))) return;
  const int command = kPanelCommands[code];
  if (command == IDOK) {
    // Not in the middle of the caller's own message: the exit closes
    // every window.
    PostMessageA(hwnd, WM_CLOSE, 0, 0);
    return;
  }
  SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

void ViewerDialog::OnVideoCommand(int command) {
  if (!AppliesNow(command, session.Timeshifting(), session.Recording())) return;
  if (command == IDOK) {
    PostMessageA(hwnd, WM_CLOSE, 0, 0);
    return;
  }
  SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(command, 1), 0);
  if (command == IDC_GUIDE) return;  // the guide window stays in front
  panelActive = false;
  BringWindowToTop(video.Handle());
}

void ViewerDialog::OpenSetup(bool onSchedule) { setup.Open(hwnd, onSchedule); }

// The remote control's message: a digit of a channel number, a channel
// step or the display switch. A recording or the timeshift keep the channel.
INT_PTR ViewerDialog::OnRemoteCommand(WPARAM digit, LPARAM action) {
  if (session.Recording() || session.Timeshifting()) return TRUE;
  switch (static_cast<ViewerRemoteAction>(action)) {
    case ViewerRemoteAction::Digit:
      OnDigit(static_cast<int>(digit));
      break;
    case ViewerRemoteAction::ChannelUp:
      ChangeChannel(ChannelStep::Up);
      break;
    case ViewerRemoteAction::ChannelDown:
      ChangeChannel(ChannelStep::Down);
      break;
    case ViewerRemoteAction::Recall:
      ChangeChannel(ChannelStep::Recall);
      break;
    case ViewerRemoteAction::DisplaySwitch:
      ToggleDisplay();
      break;
  }
  return TRUE;
}

// Side buttons on the panel: 1 channel down, 2 channel up, not while the
// timeshift runs.
INT_PTR ViewerDialog::OnSideButton(WPARAM wParam) {
  if (session.Timeshifting()) return TRUE;
  const WORD button = GET_XBUTTON_WPARAM(wParam);
  if (button == XBUTTON1) ChangeChannel(ChannelStep::Down);
  if (button == XBUTTON2) ChangeChannel(ChannelStep::Up);
  return TRUE;
}

void ViewerDialog::OnVideoMouse(VideoMouse action, bool onFrame) {
  switch (action) {
    case VideoMouse::LeftDoubleClick:
      ToggleFullScreen();
      panelActive = false;
      BringWindowToTop(video.Handle());
      break;
    case VideoMouse::LeftDown:
      panelActive = false;
      break;
    case VideoMouse::RightDown:
      panelActive = true;
      BringWindowToTop(hwnd);
      break;
    case VideoMouse::RightDoubleClick:
      ToggleParking();
      break;
    case VideoMouse::SideButton1:
    case VideoMouse::SideButton2:
      // On the frame the buttons wait for the timeshift to end; on the
      // picture they always act.
      if (onFrame && session.Timeshifting()) break;
      ChangeChannel(action == VideoMouse::SideButton1 ? ChannelStep::Down : ChannelStep::Up);
      break;
  }
}

// --- Channel navigation ---

// While a recording runs the channel is held, whatever asks for a change:
// the caption says why for its three seconds. True when held.
bool ViewerDialog::ShowChannelHeld() {
  if (!session.ChannelHeld()) return false;
  ShowOsdText("RECORDING");
  return true;
}

void ViewerDialog::ChangeChannel(ChannelStep step) {
  if (!session.HasChannels() || ShowChannelHeld()) return;
  KillTimers();
  signalTicks = 0;
  osdTicks = 0;
  const std::optional<float> level =
      session.Settings().perChannelVolume ? SpeakerVolume::Read() : std::nullopt;
  ApplyChannelChange(session.Step(step, level));
}

void ViewerDialog::GoToChannel(int index) {
  if (!session.HasChannels() || ShowChannelHeld()) return;
  KillTimers();
  signalTicks = 0;
  osdTicks = 0;
  const std::optional<float> level =
      session.Settings().perChannelVolume ? SpeakerVolume::Read() : std::nullopt;
  ApplyChannelChange(session.GoTo(index, level));
}

// Tunes the channel the session chose and gives back what it kept for it.
void ViewerDialog::ApplyChannelChange(const std::optional<ChannelChange>& change) {
  HWND foreground = GetForegroundWindow();
  if (change) {
    // A tuning failure has shown its message; the panel shows the channel
    // chosen all the same.
    engine.TuneChannel(change->tune);
    if (change->volume) SpeakerVolume::Set(*change->volume);
    if (change->aspectChanged) SetAspect(session.Settings().aspectMode);
    if (const ChannelEntry* channel = session.CurrentChannel()) {
      SetItemText(IDC_CHANNEL_DISPLAY, ChannelCaption(*channel));
    }
    ShowChannelOsd();
    // In timeshift, playback follows to the live edge of the new channel.
    if (session.Timeshifting()) transport.AfterChannelChange();
  }
  if (foreground == hwnd || foreground == video.Handle()) BringWindowToTop(foreground);
  StartTimers();
}

// A digit from the remote control: the first starts the entry and its
// timer; the caption shows what is typed so far. A value that is no digit
// changes nothing, so the caption on screen still goes at its time.
void ViewerDialog::OnDigit(int digit) {
  const bool first = digits.StartsEntry(digit);
  if (first) {
    KillTimer(hwnd, kOsdTimer);
    osdTicks = 0;
  }
  const std::optional<std::string> caption = digits.Press(digit);
  if (!caption) return;
  if (session.Settings().displayRemoteChannelNumber) ShowOsdText(*caption);
  if (first) SetTimer(hwnd, kDigitTimer, kDigitPeriod, nullptr);
}

void ViewerDialog::OnDigitTimer() {
  const std::optional<TypedChannelNumber> typed = digits.Tick();
  if (!typed) return;
  KillTimer(hwnd, kDigitTimer);
  if (const std::optional<int> index = session.FindByNumber(typed->major, typed->minor)) {
    GoToChannel(*index);
  } else {
    osd.Hide();
  }
}

// --- Label menus ---

void ViewerDialog::ShowChannelMenu() {
  if (!session.HasChannels() || ShowChannelHeld()) return;
  PopupMenu menu;
  for (const ChannelEntry& c : session.Channels()) {
    menu.Item(c.name + "  \t" + Format("%i-%i", c.major, DisplayedMinor(c.minor)));
  }
  if (const int chosen = menu.Track(hwnd)) GoToChannel(chosen - 1);
}

void ViewerDialog::ShowRecordMenu() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  const std::vector<RecordChoice> forChoices = RecordForChoices();
  const std::vector<RecordChoice> untilChoices = RecordUntilChoices(now.wHour, now.wMinute);

  PopupMenu menu;
  const int dialog = menu.Item("RECORD...");
  menu.Separator();
  menu.Title("RECORD FOR-");
  const int firstFor = menu.Item(forChoices.front().text);
  for (std::size_t i = 1; i < forChoices.size(); ++i) menu.Item(forChoices[i].text);
  menu.Separator();
  menu.Title("RECORD UNTIL-");
  const int firstUntil = menu.Item(untilChoices.front().text);
  for (std::size_t i = 1; i < untilChoices.size(); ++i) menu.Item(untilChoices[i].text);

  const int chosen = menu.Track(hwnd);
  const RecordChoice* choice = nullptr;
  if (chosen >= firstFor && chosen < firstFor + static_cast<int>(forChoices.size())) {
    choice = &forChoices[static_cast<std::size_t>(chosen - firstFor)];
  } else if (chosen >= firstUntil &&
             chosen < firstUntil + static_cast<int>(untilChoices.size())) {
    choice = &untilChoices[static_cast<std::size_t>(chosen - firstUntil)];
  }
  if (chosen == dialog) {
    transport.OpenRecordDialog();
  } else if (choice != nullptr) {
    transport.StartRecording(ClockSpan{choice->minutes / 60, choice->minutes % 60});
  }
}
