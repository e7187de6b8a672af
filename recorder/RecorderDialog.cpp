#include "recorder/RecorderDialog.h"

#include <commctrl.h>
#include <shellapi.h>

#include <filesystem>

#include "core/files/FileNames.h"
#include "core/protocol/EventLog.h"
#include "core/protocol/ProgramProtocol.h"
#include "graph/GraphMessageBox.h"
#include "graph/RecordingGraphPlan.h"
#include "recorder/SilentEventIntake.h"
#include "recorder/WindowPlacement.h"
#include "recorder/resource.h"
#include "win/AboutDialog.h"
#include "win/LocalNow.h"
#include "win/RegistryFolder.h"

namespace {

constexpr UINT_PTR kClockTimer = 1;
constexpr std::size_t kMaxFolderLength = 1000;

void Exclamation(const char* text) { MessageBoxA(nullptr, text, "", MB_OK | MB_ICONEXCLAMATION); }

}  // namespace

RecorderDialog::RecorderDialog(RecorderVariant variant)
    : Dialog(IDD_RECORDER), variant(variant), session(variant) {}

INT_PTR RecorderDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog();
      return TRUE;
    case WM_COMMAND:
      return OnCommand(wParam);
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == IDM_ABOUTBOX) {
        AboutDialog about(IDD_ABOUTBOX);
        about.Run(hwnd);
        return TRUE;
      }
      return FALSE;
    case WM_TIMER:
      if (wParam == kClockTimer) OnTimer();
      return TRUE;
    case WM_CLOSE:
      // The scheduler posts it to end a recorder; the recording stops first.
      Stop(StopReason::Closed);
      return TRUE;
    case kStartScheduledMessage:
      StartRecording();
      return TRUE;
    case kGraphEventMessage:
      OnGraphEvent();
      return TRUE;
    default:
      return FALSE;
  }
}

void RecorderDialog::OnInitDialog() {
  startStopMessage = RegisterWindowMessageA(ProgramProtocol::kRecorderStartStopMessage);
  shutdownMessage = RegisterWindowMessageA(ProgramProtocol::kShutdownMessage);
  if (HMENU menu = GetSystemMenu(hwnd, FALSE)) {
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, IDM_ABOUTBOX, "&About SilentRecord...");
  }
  HINSTANCE instance = GetModuleHandleA(nullptr);
  const auto icon = [instance](int id, int size) {
    return LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, LR_SHARED);
  };
  SendMessageA(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon(IDI_RECORDER, 32)));
  SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon(IDI_RECORDER, 16)));

  setup = RecorderSetup::Load(std::filesystem::current_path(), variant);
  if (!setup.ownTitle.empty()) SetWindowTextA(hwnd, setup.ownTitle.c_str());
  if (!setup.recordKey.empty()) {
    folder = ReadFolderValue(setup.recordKey, "Record").value_or("");
    if (folder.size() > kMaxFolderLength) folder.resize(kMaxFolderLength);
  }

  for (const ChannelEntry& channel : setup.channels) {
    SendDlgItemMessageA(hwnd, IDC_CHANNEL, CB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(SchedulerChannelCaption(channel).c_str()));
  }
  // The controls' own notifications while they are set up change nothing.
  settingControls = true;
  SendDlgItemMessageA(hwnd, IDC_STOP_PICKER, DTM_SETFORMATA, 0,
                      reinterpret_cast<LPARAM>("hh':'mm' 'tt"));
  SendDlgItemMessageA(hwnd, IDC_HOURS_SPIN, UDM_SETRANGE32, 0, 23);
  SendDlgItemMessageA(hwnd, IDC_MINUTES_SPIN, UDM_SETRANGE32, 0, 59);
  SetSpins({0, 0});
  settingControls = false;
  SendDlgItemMessageA(hwnd, IDC_RECORD, BM_SETIMAGE, IMAGE_ICON,
                      reinterpret_cast<LPARAM>(icon(IDI_RECORD, 16)));
  SendDlgItemMessageA(hwnd, IDC_STOP, BM_SETIMAGE, IMAGE_ICON,
                      reinterpret_cast<LPARAM>(icon(IDI_STOP, 16)));
  SendDlgItemMessageA(hwnd, IDC_PROGRESS, PBM_SETRANGE32, 0, 100);
  SendDlgItemMessageA(hwnd, IDC_PROGRESS, PBM_SETPOS, 0, 0);
  SetItemText(IDC_ELAPSED, "00:00");
  EnableWindow(Item(IDC_STOP), FALSE);
  EnableWindow(Item(IDC_CHANGE), FALSE);

  TakeHandOffFile();
  PlaceWindow();
  SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// A fresh silentevent.txt makes this a scheduled recording, started at once;
