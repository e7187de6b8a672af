// The control panel's start-up and exit sequences.
#include <objbase.h>

#include "core/files/ChannelEntry.h"
#include "core/tuning/ChannelTuning.h"
#include "core/files/ChannelVolumes.h"
#include "graph/GraphMessageBox.h"
#include "graph/GraphToolkit.h"
#include "graph/LiveGraphBuilder.h"
#include "viewer/SpeakerVolume.h"
#include "core/files/TunerFiles.h"
#include "viewer/ViewerDialog.h"
#include "viewer/resource.h"

namespace {

constexpr char kChannelsFile[] = "channels.txt";
constexpr char kTunerFile[] = "tuner.txt";
constexpr char kConfigFile[] = "config.txt";
constexpr char kVolumesFile[] = "chvols.txt";
constexpr char kPanelCaption[] = "Telvantis";


Rect WindowRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.left, r.top, r.right, r.bottom};
}

// The first start-up message box style: no caption, no icon.
void ShowStartupMessage(const char* text) { MessageBoxA(nullptr, text, "", MB_OK); }

}  // namespace

INT_PTR ViewerDialog::OnInitDialog() {
  PrepareSystemMenu();
  SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED);
  TurnOffScreenSaver();
  banner.Show();
  comStarted = SUCCEEDED(CoInitialize(nullptr));
  screenWidth = GetSystemMetrics(SM_CXSCREEN);
  screenHeight = GetSystemMetrics(SM_CYSCREEN);
  SetWindowTextA(hwnd, kPanelCaption);
  CreateWindows();
  SetButtonIcons();

  const StartupPlan plan = ReadStartupFiles();
  if (plan.firstRun) {
    StartFirstRun(plan);
  } else {
    StartNormalRun(plan);
  }

  SetTitles();
  DisableTimeshiftControls();
  engine->timeshiftOn = false;
  volumes = NoChannelVolumes();
  LoadChannelVolumes();
  return TRUE;
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

void ViewerDialog::TurnOffScreenSaver() {
  BOOL active = FALSE;  // set first: some systems report success without writing it
  if (SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0) && active) {
    screenSaverWasActive = true;
    SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, FALSE, nullptr, 0);
  }
}

void ViewerDialog::CreateWindows() {
  engine = std::make_unique<TvEngine>();
  // The program cannot work without its windows: that would be a broken
  // installation, so it says so and ends like any other start-up failure.
  if (!video.Create(nullptr)) AbortStartup("CAN'T CREATE THE VIDEO WINDOW");
  if (!osd.Create(video.Handle())) AbortStartup("CAN'T CREATE THE ON-SCREEN DISPLAY");
  videoAccelerators = LoadAcceleratorsA(GetModuleHandleA(nullptr),
                                        MAKEINTRESOURCEA(IDR_ACCELERATORS));
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
  files.channels = ReadChannelFile(kChannelsFile);
  noChannelList = !files.channels;
  if (FAILED(engine->CreateGraphs(noChannelList))) AbortStartup("CAN'T INIT TELVANTIS");

  RECT client{};
  GetClientRect(hwnd, &client);
  const StartupScreen screen{Size{screenWidth, screenHeight}, client.right};
  files.tuner = ReadTunerFile(kTunerFile);
  files.config = ReadViewerConfig(
      kConfigFile, DefaultViewerConfig(screen.screen, screen.panelClientWidth, -1));
  const FirstTunerDevice firstDevice = []() -> std::optional<std::string> {
    std::vector<std::string> names;
    const GraphOutcome listed = EnumerateTunerDevices(&names);
    ShowGraphMessages(listed);
    if (listed.Failed() || names.empty()) return std::nullopt;
    return names.front();
  };
  StartupPlan plan = PlanStartup(files, screen, firstDevice);
  if (plan.abortMessage) AbortStartup(plan.abortMessage->c_str());

  engine->SetModel(plan.model, plan.tuner);
  engine->selectedModel = plan.model;
  engine->channels = plan.channels;
  engine->currentChannel = plan.currentChannel;
  ApplySettings(plan.config);
  return plan;
}

