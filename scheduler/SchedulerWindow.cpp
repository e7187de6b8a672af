#include "scheduler/SchedulerWindow.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "core/files/FileNames.h"
#include "core/protocol/HandOffFiles.h"
#include "core/schedule/ScheduleFile.h"
#include "core/schedule/ScheduleRow.h"
#include "scheduler/EventIntake.h"
#include "scheduler/resource.h"
#include "win/AboutDialog.h"
#include "win/FolderBrowser.h"
#include "win/LocalNow.h"
#include "win/RegistryFolder.h"
#include "win/SystemTimes.h"

using SchedulerWindowRules::ClockTime;

namespace {

// Fixed texts of the window.
constexpr const char* kDateFormat = "ddd', 'MMM' 'dd', 'yyy";
constexpr const char* kTimeFormat = "hh':'mm' 'tt";
constexpr const char* kNoFolder = "SAVE TO";
constexpr const char* kAboutItem = "&About TelvantisSched...";
constexpr const char* kFolderTitle = "Select Folder";
constexpr const char* kRecordValue = "Record";
constexpr const char* kTimeshiftValue = "Timeshift";
constexpr UINT kTrayIconId = 1;
// A step of the local clock beyond this many seconds more than time passed.
constexpr long long kClockStepSeconds = 60;

struct Column {
  const char* heading;
  int width;  // LVSCW_AUTOSIZE_USEHEADER: as wide as its heading
};
constexpr Column kColumns[] = {
    {"DATE", 100}, {"CH", 85}, {"START", 65}, {"END", 65}, {"DURATION", LVSCW_AUTOSIZE_USEHEADER},
    {"TYPE", 110}, {"FREQUENCY", LVSCW_AUTOSIZE_USEHEADER}, {"WHEN DONE", LVSCW_AUTOSIZE_USEHEADER},
    {"SAVE TO", 300}};

// The record and timeshift keys are made at start when they are missing, so
// that the viewer's folder setup and the user find them in place. Under
// HKEY_LOCAL_MACHINE first; a user who may not write there gets them under
// HKEY_CURRENT_USER, the root the folders are read from next. Values are
// never written here: a missing value leaves the folder as it was.
void CreateFolderKey(const std::string& key) {
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    HKEY created = nullptr;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_QUERY_VALUE,
                        nullptr, &created, nullptr) == ERROR_SUCCESS) {
      UniqueHkey owner(created);
      return;
    }
  }
}

void AddComboItems(HWND combo, std::initializer_list<const char*> items) {
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  for (const char* item : items) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  SendMessageA(combo, CB_SETCURSEL, 0, 0);
}

}  // namespace

SchedulerWindow::SchedulerWindow(SchedulerSetup setup, SchedulerVariant variant)
    : Dialog(IDD_SCHEDULER),
      setup(std::move(setup)),
      variant(variant),
      names(SchedulerVariantNames::For(variant)) {}

SchedulerWindow::~SchedulerWindow() { RemoveTrayIcon(); }

INT_PTR SchedulerWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog();
      return TRUE;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_NOTIFY:
      OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
      return TRUE;
    case WM_TIMER:
      OnTimer(wParam);
      return TRUE;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == IDM_ABOUT) {
        AboutDialog(IDD_ABOUTBOX).Run(hwnd);
        return TRUE;
      }
      return FALSE;
    case WM_CLOSE:
      // The close box hides the window; "Exit Scheduler" ends the program.
      DismissWindow();
      return TRUE;
    case WM_DESTROY:
      RemoveTrayIcon();
      PostQuitMessage(0);
      return TRUE;
    default:
      break;
  }
  if (message == trayCallbackMessage) {
    OnTrayIcon(lParam);
    return TRUE;
  }
  if (message == eventFinishedMessage) {
    WithEngine([this, wParam, lParam] { engine->EventFinished(wParam == 1, lParam == 1, LocalNow()); });
    return TRUE;
  }
  if (message == kShowMessage) {
    OpenScheduler();
    return TRUE;
  }
  if (message == taskbarCreatedMessage && taskbarCreatedMessage != 0) {
    trayIconAdded = false;  // the shell restarted: the icon must be added again
    SetTrayIcon(recordingIcon);
    return TRUE;
  }
  if (message != 0 && message == guideEventMessage) {
    OnGuideEvent();
    return TRUE;
  }
  if (message != 0 && (message == recorderReportMessage || message == shutdownMessage)) {
    OnRegisteredMessage(message, wParam, lParam);
    return TRUE;
  }
  return FALSE;
}