// without one (or with one too old or damaged to use) the user records by hand.
void RecorderDialog::TakeHandOffFile() {
  const SilentEventIntake intake = SilentEventIntake::Take(
      FileNames::kSilentEvent, std::filesystem::file_time_type::clock::now());
  const std::string entry = intake.LogEntry(LocalNow());
  if (!entry.empty()) Log(entry);
  if (intake.kind != SilentEventIntake::Kind::Event) {
    SendDlgItemMessageA(hwnd, IDC_CHANNEL, CB_SETCURSEL, 0, 0);
    return;
  }
  event = intake.event;
  eventHandedOver = intake.HandedOver(LocalNow());
  folder = event->folder;
  const auto index = EventChannelIndex(setup.channels, *event);
  SendDlgItemMessageA(hwnd, IDC_CHANNEL, CB_SETCURSEL, index ? *index : 0, 0);
  session.BeginScheduled(event->whenDone == WhenDone::Shutdown);
  PostMessageA(hwnd, kStartScheduledMessage, 0, 0);
}

INT_PTR RecorderDialog::OnCommand(WPARAM wParam) {
  const int id = LOWORD(wParam);
  const int code = HIWORD(wParam);
  switch (id) {
    case IDOK:
    case IDCANCEL:
      OnOk();
      return TRUE;
    case IDC_RECORD:
      if (!session.IsRecording()) StartRecording();
      return TRUE;
    case IDC_STOP:
      if (session.IsRecording()) Stop(StopReason::User);
      return TRUE;
    case IDC_CHANGE:
      OnChange();
      return TRUE;
    case IDC_HOURS:
    case IDC_MINUTES:
      if (code == EN_CHANGE && !settingControls) OnSpinsEdited();
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR RecorderDialog::OnNotify(const NMHDR& header) {
  if (header.idFrom == IDC_STOP_PICKER && header.code == DTN_DATETIMECHANGE && !settingControls) {
    OnPickerChanged();
    return TRUE;
  }
  return FALSE;
}

// "OK" (and Esc): hides the window while recording; otherwise the program ends.
void RecorderDialog::OnOk() {
  if (session.IsRecording()) {
    ShowWindow(hwnd, SW_HIDE);
    return;
  }
  ending = true;
  EndDialog(hwnd, IDOK);
}

void RecorderDialog::StartRecording() {
  if (const auto refusal = session.RefuseStart(Spins())) {
    Exclamation(refusal->c_str());
    return;
  }
  TuneValues channel;
  if (event) {
    channel = EventTuneValues(setup.channels, *event);
  } else {
    const LRESULT index = SendDlgItemMessageA(hwnd, IDC_CHANNEL, CB_GETCURSEL, 0, 0);
    if (index >= 0 && static_cast<std::size_t>(index) < setup.channels.size()) {
      const ChannelEntry& entry = setup.channels[static_cast<std::size_t>(index)];
      channel = TuneValues{entry.physical, entry.major, entry.minor};
    }
  }
  if (!BuildGraph(channel)) {
    Stop(StopReason::BuildFailed);
    return;
  }
  const CivilTime now = LocalNow();
  const RecordingClock clock =
      event ? RecordingClock::ForEvent(now, eventHandedOver, event->endHour, event->endMinute)
            : RecordingClock::ForSpan(now, Spins());
  Log(session.Started(now, clock));
  ShowStartedState();
  int wParam = 0;
  int lParam = 0;
  ProgramProtocol::EncodeRecorderReport(session.StartReport(), wParam, lParam);
  PostToScheduler(startStopMessage, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
  SetTimer(hwnd, kClockTimer, 1000, nullptr);
}

bool RecorderDialog::BuildGraph(const TuneValues& channel) {
  RecordingGraphRequest request;
  request.model = setup.model ? &*setup.model : nullptr;
  request.channel = channel;
  request.fileName = RecordingFileName(variant, folder, channel.major, channel.minor, LocalNow());
  request.folder = folder;
  request.recordKey = setup.recordKey;
  SetItemText(IDC_FILENAME, request.fileName);
  const GraphPlan plan = RecorderVariantFacts::For(variant).transportStream
                             ? TransportStreamRecordingPlan(request.model)
                             : StreamBufferRecordingPlan(request.model);
  GraphOutcome outcome = BuildRecordingGraph(graph, request, plan);
  GraphOutcome shown{outcome.result, {}};
  for (const GraphMessage& message : outcome.messages) {
    if (session.Shows(message.text)) shown.messages.push_back(message);
  }
  if (outcome.Failed() && !session.Scheduled()) {
    shown.messages.push_back(Exclaim(RecorderSession::kCantBuildGraph));
  }
  ShowGraphMessages(shown);
  if (outcome.Failed()) return false;
  // Without graph events a full disk would go unnoticed until the stop time;
  // the recording itself still runs.
  NotifyGraphEvents(graph, hwnd, kGraphEventMessage);
  return true;
}

void RecorderDialog::ShowStartedState() {
  const RecordingClock& clock = session.Clock();
  SetItemText(IDC_STOP_TIME, clock.StopText());
  SetItemText(IDC_DURATION, clock.PlannedText());
  EnableWindow(Item(IDC_STOP), TRUE);
  EnableWindow(Item(IDC_CHANGE), TRUE);
  EnableWindow(Item(IDC_RECORD), FALSE);
  EnableWindow(Item(IDC_CHANNEL), FALSE);
  settingControls = true;
  SetSpins({0, 0});
  settingControls = false;
}

void RecorderDialog::OnTimer() {
  const RecorderSession::Tick tick = session.OnTimer(LocalNow());
  if (!session.IsRecording()) return;
  SetItemText(IDC_ELAPSED, tick.elapsedText);
  SendDlgItemMessageA(hwnd, IDC_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(tick.percent), 0);
  if (tick.hide) ShowWindow(hwnd, SW_HIDE);
  if (tick.stop) Stop(StopReason::EndOfTime);
}

// A write that fails (a full disk: the dump filter's abort, the stream
// buffer's own event) or another abort of the graph ends the recording the
// way its stop time would; the file is whole up to its last packet or unit.
void RecorderDialog::OnGraphEvent() {
  const RecordingEnd end = TakeGraphEvents(graph);
  if (end == RecordingEnd::None || !session.IsRecording()) return;
  Stop(end == RecordingEnd::WriteFailure ? StopReason::WriteFailure : StopReason::Aborted);
}

void RecorderDialog::OnChange() {
  const HoursMinutes span = Spins();
  if (!session.IsRecording() || (span.hours == 0 && span.minutes == 0)) return;
  session.Clock().Extend(span);
  SetItemText(IDC_STOP_TIME, session.Clock().StopText());
  SetItemText(IDC_DURATION, session.Clock().PlannedText());
  settingControls = true;
  SetSpins({0, 0});
  settingControls = false;
}

void RecorderDialog::Stop(StopReason reason) {
  if (ending) return;
  ending = true;
  KillTimer(hwnd, kClockTimer);  // fails only when it was never set
  TearDownRecordingGraph(graph);
  const RecorderSession::StopEffects effects = session.Stop(reason, LocalNow());
  if (!effects.log.empty()) Log(effects.log);
  if (effects.postShutdown) PostToScheduler(shutdownMessage, 0, 0);
  int wParam = 0;
  int lParam = 0;
  ProgramProtocol::EncodeRecorderReport(ProgramProtocol::RecorderReport::Stopped, wParam, lParam);
  PostToScheduler(startStopMessage, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
  EndDialog(hwnd, IDOK);
}

HoursMinutes RecorderDialog::Spins() const {
  const auto position = [this](int id) {
    return static_cast<int>(SendDlgItemMessageA(hwnd, id, UDM_GETPOS32, 0, 0));
  };
  return {position(IDC_HOURS_SPIN), position(IDC_MINUTES_SPIN)};
}

void RecorderDialog::SetSpins(HoursMinutes span) {
  SendDlgItemMessageA(hwnd, IDC_HOURS_SPIN, UDM_SETPOS32, 0, span.hours);
  SendDlgItemMessageA(hwnd, IDC_MINUTES_SPIN, UDM_SETPOS32, 0, span.minutes);
}

HoursMinutes RecorderDialog::StopOrNow() const {
  if (session.IsRecording()) return {session.Clock().Stop().hour, session.Clock().Stop().minute};
  const CivilTime now = LocalNow();
  return {now.hour, now.minute};
}

// The spins were edited: the picker shows when the recording would stop.
void RecorderDialog::OnSpinsEdited() {
  const HoursMinutes base = StopOrNow();
  const HoursMinutes at = TimeOfDayAfter(base.hours, base.minutes, Spins());
  SYSTEMTIME time{};
  GetLocalTime(&time);
  time.wHour = static_cast<WORD>(at.hours);
  time.wMinute = static_cast<WORD>(at.minutes);
  time.wSecond = 0;
  settingControls = true;
  SendDlgItemMessageA(hwnd, IDC_STOP_PICKER, DTM_SETSYSTEMTIME, GDT_VALID,
                      reinterpret_cast<LPARAM>(&time));
  settingControls = false;
}

// A time was picked: the spins hold the span to it.
void RecorderDialog::OnPickerChanged() {
  SYSTEMTIME picked{};
  if (SendDlgItemMessageA(hwnd, IDC_STOP_PICKER, DTM_GETSYSTEMTIME, 0,
                          reinterpret_cast<LPARAM>(&picked)) != GDT_VALID)
    return;
  const HoursMinutes base = StopOrNow();
  settingControls = true;
  SetSpins(SpanBetween(base.hours, base.minutes, picked.wHour, picked.wMinute));
  settingControls = false;
}

void RecorderDialog::PlaceWindow() {
  APPBARDATA bar{};
  bar.cbSize = sizeof bar;
  Rect taskbar{0, 0, 0, 0};
  if (SHAppBarMessage(ABM_GETTASKBARPOS, &bar) != 0) {
    taskbar = Rect{bar.rc.left, bar.rc.top, bar.rc.right, bar.rc.bottom};
  }
  RECT window{};
  GetWindowRect(hwnd, &window);
  const Size screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  const Point at = PlaceBesideTaskbar(
      taskbar, screen, Size{window.right - window.left, window.bottom - window.top});
  SetWindowPos(hwnd, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void RecorderDialog::Log(const std::string& entry) const {
  EventLog::Append(FileNames::kEventLog, entry);  // a log that cannot be written loses the entry
}

// A scheduler that is not running finds no window, and the message is lost.
void RecorderDialog::PostToScheduler(UINT message, WPARAM wParam, LPARAM lParam) const {
  if (setup.schedulerTitle.empty()) return;
  if (HWND scheduler = FindWindowA(nullptr, setup.schedulerTitle.c_str())) {
    PostMessageA(scheduler, message, wParam, lParam);
  }
}