void ViewerDialog::ApplySettings(const ViewerConfig& c) {
  engine->aspectMode = c.aspectMode;
  engine->overscan = c.overscan;
  engine->skipForwardSeconds = c.skipForwardSeconds;
  engine->skipBackSeconds = c.skipBackSeconds;
  engine->fullScreenOnPrimary = c.fullScreenOnPrimary;
  ViewerSettings& s = setup.settings;
  s.showChannel = c.displayChannelNumber;
  s.showRemoteDigits = c.displayRemoteChannelNumber;
  s.showVolume = c.displayVolume;
  s.lockResize = c.lockResize;
  s.perChannelAspect = c.perChannelAspect;
  s.muteOnMinimise = c.muteOnMinimize;
  s.perChannelVolume = c.perChannelVolume;
  s.transparentOsd = c.displayTransparent;
  s.savePerChannelVolume = c.savePerChannelVolume;
  s.openOnSchedule = false;
  video.lockResize = c.lockResize;
}

void ViewerDialog::StartFirstRun(const StartupPlan& plan) {
  BuildLiveGraph();
  banner.Close();
  const ViewerConfig& c = plan.config;  // fresh places and the default options
  SetWindowPos(hwnd, nullptr, c.panelLeft, c.panelTop, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
  video.Place(c.videoWindow.left, 0, kDefaultVideoWidth, kDefaultVideoHeight, false);

  // The user sets up the channels first.
  OpenSetup(false);
  if (engine->channels.empty()) {
    DisableChannelControls();
  } else {
    noChannelList = false;
    accelerators = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ACCELERATORS));
  }
  engine->skipForwardSeconds = 60;
  engine->skipBackSeconds = 15;
  engine->fullScreenOnPrimary = true;
}

void ViewerDialog::StartNormalRun(const StartupPlan& plan) {
  const ViewerConfig& c = plan.config;
  video.alwaysOnTop = c.alwaysOnTop;
  video.fullScreen = c.fullScreen;
  if (plan.videoRestore) {
    const Rect r = *plan.videoRestore;
    video.restore = RECT{r.left, r.top, r.right, r.bottom};
  }
  engine->previousChannel = engine->currentChannel;
  BuildLiveGraph();
  if (!engine->channels.empty()) {
    SetItemText(IDC_CHANNEL_DISPLAY,
                ChannelCaption(engine->channels[static_cast<size_t>(engine->currentChannel)]));
  }
  banner.Close();
  SetWindowPos(hwnd, nullptr, c.panelLeft, c.panelTop, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
  video.Place(c.videoWindow.left, c.videoWindow.top, c.videoWindow.Width(),
              c.videoWindow.Height(), c.alwaysOnTop);

  muted = false;
  mutedByMinimise = false;
  osdTicks = 0;
  signalTicks = 0;
  ShowChannelOsd();
  SetTimer(hwnd, kSignalTimer, kTimerPeriod, nullptr);
  SetTimer(hwnd, kOsdTimer, kTimerPeriod, nullptr);
  accelerators = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ACCELERATORS));
}

void ViewerDialog::BuildLiveGraph() {
  engine->timeshiftOn = false;
  engine->sinkCreated = false;
  LiveGraphRequest request;
  request.model = engine->modelRow ? &*engine->modelRow : nullptr;
  // A first run has no channel yet: the tuner is given no channel at all.
  request.channel = ChannelTuneValues(engine->channels, engine->currentChannel);
  request.videoWindow = video.Handle();
  request.fullScreenOnPrimary = engine->fullScreenOnPrimary;
  LiveGraphBuilder builder(engine->live, request);
  const GraphOutcome built = builder.Build();
  ShowGraphMessages(built);
  if (built.Failed()) AbortStartup("CAN'T BUILD TELVANTIS GRAPH");
}

