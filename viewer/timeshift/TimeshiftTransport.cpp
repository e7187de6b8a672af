#include "viewer/timeshift/TimeshiftTransport.h"

#include <cstdio>
#include <string>

#include "core/files/FileNames.h"
#include "core/protocol/EventLog.h"
#include "core/protocol/RecordingNames.h"
#include "viewer/record/RecordDialog.h"
#include "viewer/record/RecordingStart.h"
#include "viewer/resource.h"
#include "viewer/timeshift/TimeshiftCommands.h"
#include "win/LocalNow.h"
#include "win/RegistryFolder.h"

namespace {

// The panel's timers that these groups start and stop besides their own.
constexpr UINT_PTR kSignalTimer = 1;
constexpr UINT_PTR kOsdTimer = 2;
constexpr UINT_PTR kRefitTimer = 4;     // re-fits the picture after a move; keeps at live
constexpr UINT_PTR kPausedTimer = 5;    // the delay growing while paused
constexpr UINT_PTR kFrozenTimer = 6;    // a frozen buffer playing out, by quarter minutes
constexpr UINT_PTR kLastSecondsTimer = 7;
constexpr UINT kHalfSecond = 500;
constexpr UINT kQuarterMinute = 15000;

constexpr int kRefitTicks = 12;        // six seconds of re-fitting
constexpr int kFirstLiveEdgeTick = 7;  // from the 7th tick on, playback goes to live
constexpr int kLiveEdgeSkip = 30;

constexpr int kSkipSizes[] = {15, 30, 60, 120};
constexpr const char* kSkipItems[] = {"   15 seconds", "   30 seconds", "   1 minute",
                                      "   2 minutes"};

std::string ChannelNumbers(const ChannelEntry& channel) {
  char text[32];
  std::snprintf(text, sizeof text, "%i-%i", channel.major, channel.minor < 0 ? 1 : channel.minor);
  return text;
}

}  // namespace

TimeshiftTransport::TimeshiftTransport(TvEngine& engine, ViewerSession& session)
    : engine(engine), session(session) {}

void TimeshiftTransport::Attach(HWND panelWindow, TimeshiftHost& panelHost) {
  panel = panelWindow;
  host = &panelHost;
  engine.SetPlaybackEventWindow(panel, kPlaybackEventMessage);
}

bool TimeshiftTransport::OnCommand(int id, int code) {
  // A click, a key of the accelerator table or a menu item; nothing else.
  if (code != BN_CLICKED && code != 1) return false;
  switch (id) {
    case IDC_PAUSE: Pause(); return true;
    case IDC_PLAY: Play(); return true;
    case IDC_SKIP_BACK: SkipBack(); return true;
    case IDC_SKIP_FORWARD: SkipForward(); return true;
    case IDC_JUMP_START: JumpToStart(); return true;
    case IDC_JUMP_LIVE: JumpToLive(); return true;
    case IDC_STOP_BUFFERING: StopBuffering(); return true;
    case IDC_TIMESHIFT_STATE: ShowTimeshiftMenu(); return true;
    case IDC_TIMESHIFT_CHANNEL: ShowChannelMenu(); return true;
    case IDC_SKIP_LABEL: ShowSkipMenu(); return true;
    case IDC_RECORD: RecordCommand(); return true;
    case IDM_STOP: StopCommand(); return true;
    case IDM_RECORD_DIALOG: OpenRecordDialog(); return true;
    case IDM_TIMESHIFT_ON:
      if (!engine.IsTimeshifting()) TimeshiftOn(false);
      return true;
    case IDM_TIMESHIFT_ON_PAUSE:
      if (engine.IsTimeshifting()) {
        Pause();
      } else {
        TimeshiftOn(true);
      }
      return true;
    case IDM_TIMESHIFT_OFF:
      if (InTimeshift()) TimeshiftOff();
      return true;
    default:
      break;
  }
  for (int i = 0; i < 4; ++i) {
    if (id == IDM_SKIP_FORWARD_FIRST + i) session.Settings().skipForwardSeconds = kSkipSizes[i];
    if (id == IDM_SKIP_BACK_FIRST + i) session.Settings().skipBackSeconds = kSkipSizes[i];
    if (id == IDM_SKIP_FORWARD_FIRST + i || id == IDM_SKIP_BACK_FIRST + i) return true;
  }
  const int channel = id - IDM_TIMESHIFT_CHANNEL_FIRST;
  if (channel >= 0 && channel < static_cast<int>(kMaxChannels)) {
    ChooseTimeshiftChannel(channel);
    return true;
  }
  return false;
}