void SchedulerWindow::OnInitDialog() {
  SetWindowTextA(hwnd, setup.ownTitle.c_str());
  HINSTANCE instance = GetModuleHandleA(nullptr);
  SendMessageA(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(LoadIconA(instance, MAKEINTRESOURCEA(IDI_SCHEDULER))));
  SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(LoadIconA(instance, MAKEINTRESOURCEA(IDI_SCHEDULER))));
  if (HMENU system = GetSystemMenu(hwnd, FALSE)) {
    AppendMenuA(system, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(system, MF_STRING, IDM_ABOUT, kAboutItem);
  }
  recorderReportMessage = RegisterWindowMessageA(ProgramProtocol::kRecorderStartStopMessage);
  shutdownMessage = RegisterWindowMessageA(ProgramProtocol::kShutdownMessage);
  guideEventMessage = RegisterWindowMessageA(ProgramProtocol::kGuideEventMessage);
  guideAnswerMessage = RegisterWindowMessageA(ProgramProtocol::kGuideAnswerMessage);
  taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
  // Another program's registered messages reach this window even though it
  // may run with more rights than they do.
  ChangeWindowMessageFilterEx(hwnd, recorderReportMessage, MSGFLT_ALLOW, nullptr);
  ChangeWindowMessageFilterEx(hwnd, shutdownMessage, MSGFLT_ALLOW, nullptr);
  ChangeWindowMessageFilterEx(hwnd, guideEventMessage, MSGFLT_ALLOW, nullptr);

  AddComboItems(Item(IDC_TYPE), {"RECORD- LIVE", "RECORD- SILENT", "WATCH LIVE", "TIMESHIFT"});
  AddComboItems(Item(IDC_FREQUENCY), {"ONCE", "DAILY(M-F)", "WEEKLY"});
  AddComboItems(Item(IDC_WHEN_DONE), {"CLOSE", "KEEP OPEN", "SHUTDOWN"});
  SendMessageA(Item(IDC_DATE), DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>(kDateFormat));
  SendMessageA(Item(IDC_START_TIME), DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>(kTimeFormat));
  SendMessageA(Item(IDC_END_TIME), DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>(kTimeFormat));
  SendMessageA(Item(IDC_HOURS_SPIN), UDM_SETRANGE32, 0, 23);
  SendMessageA(Item(IDC_MINS_SPIN), UDM_SETRANGE32, 0, 59);
  SendMessageA(Item(IDC_DELAY_SPIN), UDM_SETRANGE32, 0, HandOffFiles::kMaxDelaySeconds);
  SendMessageA(Item(IDC_DELAY_SPIN), UDM_SETPOS32, 0, setup.engineSettings.delaySeconds);

  HWND events = Item(IDC_EVENTS);
  ListView_SetExtendedListViewStyle(events, LVS_EX_FULLROWSELECT);
  for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<char*>(kColumns[i].heading);
    // A column that fits its heading: the heading's width and a margin.
    column.cx = kColumns[i].width != LVSCW_AUTOSIZE_USEHEADER
                    ? kColumns[i].width
                    : ListView_GetStringWidth(events, kColumns[i].heading) + 16;
    SendMessageA(events, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
  }

  FillChannelList();
  const CivilTime now = LocalNow();
  auto loaded = ScheduleFile::Load(SchedulerFolder(std::filesystem::current_path()).Path() / FileNames::kSchedule, now);
  list = std::move(loaded.list);
  // Every problem of the file in one box, one line each.
  if (!loaded.problems.empty()) {
    std::string text;
    for (const std::string& problem : loaded.problems) text += (text.empty() ? "" : "\n") + problem;
    QueueMessage(text);
  }

  actions = std::make_unique<Win32SchedulerActions>(hwnd, static_cast<SchedulerShell&>(*this), SchedulerFolder(std::filesystem::current_path()),
                                                    setup.wakeUpTaskName);
  engine = std::make_unique<SchedulerEngine>(list, setup.channels, setup.engineSettings, *actions);
  ResetForm();
  CreateFolderKey(RecordRegistryKey(setup.model));
  CreateFolderKey(TimeshiftRegistryKey(setup.model));
  if (auto record = ReadFolderValue(RecordRegistryKey(setup.model), kRecordValue)) {
    currentFolder = lastRecordFolder = *record;
    ShowFolder();
  }
  RefreshRows();
  PlaceByTaskbar();
  SetTrayIcon(false);
  ShowWindow(hwnd, SW_SHOW);
  WithEngine([this, now] { engine->Arm(now); });
}

// --- Engine calls ---

void SchedulerWindow::WithEngine(std::function<void()> work) {
  if (engineBusy) {
    heldWork.push_back(std::move(work));
    return;
  }
  engineBusy = true;
  work();
  engineBusy = false;
  while (!heldWork.empty()) {
    auto next = std::move(heldWork.front());
    heldWork.pop_front();
    engineBusy = true;
    next();
    engineBusy = false;
  }
  ShowQueuedMessages();
}