void ViewerDialog::SetTitles() {
  if (!engine->modelRow) return;  // no model: the graph build has already failed
  SetWindowTextA(hwnd, WindowTitle(*engine->modelRow, ProgramWindow::ViewerPanel).c_str());
  SetWindowTextA(video.Handle(), WindowTitle(*engine->modelRow, ProgramWindow::ViewerVideo).c_str());
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
  if (!setup.settings.savePerChannelVolume) return;
  const int count = static_cast<int>(engine->channels.size());
  if (!ReadChannelVolumes(kVolumesFile, count, volumes)) return;  // missing: none stored
  if (count == 0) return;
  const float stored = volumes[static_cast<size_t>(engine->currentChannel)];
  if (stored != kNoChannelVolume) SpeakerVolume::Set(stored);
}

// Start-up cannot go on: the message, then the process ends without writing
// any file. The screen saver is switched back on first, so that an aborted
// start does not leave it off for good.
void ViewerDialog::AbortStartup(const char* message) {
  ShowStartupMessage(message);
  if (screenSaverWasActive) SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, 0);
  if (comStarted) CoUninitialize();
  std::exit(0);
}

ViewerConfig ViewerDialog::CurrentConfig() const {
  ViewerConfig c;
  const ViewerSettings& s = setup.settings;
  c.tunerModel = engine->selectedModel;
  c.videoWindow = WindowRect(video.Handle());
  const Rect panel = WindowRect(hwnd);
  c.panelLeft = panel.left;
  c.panelTop = panel.top;
  c.aspectMode = engine->aspectMode;
  c.fullScreen = video.fullScreen;
  c.alwaysOnTop = video.alwaysOnTop;
  c.currentChannel = engine->currentChannel;
  c.displayChannelNumber = s.showChannel;
  c.displayRemoteChannelNumber = s.showRemoteDigits;
  c.displayVolume = s.showVolume;
  c.lockResize = s.lockResize;
  c.perChannelAspect = s.perChannelAspect;
  c.overscan = engine->overscan;
  c.muteOnMinimize = s.muteOnMinimise;
  c.perChannelVolume = s.perChannelVolume;
  c.skipForwardSeconds = engine->skipForwardSeconds;
  c.skipBackSeconds = engine->skipBackSeconds;
  c.fullScreenOnPrimary = engine->fullScreenOnPrimary;
  c.displayTransparent = s.transparentOsd;
  c.savePerChannelVolume = s.savePerChannelVolume;
  return c;
}

// "EXIT": stop a recording, save the settings, release everything.
void ViewerDialog::OnExit() {
  if (!engine) return;  // already ended
  if (engine->IsRecording()) engine->StopRecording();
  WriteViewerConfig(kConfigFile, CurrentConfig());
  if (setup.settings.savePerChannelVolume && !engine->channels.empty()) {
    if (const std::optional<float> level = SpeakerVolume::Read()) {
      volumes[static_cast<size_t>(engine->currentChannel)] = *level;
    }
    WriteChannelVolumes(kVolumesFile, static_cast<int>(engine->channels.size()), volumes);
  }
  RestoreSystem();
}

// Esc: leave without saving the settings, but still stop a recording and
// give the system back its screen saver and power state.
void ViewerDialog::OnCancel() {
  if (!engine) return;  // already ended
  if (engine->IsRecording()) engine->StopRecording();
  RestoreSystem();
}

// Releases the graphs while COM is still initialised, then the windows, and
// gives back the power and screen-saver state before the program ends.
void ViewerDialog::RestoreSystem() {
  KillTimer(hwnd, kSignalTimer);
  KillTimer(hwnd, kOsdTimer);
  engine->TearDown();
  engine.reset();
  if (osd.Handle() != nullptr) DestroyWindow(osd.Handle());
  if (video.Handle() != nullptr) DestroyWindow(video.Handle());
  SetThreadExecutionState(ES_CONTINUOUS);
  if (screenSaverWasActive) SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, 0);
  if (comStarted) CoUninitialize();
  comStarted = false;
  DestroyWindow(hwnd);
  PostQuitMessage(0);
}