bool TimeshiftTransport::OnTimer(UINT_PTR id) {
  switch (id) {
    case kRefitTimer: OnTimer4(); return true;
    case kPausedTimer:
      ShowBehindLive(BehindLiveText(clock.BehindLiveWhilePaused(LocalNow())));
      return true;
    case kFrozenTimer: OnTimer6(); return true;
    case kLastSecondsTimer: OnTimer7(); return true;
    default: return false;
  }
}

// Timeshift as the panel shows it: on, and not a recording.
bool TimeshiftTransport::InTimeshift() const {
  return engine.IsTimeshifting() && !engine.IsRecording();
}

void TimeshiftTransport::TimeshiftOn(bool pause) {
  if (engine.IsTimeshifting()) return;
  SetText(IDC_TIMESHIFT_STATE, pause ? "ON+PAUSE" : "ON");
  Enable({IDC_PAUSE, IDC_SKIP_BACK, IDC_SKIP_FORWARD, IDC_JUMP_START, IDC_JUMP_LIVE,
          IDC_STOP_BUFFERING, IDC_TIMESHIFT_CHANNEL, IDC_SKIP_LABEL, IDC_BEHIND_LIVE,
          IDC_TIMESHIFT_POSITION},
         true);
  Enable({IDC_PLAY, IDC_RECORD, IDC_RECORD_STATE}, false);
  if (const ChannelEntry* channel = session.CurrentChannel()) {
    SetText(IDC_TIMESHIFT_CHANNEL, ChannelNumbers(*channel));
  }
  for (UINT_PTR timer : {kSignalTimer, kOsdTimer, kRefitTimer}) KillTimer(panel, timer);
  engine.ToggleTimeshift(session);  // a failure has shown its messages
  if (!engine.IsTimeshifting()) {
    // The move failed and live television runs again.
    ShowLiveControls();
    host->RestartSignalTimer();
    return;
  }
  clock.Start(LocalNow());
  host->RestartCaptionTimer();
  RestartTimer(kRefitTimer, kHalfSecond);
  if (pause) Pause();
}

void TimeshiftTransport::TimeshiftOff() {
  ShowLiveControls();
  KillTimer(panel, kRefitTimer);
  for (UINT_PTR timer : {kPausedTimer, kFrozenTimer, kLastSecondsTimer}) KillTimer(panel, timer);
  engine.ToggleTimeshift(session);  // a failure has shown its messages
  clock.Stop();
  host->RestartSignalTimer();
}

// The panel at live television: timeshift off, pause and record ready.
void TimeshiftTransport::ShowLiveControls() {
  SetText(IDC_TIMESHIFT_STATE, "OFF");
  Enable({IDC_PLAY, IDC_SKIP_BACK, IDC_SKIP_FORWARD, IDC_JUMP_START, IDC_JUMP_LIVE,
          IDC_STOP_BUFFERING, IDC_TIMESHIFT_CHANNEL, IDC_SKIP_LABEL, IDC_BEHIND_LIVE,
          IDC_TIMESHIFT_POSITION},
         false);
  Enable({IDC_PAUSE, IDC_RECORD, IDC_RECORD_STATE, IDC_TIMESHIFT_STATE}, true);
  SetText(IDC_TIMESHIFT_CHANNEL, "");
  ShowBehindLive("00:00:00");
}

void TimeshiftTransport::Pause() {
  if (engine.IsRecording()) return;
  if (!engine.IsTimeshifting()) {
    TimeshiftOn(true);
    return;
  }
  if (clock.Paused()) return;
  KillTimer(panel, kPausedTimer);
  engine.PausePlayback();
  Enable({IDC_PAUSE, IDC_SKIP_BACK, IDC_SKIP_FORWARD, IDC_JUMP_LIVE, IDC_JUMP_START}, false);
  Enable({IDC_PLAY}, true);
  SetText(IDC_TIMESHIFT_STATE, "ON+PAUSE");
  clock.Pause(LocalNow());
  if (!clock.BufferFrozen()) SetTimer(panel, kPausedTimer, kQuarterMinute, nullptr);
}