void SchedulerWindow::QueueMessage(const std::string& text) { QueueMessage(text, MB_OK); }

void SchedulerWindow::QueueMessage(const std::string& text, UINT boxStyle) {
  queuedMessages.push_back(QueuedMessage{text, boxStyle});
  if (!engineBusy) ShowQueuedMessages();
}

void SchedulerWindow::ShowQueuedMessages() {
  // A box shown from a box's own message loop waits its turn in this loop.
  if (showingMessages) return;
  showingMessages = true;
  while (!queuedMessages.empty()) {
    const QueuedMessage message = queuedMessages.front();
    queuedMessages.pop_front();
    MessageBoxA(nullptr, message.text.c_str(), "", message.boxStyle);
  }
  showingMessages = false;
}

void SchedulerWindow::OnTimer(UINT_PTR id) {
  // A tick that comes while the engine is busy is dropped: the next one acts.
  if (engineBusy || !engine) return;
  WithEngine([this, id] {
    const CivilTime now = LocalNow();
    switch (static_cast<SchedulerTimer>(id)) {
      case SchedulerTimer::EventClock: {
        // The local clock stepped forward much further than time passed
        // (daylight saving time began): the engine must not take the
        // skipped span's events for missed. GetTickCount64 counts sleep too,
        // so a machine that slept shows no step here.
        const ULONGLONG tick = GetTickCount64();
        if (lastClockTick) {
          const long long local = SecondsBetween(*lastClockTick, now);
          const auto passed = static_cast<long long>((tick - lastClockTickMs) / 1000);
          if (local - passed > kClockStepSeconds) engine->OnLocalClockJump(*lastClockTick, now);
        }
        lastClockTick = now;
        lastClockTickMs = tick;
        engine->OnClockTick(now);
        break;
      }
      case SchedulerTimer::Alignment: engine->OnAlignmentTick(now); break;
      case SchedulerTimer::DelayedStart: engine->OnDelayedStartTick(now); break;
      case SchedulerTimer::Shutdown: engine->OnShutdownTick(); break;
      case SchedulerTimer::RecorderClose: engine->OnRecorderCloseTick(now); break;
    }
  });
}

void SchedulerWindow::OnRegisteredMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == shutdownMessage) {
    WithEngine([this] { engine->OnShutdownRequest(); });
    return;
  }
  WithEngine([this, wParam, lParam] {
    if (engine->OnRecorderReport(static_cast<int>(wParam), static_cast<int>(lParam)))
      SetTrayIcon(engine->IsRecorderRecording());
  });
}

void SchedulerWindow::OnGuideEvent() {
  // Still starting (a box about schedule.txt runs its own message loop): the
  // file stays for the guide, which takes it back when no answer comes.
  if (!engine) return;
  WithEngine([this] {
    // A station added by a scan since the scheduler started is only in
    // channels.txt: the table is read again as "Open Scheduler" does, unless
    // the window is open, where it would change the form under the user.
    if (!IsWindowVisible(hwnd)) {
      if (auto fresh = actions->ReadChannels()) {
        setup.channels = std::move(*fresh);
        engine->SetChannels(setup.channels);
        FillChannelList();
      }
    }
    const auto intake = EventIntake::TakeGuideEvent(actions->Folder().Path(), list, setup.channels, LocalNow());
    if (!intake) return;  // taken back by the guide, or a repeated message: no answer is due
    // The new row does not take the focus: the user is in the guide.
    if (intake->index) ListChanged(std::nullopt);
    if (!intake->answerWritten) QueueMessage("CAN'T WRITE GUIDEANSWER.TXT");
    HWND viewer = FindWindowA(nullptr, setup.engineSettings.viewerTitle.c_str());
    // No viewer: the guide has closed and nobody waits for the answer.
    if (viewer != nullptr && guideAnswerMessage != 0)
      PostMessageA(viewer, guideAnswerMessage, static_cast<WPARAM>(intake->answer.request),
                   intake->answer.IsAccepted() ? 1 : 0);
  });
}

// --- Shell side of the engine ---

void SchedulerWindow::HideWindow() { ShowWindow(hwnd, SW_HIDE); }

