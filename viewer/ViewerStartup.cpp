// The control panel's start-up and exit sequences.
#include <ctime>

#include "core/files/ChannelEntry.h"
#include "core/files/FileNames.h"
#include "core/files/TunerFiles.h"
#include "core/files/ViewerConfig.h"
#include "viewer/ScreenAreas.h"
#include "viewer/ViewerDialog.h"
#include "viewer/resource.h"
#include "win/SpeakerVolume.h"

namespace {

constexpr char kPanelCaption[] = "Telvantis";
constexpr char kCantInit[] = "CAN'T INIT TELVANTIS";
constexpr char kCantBuildGraph[] = "CAN'T BUILD TELVANTIS GRAPH";

constexpr char kCantSaveConfig[] = "CAN'T SAVE CONFIG.TXT";
constexpr char kCantSaveVolumes[] = "CAN'T SAVE CHVOLS.TXT";

void ShowCantSave(const char* message) {
  MessageBoxA(nullptr, message, "", MB_OK | MB_ICONEXCLAMATION);
}

// The keyboard table; the panel and the video window each load a copy.
HACCEL LoadKeyTable() {
  return LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ACCELERATORS));
}

}  // namespace

INT_PTR ViewerDialog::OnInitDialog() {
  transport.Attach(hwnd, *this);
  PrepareSystemMenu();
  awake.Begin();
  banner.Show();
  SetWindowTextA(hwnd, kPanelCaption);
  if (const Failure failure = StartUp()) AbortStartup(*failure);
  return TRUE;
}

// Creates the windows, reads the shared files, builds the live graph and
// shows the panel; the first failure ends it.
ViewerDialog::Failure ViewerDialog::StartUp() {
  if (Failure failure = CreateWindows()) return failure;
  SetButtonIcons();

  const StartupPlan plan = ReadStartupFiles();
  if (plan.abortMessage) return plan.abortMessage;
  session = ViewerSession(plan);
  if (Failure failure = plan.firstRun ? StartFirstRun() : StartNormalRun(plan)) return failure;

  SetTitles();
  DisableTimeshiftControls();
  LoadChannelVolumes();
  if (const std::optional<std::string> notice = guide.Start(hwnd)) {
    MessageBoxA(hwnd, notice->c_str(), "", MB_OK | MB_ICONEXCLAMATION);
  }
  return std::nullopt;
}

void ViewerDialog::PrepareSystemMenu() {
  if (HMENU menu = GetSystemMenu(hwnd, FALSE)) {
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, IDM_ABOUTBOX, "&About Telvantis...");
  }
  HINSTANCE instance = GetModuleHandleA(nullptr);
  auto icon = [instance](int size) {
    return reinterpret_cast<LPARAM>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_TELVANTIS),
                                               IMAGE_ICON, size, size, LR_SHARED));
  };
  SendMessageA(hwnd, WM_SETICON, ICON_BIG, icon(GetSystemMetrics(SM_CXICON)));
  SendMessageA(hwnd, WM_SETICON, ICON_SMALL, icon(GetSystemMetrics(SM_CXSMICON)));
}

// The program cannot work without its windows: that would be a broken
// installation, so it says so and ends like any other start-up failure.
ViewerDialog::Failure ViewerDialog::CreateWindows() {
  if (!video.Create(nullptr)) return "CAN'T CREATE THE VIDEO WINDOW";
  if (!osd.Create(video.Handle())) return "CAN'T CREATE THE ON-SCREEN DISPLAY";
  osd.OnSetCursor([this] { video.StopCursorTimer(); });
  videoAccelerators = LoadKeyTable();
  return std::nullopt;
}