void TimeshiftTransport::Play() {
  if (!InTimeshift() || !clock.Paused()) return;
  engine.ResumePlayback();
  KillTimer(panel, kPausedTimer);
  Enable({IDC_PAUSE, IDC_SKIP_BACK, IDC_SKIP_FORWARD, IDC_JUMP_LIVE, IDC_JUMP_START}, true);
  Enable({IDC_PLAY}, false);
  SetText(IDC_TIMESHIFT_STATE, "ON");
  if (clock.Play(LocalNow())) ShowBehindLive();
}

void TimeshiftTransport::SkipBack() {
  if (!InTimeshift()) return;
  const int skip = session.Settings().skipBackSeconds;
  clock.SkipBack(engine.GetPlaybackPosition() / kUnitsPerSecond, skip);
  ShowBehindLive();
  engine.SkipBack(skip);
  if (clock.BufferFrozen()) {
    KillTimer(panel, kLastSecondsTimer);
    RestartTimer(kFrozenTimer, kQuarterMinute);
  }
}

void TimeshiftTransport::SkipForward() {
  if (!InTimeshift()) return;
  const int seek = clock.SkipForward(session.Settings().skipForwardSeconds);
  ShowBehindLive();
  engine.SkipForward(seek);
  if (clock.BufferFrozen()) {
    KillTimer(panel, kLastSecondsTimer);
    RestartTimer(kFrozenTimer, kQuarterMinute);
  }
}

void TimeshiftTransport::JumpToStart() {
  if (!InTimeshift()) return;
  clock.JumpToStart(LocalNow());
  ShowBehindLive();
  engine.SeekToStart();
}

void TimeshiftTransport::JumpToLive() {
  if (!InTimeshift()) return;
  engine.SkipForward(clock.JumpToLive());
  ShowBehindLive();
}

// The buffer no longer fills; what it holds plays out, counted down.
void TimeshiftTransport::StopBuffering() {
  if (!InTimeshift() || clock.BufferFrozen()) return;
  engine.StopBuffering();
  clock.FreezeBuffer();
  KillTimer(panel, kPausedTimer);
  RestartTimer(kFrozenTimer, kQuarterMinute);
}

void TimeshiftTransport::OnPlaybackEvent() {
  const int skipped = engine.PassTimeHoles();
  if (skipped <= 0 || !InTimeshift()) return;
  clock.PassTimeHole(skipped);
  if (!clock.Paused()) ShowBehindLive();
}

void TimeshiftTransport::OnTimer4() {
  if (++timer4Ticks > kRefitTicks) {
    KillTimer(panel, kRefitTimer);
    timer4Ticks = 0;
    return;
  }
  host->FitVideo();
  if (timer4Ticks >= kFirstLiveEdgeTick && engine.IsTimeshifting() && !clock.Paused()) {
    engine.SkipForward(kLiveEdgeSkip);
  }
}

void TimeshiftTransport::OnTimer6() {
  if (clock.FrozenQuarterMinute()) {
    ShowBehindLive();
    return;
  }
  KillTimer(panel, kFrozenTimer);
  RestartTimer(kLastSecondsTimer, 1000);
}

void TimeshiftTransport::OnTimer7() {
  if (const std::optional<std::string> text = clock.FrozenSecond()) {
    ShowBehindLive(*text);
    return;
  }
  KillTimer(panel, kLastSecondsTimer);
  ShowBehindLive("00:00:00");
}

void TimeshiftTransport::AfterChannelChange() {
  if (!InTimeshift()) return;
  KillTimer(panel, kRefitTimer);
  engine.SkipForward(clock.JumpToLive());
  ShowBehindLive("00:00:00");
  RestartTimer(kRefitTimer, kHalfSecond);
}

void TimeshiftTransport::StartRecording(const ClockSpan& duration,
                                        std::optional<WhenDone> done) {
  if (duration.IsZero()) return;
  StartRecordingUntil(StopTimeAfter(LocalNow(), duration), duration, done);
}