void SchedulerWindow::RefreshRows() {
  HWND events = Item(IDC_EVENTS);
  SendMessageA(events, WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(events);
  for (std::size_t i = 0; i < list.Count(); ++i) {
    const ScheduleRow row = ScheduleRow::ForScheduler(list.At(i), setup.channels);
    const std::string* texts[] = {&row.date, &row.channel, &row.start, &row.end, &row.duration,
                                  &row.type, &row.frequency, &row.whenDone, &row.saveTo};
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(i);
    item.pszText = const_cast<char*>(texts[0]->c_str());
    SendMessageA(events, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    for (int column = 1; column < 9; ++column) {
      item.iSubItem = column;
      item.pszText = const_cast<char*>(texts[column]->c_str());
      SendMessageA(events, LVM_SETITEMTEXTA, i, reinterpret_cast<LPARAM>(&item));
    }
  }
  SendMessageA(events, WM_SETREDRAW, TRUE, 0);
  selectedRow = -1;
}

void SchedulerWindow::ListChanged(std::optional<std::size_t> newRow) {
  if (!actions->Folder().SaveSchedule(list)) QueueMessage("CAN'T WRITE SCHEDULE.TXT");
  RefreshRows();
  if (newRow) SelectRow(static_cast<int>(*newRow));
  WithEngine([this] { engine->Arm(LocalNow()); });
}

void SchedulerWindow::SelectRow(int index) {
  HWND events = Item(IDC_EVENTS);
  ListView_SetItemState(events, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(events, index, FALSE);
  SetFocus(events);
  selectedRow = index;
}

void SchedulerWindow::ClearSelection() {
  if (editing) return;
  ListView_SetItemState(Item(IDC_EVENTS), -1, 0, LVIS_SELECTED);
  selectedRow = -1;
}

// --- Commands ---

void SchedulerWindow::OnCommand(int id, int code) {
  switch (id) {
    case IDM_OPEN_SCHEDULER: OpenScheduler(); return;
    case IDM_OPEN_VIEWER: OpenViewer(); return;
    case IDM_OPEN_RECORDER: OpenRecorder(); return;
    case IDM_OPEN_PLAYER: OpenPlayer(); return;
    case IDM_EXIT: ExitScheduler(); return;
    case IDM_REMOVE_EVENT: RemoveSelected(); return;
    case IDM_EDIT_EVENT: EnterEditMode(); return;
    case IDM_SKIP_WEEK: SkipWeekOfSelected(); return;
    case IDM_SAVE_EDITED: SaveEditedEvent(); return;
    case IDM_CANCEL_EDIT: CancelEdit(); return;
    case IDOK:
      SaveAndHide();
      return;
    case IDCANCEL:  // Esc
      DismissWindow();
      return;
    case IDC_ADD:
      if (code == BN_CLICKED) {
        if (editing) {
          ShowEditMenu();
        } else {
          AddEvent();
        }
      } else if (code == BN_SETFOCUS && variant == SchedulerVariant::TransportStream) {
        // The transport-stream scheduler's button also clears the selection.
        ClearSelection();
      }
      return;
    case IDC_FOLDER:
      if (code == STN_CLICKED) ChooseFolder();
      return;
    case IDC_TYPE:
      if (code == CBN_SELCHANGE) ApplyTypeRules();
      if (code == CBN_SETFOCUS) ClearSelection();
      return;
    case IDC_CHANNEL:
    case IDC_FREQUENCY:
    case IDC_WHEN_DONE:
      if (code == CBN_SETFOCUS) ClearSelection();
      return;
    case IDC_HOURS:
    case IDC_MINS:
      if (code == EN_CHANGE && !updatingForm) OnSpinsChanged();
      if (code == EN_SETFOCUS) ClearSelection();
      return;
    case IDC_DELAY:
      if (code == EN_SETFOCUS) ClearSelection();
      return;
    default:
      return;
  }
}

void SchedulerWindow::OnNotify(const NMHDR& header) {
  if (header.idFrom == IDC_EVENTS) {
    if (header.code == LVN_ITEMCHANGED) {
      const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
      if ((change.uNewState & LVIS_SELECTED) != 0) selectedRow = change.iItem;
      else if ((change.uOldState & LVIS_SELECTED) != 0 && change.iItem == selectedRow) selectedRow = -1;
    } else if (header.code == NM_RCLICK) {
      const auto& click = reinterpret_cast<const NMITEMACTIVATE&>(header);
      if (click.iItem >= 0) {
        selectedRow = click.iItem;
        ShowRowMenu();
      }
    }
    return;
  }
  if (header.code == DTN_DATETIMECHANGE && !updatingForm) {
    if (header.idFrom == IDC_START_TIME) OnStartTimeChanged();
    if (header.idFrom == IDC_END_TIME) OnEndTimeChanged();
    if (header.idFrom == IDC_START_TIME || header.idFrom == IDC_END_TIME) ClearSelection();
  }
  if (header.code == NM_SETFOCUS &&
      (header.idFrom == IDC_DATE || header.idFrom == IDC_START_TIME || header.idFrom == IDC_END_TIME))
    ClearSelection();
}

void SchedulerWindow::OnTrayIcon(LPARAM mouseMessage) {
  if (LOWORD(mouseMessage) != WM_RBUTTONUP) return;
  const auto state = SchedulerWindowRules::TrayMenuFor(
      actions->IsViewerRunning() && actions->IsWindowOpen(setup.engineSettings.viewerTitle),
      engine->IsRecorderRecording());
  UniqueHmenu menu(CreatePopupMenu());
  if (!menu) return;
  AppendMenuA(menu.Get(), MF_STRING, IDM_OPEN_SCHEDULER, "Open Scheduler");
  AppendMenuA(menu.Get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu.Get(), MF_STRING | (state.openViewerGrayed ? MF_GRAYED : 0), IDM_OPEN_VIEWER, "Open Telvantis");
  AppendMenuA(menu.Get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu.Get(), MF_STRING | (state.openRecorderGrayed ? MF_GRAYED : 0), IDM_OPEN_RECORDER,
              "Open Silent Record");
  AppendMenuA(menu.Get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu.Get(), MF_STRING, IDM_OPEN_PLAYER, names.playerMenuItem);
  AppendMenuA(menu.Get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu.Get(), MF_STRING, IDM_EXIT, "Exit Scheduler");
  POINT cursor{};
  GetCursorPos(&cursor);
  SetForegroundWindow(hwnd);
  const int chosen = TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, hwnd, nullptr);
  PostMessageA(hwnd, WM_NULL, 0, 0);  // lets the menu close when the user clicks elsewhere
  if (chosen != 0) OnCommand(chosen, 0);
}

void SchedulerWindow::ShowRowMenu() {
  if (selectedRow < 0 || static_cast<std::size_t>(selectedRow) >= list.Count()) return;
  UniqueHmenu menu(CreatePopupMenu());
  if (!menu) return;
  AppendMenuA(menu.Get(), MF_STRING, IDM_REMOVE_EVENT, "REMOVE EVENT");
  AppendMenuA(menu.Get(), MF_STRING, IDM_EDIT_EVENT, "EDIT EVENT");
  if (list.At(static_cast<std::size_t>(selectedRow)).frequency == EventFrequency::Weekly)
    AppendMenuA(menu.Get(), MF_STRING, IDM_SKIP_WEEK, "SKIP WEEK");
  POINT cursor{};
  GetCursorPos(&cursor);
  const int chosen = TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, hwnd, nullptr);
  if (chosen != 0) OnCommand(chosen, 0);
}

void SchedulerWindow::ShowEditMenu() {
  UniqueHmenu menu(CreatePopupMenu());
  if (!menu) return;
  AppendMenuA(menu.Get(), MF_STRING, IDM_SAVE_EDITED, "SAVE EDITED EVENT");
  AppendMenuA(menu.Get(), MF_STRING, IDM_CANCEL_EDIT, "CANCEL EDIT EVENT");
  RECT button{};
  GetWindowRect(Item(IDC_ADD), &button);
  const int chosen = TrackPopupMenu(menu.Get(), TPM_RETURNCMD, button.left, button.bottom, 0, hwnd, nullptr);
  if (chosen != 0) OnCommand(chosen, 0);
}

void SchedulerWindow::OpenScheduler() {
  if (editing) CancelEdit();  // the form is reset below
  if (auto fresh = actions->ReadChannels()) {
    setup.channels = std::move(*fresh);
    engine->SetChannels(setup.channels);
  }
  FillChannelList();
  ResetForm();
  PlaceByTaskbar();
  ShowWindow(hwnd, SW_SHOW);
  SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  SetForegroundWindow(hwnd);
}

void SchedulerWindow::OpenViewer() {
  // A failed start shows nothing: the user sees that no viewer came.
  (void)actions->StartProgram(ProgramProtocol::kViewerExe, "", ShowMode::NoActivate);
}

void SchedulerWindow::OpenRecorder() {
  HWND recorder = FindWindowA(nullptr, setup.engineSettings.recorderTitle.c_str());
  if (recorder != nullptr) {
    ShowWindow(recorder, SW_SHOW);
    SetWindowPos(recorder, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    return;
  }
  if (!engine->IsRecorderRecording())
    (void)actions->StartProgram(names.recorderExe, ProgramProtocol::kLockSwitch, ShowMode::NoActivate);
}

void SchedulerWindow::OpenPlayer() {
  (void)actions->StartProgram(names.playerExe, "", ShowMode::NoActivate);
}

void SchedulerWindow::SaveAndHide() {
  const int delay = SpinValue(IDC_DELAY_SPIN);
  if (!actions->Folder().SaveSchedule(list)) QueueMessage("CAN'T WRITE SCHEDULE.TXT");
  if (!HandOffFiles::WriteDelay(actions->Folder().Path() / FileNames::kDelay, delay))
    QueueMessage("CAN'T WRITE DELAY.TXT");
  WithEngine([this, delay] { engine->SetDelay(delay); });
  ClearSelection();
  ShowWindow(hwnd, SW_HIDE);
}

void SchedulerWindow::ExitScheduler() {
  SaveAndHide();
  RemoveTrayIcon();
  DestroyWindow(hwnd);
}

// --- Events ---

std::optional<ScheduleEvent> SchedulerWindow::EventFromForm() const {
  const int channel = Selection(IDC_CHANNEL);
  if (channel < 0 || static_cast<std::size_t>(channel) >= setup.channels.size()) return std::nullopt;
  SYSTEMTIME date{};
  SendMessageA(Item(IDC_DATE), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&date));
  ScheduleEvent event;
  const ChannelEntry& entry = setup.channels[static_cast<std::size_t>(channel)];
  event.channel1 = entry.physical;
  event.channel2 = entry.major;
  event.channel3 = entry.minor;
  const ClockTime start = PickerTime(IDC_START_TIME);
  const ClockTime end = PickerTime(IDC_END_TIME);
  event.startHour = start.hour;
  event.startMinute = start.minute;
  event.endHour = end.hour;
  event.endMinute = end.minute;
  event.type = EventTypeFromCode(Selection(IDC_TYPE)).value_or(EventType::RecordLive);
  event.frequency = EventFrequencyFromCode(Selection(IDC_FREQUENCY)).value_or(EventFrequency::Once);
  event.whenDone = WhenDoneFromCode(Selection(IDC_WHEN_DONE)).value_or(WhenDone::Close);
  // The whole folder: one too long for an event is refused by the
  // validation, never cut to a different folder.
  event.folder = currentFolder;
  return WithStartDate(event, CivilTime{date.wYear, date.wMonth, date.wDay, 0, 0, 0});
}

void SchedulerWindow::AddEvent() {
  const auto candidate = EventFromForm();
  if (!candidate) {
    QueueMessage("NO CHANNEL SELECTED");
    return;
  }
  const auto result = EventIntake::Accept(list, *candidate, setup.channels, LocalNow());
  if (!result.index) {
    QueueMessage(result.message);
    return;
  }
  ListChanged(result.index);
}

void SchedulerWindow::EnterEditMode() {
  if (selectedRow < 0 || static_cast<std::size_t>(selectedRow) >= list.Count()) return;
  editing = true;
  editedEvent = list.At(static_cast<std::size_t>(selectedRow));
  SetItemText(IDC_ADD, "EDITING");
  EnableWindow(Item(IDC_EVENTS), FALSE);
  EnableWindow(Item(IDOK), FALSE);
  LoadForm(editedEvent);
}

void SchedulerWindow::SaveEditedEvent() {
  if (!editing) return;
  const auto candidate = EventFromForm();
  LeaveEditMode();
  if (!candidate) return;
  const auto result = EventIntake::Accept(list, *candidate, setup.channels, LocalNow(), editedEvent);
  if (!result.index) {
    // The edited event stays as it was, or is gone; edit mode is over all the same.
    if (result.message == ScheduleList::kEditedEventGone) {
      RefreshRows();
      QueueMessage(result.message, MB_OK | MB_ICONEXCLAMATION);
    } else {
      QueueMessage(result.message);
    }
    return;
  }
  ListChanged(result.index);
}

void SchedulerWindow::LeaveEditMode() {
  editing = false;
  SetItemText(IDC_ADD, "ADD");
  EnableWindow(Item(IDC_EVENTS), TRUE);
  EnableWindow(Item(IDOK), TRUE);
}

void SchedulerWindow::CancelEdit() {
  LeaveEditMode();
  ClearSelection();
  ApplyTypeRules();
}

void SchedulerWindow::DismissWindow() {
  // Hidden in edit mode, the window would come back with its list and "OK" disabled.
  if (editing) CancelEdit();
  ShowWindow(hwnd, SW_HIDE);
}

void SchedulerWindow::RemoveSelected() {
  if (selectedRow < 0 || !list.Remove(static_cast<std::size_t>(selectedRow))) return;
  ListChanged(std::nullopt);
}

void SchedulerWindow::SkipWeekOfSelected() {
  if (selectedRow < 0 || static_cast<std::size_t>(selectedRow) >= list.Count()) return;
  if (list.At(static_cast<std::size_t>(selectedRow)).frequency != EventFrequency::Weekly) return;
  const auto result = list.Advance(static_cast<std::size_t>(selectedRow), ScheduleList::AdvanceKind::SkipWeek);
  if (result.outcome == ScheduleList::AdvanceResult::Outcome::Conflict) {
    QueueMessage(result.message);
    return;
  }
  ListChanged(std::nullopt);
}

// --- The form ---

void SchedulerWindow::FillChannelList() {
  HWND combo = Item(IDC_CHANNEL);
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  for (const ChannelEntry& channel : setup.channels)
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(SchedulerChannelCaption(channel).c_str()));
  SendMessageA(combo, CB_SETCURSEL, 0, 0);
}