void ViewerDialog::SetButtonIcons() {
  const std::pair<int, int> buttons[] = {
      {IDC_CHANNEL_UP, IDI_UP},           {IDC_VOLUME_UP, IDI_UP},
      {IDC_CHANNEL_DOWN, IDI_DOWN},       {IDC_VOLUME_DOWN, IDI_DOWN},
      {IDC_PAUSE, IDI_PAUSE},             {IDC_PLAY, IDI_PLAY},
      {IDC_SKIP_BACK, IDI_SKIP_BACK},     {IDC_SKIP_FORWARD, IDI_SKIP_FORWARD},
      {IDC_RECORD, IDI_RECORD},           {IDC_RECALL, IDI_RECALL},
      {IDC_JUMP_START, IDI_JUMP_START},   {IDC_JUMP_LIVE, IDI_JUMP_LIVE},
      {IDC_STOP_BUFFERING, IDI_STOP_BUFFERING}};
  HINSTANCE instance = GetModuleHandleA(nullptr);
  for (const auto& [button, icon] : buttons) {
    HANDLE image =
        LoadImageA(instance, MAKEINTRESOURCEA(icon), IMAGE_ICON, 16, 16, LR_SHARED);
    SendDlgItemMessageA(hwnd, button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(image));
  }
}

// Reads the shared text files, creates the graph managers (after
// channels.txt, as both branches do) and decides how to start.
StartupPlan ViewerDialog::ReadStartupFiles() {
  StartupFiles files;
  files.channels = ReadChannelFile(FileNames::kChannels);
  if (FAILED(engine.CreateGraphs())) {
    StartupPlan failed;
    failed.abortMessage = kCantInit;
    return failed;
  }

  RECT client{};
  GetClientRect(hwnd, &client);
  const StartupScreen screen{Size{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)},
                             client.right};
  files.tuner = ReadTunerFile(FileNames::kTuner);
  files.config = ReadViewerConfig(
      FileNames::kConfig, DefaultViewerConfig(screen.screen, screen.panelClientWidth, -1));
  return PlanStartup(files, screen, TvEngine::FindFirstTunerDevice);
}