void TimeshiftTransport::StartRecordingUntil(const CivilTime& stop, const ClockSpan& planned,
                                             std::optional<WhenDone> done) {
  if (engine.IsTimeshifting() || engine.IsRecording() || !(LocalNow() < stop)) return;
  // The start's steps on this panel's engine and window.
  class Steps final : public RecordingStartSteps {
   public:
    Steps(TimeshiftTransport& transport, const RecordingClock& clock)
        : transport(transport), clock(clock) {}
    bool StartRecording() override {
      return SUCCEEDED(transport.engine.StartRecordingFromLive(transport.session)) &&
             transport.engine.IsRecording();
    }
    bool OpenNowWindow() override {
      return transport.nowWindow.Open(transport.panel, transport.engine.RecordingFileName(), clock);
    }
    void StopRecording() override { transport.OnRecordingStop(false); }
    void Tell(const std::string& text) override {
      MessageBoxA(nullptr, text.c_str(), "", MB_OK | MB_ICONEXCLAMATION);
    }

   private:
    TimeshiftTransport& transport;
    const RecordingClock clock;
  } steps(*this, RecordingClock(stop, planned));
  if (StartRecordingWithWindow(steps) != RecordingStartResult::Running) return;
  whenDone = done;
  timer4Ticks = 0;
  RestartTimer(kRefitTimer, kHalfSecond);
  SetText(IDC_RECORD_STATE, "ON");
  Enable({IDC_RECORD, IDC_TIMESHIFT_STATE, IDC_PAUSE, IDOK, IDC_CHANNEL_UP, IDC_CHANNEL_DOWN,
          IDC_RECALL},
         false);
}

void TimeshiftTransport::OpenRecordDialog() {
  if (engine.IsTimeshifting() || engine.IsRecording()) return;
  std::string path;
  const ChannelEntry* channel = session.CurrentChannel();
  if (const std::optional<std::string> folder =
          ReadFolderValue(session.RecordRegistryKey(), "Record")) {
    path = LiveRecordingName(*folder, channel ? channel->major : 0, channel ? channel->minor : 0,
                             LocalNow());
  }
  RecordDialog dialog;
  if (const std::optional<RecordRequest> request = dialog.Ask(panel, path)) {
    StartRecording(request->duration);
  }
}

void TimeshiftTransport::RecordCommand() {
  if (engine.IsRecording()) {
    nowWindow.AddTime(ClockSpan{0, 10});
    return;
  }
  StartRecording(ClockSpan{1, 0});
}

void TimeshiftTransport::StopCommand() {
  if (engine.IsRecording()) {
    engine.StopRecording();
    OnRecordingStop(false);
  } else if (engine.IsTimeshifting()) {
    TimeshiftOff();
  }
}

// The STOP procedure: the recording ends whole, the event log says so, and
// the viewer either ends (a scheduled recording that ran to its time with
// the scheduler there) or goes back to live television.
void TimeshiftTransport::OnRecordingStop(bool byTime) {
  if (EndRecording(byTime)) {
    PostMessageA(panel, WM_COMMAND, IDOK, 0);  // the exit command
    return;
  }
  engine.ReturnToLive(session);  // a failure has shown its messages
  KillTimer(panel, kRefitTimer);
  SetTimer(panel, kSignalTimer, kHalfSecond, nullptr);
  Enable({IDC_RECORD, IDC_TIMESHIFT_STATE, IDC_PAUSE, IDOK, IDC_CHANNEL_UP, IDC_CHANNEL_DOWN,
          IDC_RECALL},
         true);
  SetText(IDC_RECORD_STATE, "OFF");
  session.SetRecording(false);
}

// The STOP procedure up to the return to live: the recording ends whole,
// the event log gets its entry and the window closes. True when the viewer
// is to end now (a scheduled recording with "CLOSE" that ran to its time,
// the scheduler being there).
bool TimeshiftTransport::EndRecording(bool byTime) {
  engine.StopRecording();
  const CivilTime now = LocalNow();
  EventLog::Append(FileNames::kEventLog, EventLog::RecordingStopped(now.hour, now.minute, now.second));
  HWND scheduler = nullptr;
  if (const TuningModel* model = session.ModelRow()) {
    scheduler = FindWindowA(nullptr, WindowTitle(*model, ProgramWindow::Scheduler).c_str());
  }
  const bool closeViewer = scheduler != nullptr && byTime && whenDone == WhenDone::Close;
  whenDone.reset();
  nowWindow.Close();
  return closeViewer;
}

void TimeshiftTransport::EndRecordingForExit() {
  if (!engine.IsRecording()) return;
  EndRecording(false);
  session.SetRecording(false);
}