void SchedulerWindow::ResetForm() {
  updatingForm = true;
  for (int id : {IDC_CHANNEL, IDC_FREQUENCY, IDC_TYPE, IDC_WHEN_DONE}) SendMessageA(Item(id), CB_SETCURSEL, 0, 0);
  const CivilTime now = LocalNow();
  SYSTEMTIME today = ToSystemTime(now);
  // Any day from today on; there is no last day.
  SYSTEMTIME range[2] = {ToSystemTime(CivilTime{now.year, now.month, now.day, 0, 0, 0}), {}};
  SendMessageA(Item(IDC_DATE), DTM_SETRANGE, GDTR_MIN, reinterpret_cast<LPARAM>(range));
  for (int id : {IDC_DATE, IDC_START_TIME, IDC_END_TIME})
    SendMessageA(Item(id), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&today));
  SetSpinValue(IDC_HOURS_SPIN, 0);
  SetSpinValue(IDC_MINS_SPIN, 0);
  updatingForm = false;
  ApplyTypeRules();
  SetItemText(IDC_DURATION, SchedulerWindowRules::kEmptyDurationLabel);
}

void SchedulerWindow::EnableTimeControls(bool enabled) {
  for (int id : {IDC_END_TIME, IDC_HOURS, IDC_HOURS_SPIN, IDC_MINS, IDC_MINS_SPIN}) EnableWindow(Item(id), enabled);
}