// No channels.txt: the graph is built without a channel, the windows take
// their default places and the user sets up the channels first. The
// settings are the defaults of a fresh configuration.
ViewerDialog::Failure ViewerDialog::StartFirstRun() {
  if (Failure failure = BuildLiveGraph()) return failure;
  banner.Close();
  const ViewerConfig& c = session.Settings();
  SetWindowPos(hwnd, nullptr, c.panelLeft, c.panelTop, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
  video.Place(c.videoWindow.left, 0, kDefaultVideoWidth, kDefaultVideoHeight, false);

  OpenSetup(false);
  if (session.HasChannels()) {
    accelerators = LoadKeyTable();
  } else {
    DisableChannelControls();
  }
  return std::nullopt;
}

ViewerDialog::Failure ViewerDialog::StartNormalRun(const StartupPlan& plan) {
  if (plan.videoRestore) video.SetRestoreRect(*plan.videoRestore);
  if (Failure failure = BuildLiveGraph()) return failure;
  if (const ChannelEntry* channel = session.CurrentChannel()) {
    SetItemText(IDC_CHANNEL_DISPLAY, ChannelCaption(*channel));
  }
  banner.Close();
  const ViewerConfig& c = session.Settings();
  SetWindowPos(hwnd, nullptr, c.panelLeft, c.panelTop, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
  video.Place(c.videoWindow.left, c.videoWindow.top, c.videoWindow.Width(),
              c.videoWindow.Height(), c.alwaysOnTop);

  osdTicks = 0;
  signalTicks = 0;
  ShowChannelOsd();
  StartTimers();
  SetTimer(hwnd, kGuideTimer, kTimerPeriod, nullptr);
  accelerators = LoadKeyTable();
  return std::nullopt;
}

ViewerDialog::Failure ViewerDialog::BuildLiveGraph() {
  guideStore.Load();  // the viewer keeps no log for a damaged guide's notice
  engine.SetGuideFeed([this](std::span<const std::uint8_t> packets) { guideStore.TakePackets(packets); },
                      [this] { guideStore.Restart(); });
  // A first run has no channel yet: the tuner is given no channel at all.
  if (FAILED(engine.BuildLiveGraph(session.ModelRow(), session.StartupTuning(), video.Handle(),
                                   session.Settings().fullScreenOnPrimary))) {
    return kCantBuildGraph;
  }
  return std::nullopt;
}

void ViewerDialog::SetTitles() {
  const TuningModel* row = session.ModelRow();
  if (row == nullptr) return;  // no model: the graph build has already failed
  SetWindowTextA(hwnd, WindowTitle(*row, ProgramWindow::ViewerPanel).c_str());
  SetWindowTextA(video.Handle(), WindowTitle(*row, ProgramWindow::ViewerVideo).c_str());
}

void ViewerDialog::DisableTimeshiftControls() {
  EnableItems({IDC_SKIP_BACK, IDC_SKIP_FORWARD, IDC_PLAY, IDC_JUMP_START, IDC_JUMP_LIVE,
               IDC_TIMESHIFT_POSITION, IDC_BEHIND_LIVE, IDC_SKIP_LABEL},
              false);
}

void ViewerDialog::DisableChannelControls() {
  EnableItems({IDC_CHANNEL_UP, IDC_CHANNEL_DOWN, IDC_RECALL, IDC_CHANNEL_DISPLAY, IDC_SIGNAL,
               IDC_VOLUME_UP, IDC_VOLUME_DOWN, IDC_MUTE},
              false);
}

void ViewerDialog::LoadChannelVolumes() {
  if (const std::optional<float> level = session.LoadChannelVolumes(FileNames::kChannelVolumes)) {
    SpeakerVolume::Set(*level);
  }
}

// Start-up cannot go on: the message (no caption), then the screen saver and
// the power state go back to what they were, everything built is released
// and the program ends without writing any file.
void ViewerDialog::AbortStartup(const std::string& message) {
  MessageBoxA(nullptr, message.c_str(), "", MB_OK);
  awake.End();
  phase = Phase::StartupFailed;
  engine.TearDown();
  banner.Close();
  DestroyVideoWindows();
}

// "EXIT": stop a recording, save the settings, release everything.
void ViewerDialog::OnExit() {
  if (phase != Phase::Open) return;
  transport.EndRecordingForExit();
  // The places the windows return to: never a minimised window's place far
  // off screen, nor the parked panel's.
  const Rect panel = panelVisible ? NormalWindowRect(hwnd) : panelSaved;
  const Rect videoWindow = NormalWindowRect(video.Handle());
  // A file that cannot be written is reported; the old one stays whole, as
  // every file is replaced only once the new one is complete.
  if (!WriteViewerConfig(FileNames::kConfig,
                         session.ConfigToSave({videoWindow, panel.left, panel.top}))) {
    ShowCantSave(kCantSaveConfig);
  }
  if (session.Settings().savePerChannelVolume &&
      !session.SaveChannelVolumes(FileNames::kChannelVolumes, SpeakerVolume::Read())) {
    ShowCantSave(kCantSaveVolumes);
  }
  Close();
}

// Esc: leave without saving the settings, but still stop a recording (with
// its entry in the event log) and give the system back its screen saver and
// power state.
void ViewerDialog::OnCancel() {
  if (phase != Phase::Open) return;
  transport.EndRecordingForExit();
  Close();
}

// Releases the graphs, then the windows, and gives back the power and
// screen-saver state before the program ends.
void ViewerDialog::Close() {
  phase = Phase::Closed;
  KillTimers();
  KillTimer(hwnd, kDigitTimer);
  KillTimer(hwnd, kGuideTimer);
  video.StopCursorTimer();
  guide.Close();
  engine.TearDown();
  guideStore.Save(static_cast<std::int64_t>(std::time(nullptr)));  // a guide that cannot be written is collected again
  DestroyVideoWindows();
  awake.End();
  DestroyWindow(hwnd);
  PostQuitMessage(0);
}

void ViewerDialog::DestroyVideoWindows() {
  if (osd.Handle() != nullptr) DestroyWindow(osd.Handle());
  if (video.Handle() != nullptr) DestroyWindow(video.Handle());
}