void TimeshiftTransport::ShowTimeshiftMenu() {
  if (engine.IsRecording()) return;
  const char* state = !engine.IsTimeshifting() ? "OFF" : clock.Paused() ? "ON+PAUSE" : "ON";
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING | MF_GRAYED, 0, ("TIMESHIFT: " + std::string(state)).c_str());
  AppendMenuA(menu, MF_STRING, IDM_TIMESHIFT_ON, "   ON");
  AppendMenuA(menu, MF_STRING, IDM_TIMESHIFT_ON_PAUSE, "   ON+PAUSE");
  AppendMenuA(menu, MF_STRING, IDM_TIMESHIFT_OFF, "   OFF");
  const int chosen = ShowPopup(menu, IDC_TIMESHIFT_STATE);
  if (chosen != 0) OnCommand(chosen);
}

void TimeshiftTransport::ShowSkipMenu() {
  const ViewerConfig& c = session.Settings();
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING | MF_GRAYED, 0,
              ("SKIP FF: " + std::to_string(c.skipForwardSeconds) + " SECS").c_str());
  for (int i = 0; i < 4; ++i) AppendMenuA(menu, MF_STRING, IDM_SKIP_FORWARD_FIRST + i, kSkipItems[i]);
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING | MF_GRAYED, 0,
              ("SKIP RW: " + std::to_string(c.skipBackSeconds) + " SECS").c_str());
  for (int i = 0; i < 4; ++i) AppendMenuA(menu, MF_STRING, IDM_SKIP_BACK_FIRST + i, kSkipItems[i]);
  const int chosen = ShowPopup(menu, IDC_SKIP_LABEL);
  if (chosen != 0) OnCommand(chosen);
}

void TimeshiftTransport::ShowChannelMenu() {
  if (!InTimeshift()) return;
  HMENU menu = CreatePopupMenu();
  const std::vector<ChannelEntry>& channels = session.Channels();
  for (size_t i = 0; i < channels.size() && i < kMaxChannels; ++i) {
    AppendMenuA(menu, MF_STRING, IDM_TIMESHIFT_CHANNEL_FIRST + static_cast<int>(i),
                ChannelNumbers(channels[i]).c_str());
  }
  const int chosen = ShowPopup(menu, IDC_TIMESHIFT_CHANNEL);
  if (chosen != 0) OnCommand(chosen);
}

// The panel's channel change (which brings playback to live on the new
// channel), then the number in this group's label.
void TimeshiftTransport::ChooseTimeshiftChannel(int index) {
  if (!InTimeshift()) return;
  host->GoToChannel(index);
  if (const ChannelEntry* channel = session.CurrentChannel()) {
    SetText(IDC_TIMESHIFT_CHANNEL, ChannelNumbers(*channel));
  }
}

// A popup at the label that opened it; the chosen command, or 0. As with
// the panel's other popups, the panel comes to the foreground first: only
// then does a click elsewhere close the menu.
int TimeshiftTransport::ShowPopup(HMENU menu, int anchorId) {
  RECT anchor{};
  GetWindowRect(GetDlgItem(panel, anchorId), &anchor);
  SetForegroundWindow(panel);
  const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN,
                                    anchor.left, anchor.bottom, 0, panel, nullptr);
  PostMessageA(panel, WM_NULL, 0, 0);  // the benign message a menu opened this way needs after it
  DestroyMenu(menu);
  return chosen;
}

void TimeshiftTransport::ShowBehindLive() { ShowBehindLive(BehindLiveText(clock.BehindLive())); }

void TimeshiftTransport::ShowBehindLive(const std::string& text) { SetText(IDC_BEHIND_LIVE, text); }

void TimeshiftTransport::Enable(std::initializer_list<int> ids, bool enable) {
  for (int id : ids) EnableWindow(GetDlgItem(panel, id), enable ? TRUE : FALSE);
}

void TimeshiftTransport::SetText(int id, const std::string& text) {
  SetDlgItemTextA(panel, id, text.c_str());
}

void TimeshiftTransport::RestartTimer(UINT_PTR id, UINT period) {
  KillTimer(panel, id);
  if (id == kRefitTimer) timer4Ticks = 0;
  SetTimer(panel, id, period, nullptr);
}