void SchedulerWindow::ApplyTypeRules() {
  const EventType type = EventTypeFromCode(Selection(IDC_TYPE)).value_or(EventType::RecordLive);
  const auto controls = SchedulerWindowRules::ControlsFor(type);
  EnableTimeControls(controls.endAndDuration);
  EnableWindow(Item(IDC_FOLDER), controls.folderChoice);
  if (controls.endAndDuration) {
    if (auto record = ReadFolderValue(RecordRegistryKey(setup.model), kRecordValue)) {
      currentFolder = *record;
      lastRecordFolder = currentFolder;
    }
  } else {
    updatingForm = true;
    SetSpinValue(IDC_HOURS_SPIN, 0);
    SetSpinValue(IDC_MINS_SPIN, 0);
    updatingForm = false;
    // No duration: the end follows the start, as the spins at 0 say.
    SetPickerTime(IDC_END_TIME, PickerTime(IDC_START_TIME));
    SetItemText(IDC_DURATION, SchedulerWindowRules::kEmptyDurationLabel);
    currentFolder = lastRecordFolder;
    SendMessageA(Item(IDC_WHEN_DONE), CB_SETCURSEL, 0, 0);
    if (controls.folder == SchedulerWindowRules::TypeFolder::Timeshift) {
      if (auto timeshift = ReadFolderValue(TimeshiftRegistryKey(setup.model), kTimeshiftValue))
        currentFolder = *timeshift;
    }
  }
  ShowFolder();
}

void SchedulerWindow::ShowFolder() {
  SetItemText(IDC_FOLDER, currentFolder.empty() ? kNoFolder : currentFolder);
}

void SchedulerWindow::ChooseFolder() {
  if (auto chosen = BrowseForRecordingFolder(hwnd, kFolderTitle)) {
    currentFolder = *chosen;
    ShowFolder();
  }
}

void SchedulerWindow::SetDurationControls(const DisplayedDuration& duration) {
  updatingForm = true;
  SetSpinValue(IDC_HOURS_SPIN, duration.hours);
  SetSpinValue(IDC_MINS_SPIN, duration.minutes);
  updatingForm = false;
  SetItemText(IDC_DURATION, SchedulerWindowRules::DurationLabel(duration));
}

void SchedulerWindow::OnStartTimeChanged() {
  const ClockTime start = PickerTime(IDC_START_TIME);
  const ClockTime end =
      SchedulerWindowRules::EndFromStart(start, SpinValue(IDC_HOURS_SPIN), SpinValue(IDC_MINS_SPIN));
  SetPickerTime(IDC_END_TIME, end);
  SetDurationControls(SchedulerWindowRules::DurationBetween(start, end));
}

void SchedulerWindow::OnEndTimeChanged() {
  SetDurationControls(SchedulerWindowRules::DurationBetween(PickerTime(IDC_START_TIME), PickerTime(IDC_END_TIME)));
}

void SchedulerWindow::OnSpinsChanged() {
  ClearSelection();
  const ClockTime start = PickerTime(IDC_START_TIME);
  const int hours = SpinValue(IDC_HOURS_SPIN);
  const int minutes = SpinValue(IDC_MINS_SPIN);
  SetPickerTime(IDC_END_TIME, SchedulerWindowRules::EndFromStart(start, hours, minutes));
  SetItemText(IDC_DURATION, SchedulerWindowRules::DurationLabel(DisplayedDuration{hours, minutes}));
}

void SchedulerWindow::LoadForm(const ScheduleEvent& event) {
  updatingForm = true;
  if (const auto channel = FindEventChannel(setup.channels, event))
    SendMessageA(Item(IDC_CHANNEL), CB_SETCURSEL, *channel, 0);
  SYSTEMTIME date = ToSystemTime(EventStart(event));
  SendMessageA(Item(IDC_DATE), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&date));
  SendMessageA(Item(IDC_TYPE), CB_SETCURSEL, CodeOf(event.type), 0);
  SendMessageA(Item(IDC_FREQUENCY), CB_SETCURSEL, CodeOf(event.frequency), 0);
  SetPickerTime(IDC_START_TIME, {event.startHour, event.startMinute});
  SetPickerTime(IDC_END_TIME, {event.endHour, event.endMinute});
  updatingForm = false;
  const DisplayedDuration duration = DisplayedDurationOf(event);
  ApplyTypeRules();
  SendMessageA(Item(IDC_WHEN_DONE), CB_SETCURSEL, CodeOf(event.whenDone), 0);
  // A type without a duration keeps the empty label the type rules set.
  if (SchedulerWindowRules::ControlsFor(event.type).endAndDuration) SetDurationControls(duration);
  currentFolder = event.folder;
  ShowFolder();
}

// --- Controls ---

ClockTime SchedulerWindow::PickerTime(int id) const {
  SYSTEMTIME time{};
  SendMessageA(Item(id), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
  return ClockTime{time.wHour, time.wMinute};
}

void SchedulerWindow::SetPickerTime(int id, ClockTime value) {
  SYSTEMTIME time{};
  SendMessageA(Item(id), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
  time.wHour = static_cast<WORD>(value.hour);
  time.wMinute = static_cast<WORD>(value.minute);
  time.wSecond = 0;
  const bool wasUpdating = updatingForm;
  updatingForm = true;
  SendMessageA(Item(id), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
  updatingForm = wasUpdating;
}

int SchedulerWindow::SpinValue(int id) const {
  BOOL failed = FALSE;
  const auto value = static_cast<int>(SendMessageA(Item(id), UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
  return failed ? 0 : value;
}

void SchedulerWindow::SetSpinValue(int id, int value) { SendMessageA(Item(id), UDM_SETPOS32, 0, value); }

int SchedulerWindow::Selection(int id) const {
  return static_cast<int>(SendMessageA(Item(id), CB_GETCURSEL, 0, 0));
}

// --- Placement and tray ---

void SchedulerWindow::PlaceByTaskbar() {
  APPBARDATA bar{};
  bar.cbSize = sizeof bar;
  SchedulerWindowRules::ScreenRect taskbar;
  if (SHAppBarMessage(ABM_GETTASKBARPOS, &bar)) taskbar = {bar.rc.left, bar.rc.top, bar.rc.right, bar.rc.bottom};
  RECT window{};
  GetWindowRect(hwnd, &window);
  const auto at = SchedulerWindowRules::PlaceByTaskbar(taskbar, GetSystemMetrics(SM_CXSCREEN),
                                                       GetSystemMetrics(SM_CYSCREEN),
                                                       window.right - window.left, window.bottom - window.top);
  SetWindowPos(hwnd, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SchedulerWindow::SetTrayIcon(bool recording) {
  NOTIFYICONDATAA icon{};
  icon.cbSize = sizeof icon;
  icon.hWnd = hwnd;
  icon.uID = kTrayIconId;
  icon.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
  icon.uCallbackMessage = trayCallbackMessage;
  icon.hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(recording ? IDI_RECORDING : IDI_SCHEDULER));
  lstrcpynA(icon.szTip, setup.ownTitle.c_str(), static_cast<int>(sizeof icon.szTip));
  if (trayIconAdded) {
    Shell_NotifyIconA(NIM_MODIFY, &icon);
  } else {
    trayIconAdded = Shell_NotifyIconA(NIM_ADD, &icon) != FALSE;
  }
  recordingIcon = recording;
}

void SchedulerWindow::RemoveTrayIcon() {
  if (!trayIconAdded || hwnd == nullptr) return;
  NOTIFYICONDATAA icon{};
  icon.cbSize = sizeof icon;
  icon.hWnd = hwnd;
  icon.uID = kTrayIconId;
  Shell_NotifyIconA(NIM_DELETE, &icon);
  trayIconAdded = false;
}
