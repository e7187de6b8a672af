#pragma once
// The control panel: the viewer's main window. It starts everything up
// (ViewerStartup.cpp), owns the session, the engine, the video, on-screen
// display and setup windows and the timers, and saves the settings at exit.
// What the viewer knows lives in the session; the graphs in the engine; the
// panel turns messages into their calls. Its handlers are split by concern:
// commands, keys and menus (ViewerCommands.cpp), display modes and window
// places (ViewerDisplayModes.cpp), volume and mute (ViewerVolume.cpp).

#include <optional>
#include <string>

#include "win/Dialog.h"
#include "core/geometry/VideoWindowGeometry.h"
#include "viewer/ChannelDigits.h"
#include "viewer/OsdWindow.h"
#include "viewer/StartupBanner.h"
#include "viewer/StartupPlan.h"
#include "viewer/TvEngine.h"
#include "viewer/VideoWindow.h"
#include "viewer/VideoWindowHost.h"
#include "viewer/ViewerSession.h"
#include "viewer/guide/GuideStore.h"
#include "viewer/guide/ViewerGuide.h"
#include "core/files/FileNames.h"
#include "viewer/setup/SetupDialog.h"
#include "viewer/setup/SetupHost.h"
#include "viewer/scheduler/SchedulerCommands.h"
#include "viewer/timeshift/TimeshiftTransport.h"
#include "win/SystemAwake.h"

class ViewerDialog : public Dialog<ViewerDialog>, private VideoWindowHost, private SetupHost,
                     private SchedulerCommandTarget, private TimeshiftHost, private GuidePanel {
 public:
  ViewerDialog();
  ~ViewerDialog();

  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // Start-up ended with a message: the windows are gone (the panel itself
  // goes with this object), nothing was written, and the program ends.
  bool StartupFailed() const { return phase == Phase::StartupFailed; }

  // Runs a keyboard message through the accelerator table of the window it
  // is meant for; true when it became a command.
  bool TranslateKeys(MSG& message);

  void ShowOsdText(const std::string& text);
  void ShowChannelOsd();
  void ToggleFullScreen();
  void ToggleAspect();
  // Runs a numbered command: 1 full screen, 2 channel up, 3 channel down,
  // 4 recall, 5 signal window, 6 volume up, 7 volume down, 8 mute, 9 aspect,
  // 10 pause, 11 record, 12 skip forward, 13 skip back, 14 jump to start,
  // 15 jump to live, 16 play, 17 stop, 18 exit. Others are ignored.
  void DoPanelCommand(int code);
  void RestartSignalTimer() override;

 private:
  // The message that ends start-up, or nothing when it can go on.
  using Failure = std::optional<std::string>;

  // Start-up (ViewerStartup.cpp)
  INT_PTR OnInitDialog();
  Failure StartUp();
  void PrepareSystemMenu();
  Failure CreateWindows();
  void SetButtonIcons();
  StartupPlan ReadStartupFiles();
  Failure StartFirstRun();
  Failure StartNormalRun(const StartupPlan& plan);
  Failure BuildLiveGraph();
  void SetTitles();
  void DisableTimeshiftControls();
  void DisableChannelControls();
  void LoadChannelVolumes();
  void AbortStartup(const std::string& message);

  // Exit (ViewerStartup.cpp)
  void OnExit();
  void OnCancel();
  void Close();
  void DestroyVideoWindows();

  // Running (ViewerDialog.cpp)
  INT_PTR OnTimer(UINT_PTR id);
  INT_PTR OnControlColour(HDC dc, HWND control);
  INT_PTR OnHitTest(LPARAM lParam);
  void OnSignalTimer();
  void OnGuideTimer();
  void OnOsdTimer();
  void FitVideo() override;
  void RestartCaptionTimer() override;
  void EnableItems(std::initializer_list<int> ids, bool enable);
  void StartTimers();
  void KillTimers();

  // Commands, keys and menus (ViewerCommands.cpp)
  INT_PTR OnCommand(int id);
  INT_PTR OnRemoteCommand(WPARAM digit, LPARAM action);
  INT_PTR OnSideButton(WPARAM wParam);
  void OpenSetup(bool onSchedule);
  void OpenSignalWindow();
  bool ShowChannelHeld();
  void ChangeChannel(ChannelStep step);
  void GoToChannel(int index) override;
  void ApplyChannelChange(const std::optional<ChannelChange>& change);
  void OnDigit(int digit);
  void OnDigitTimer();
  void ShowChannelMenu();
  void ShowRecordMenu();

  // Display modes and window places (ViewerDisplayModes.cpp)
  INT_PTR OnSysCommand(WPARAM command);
  INT_PTR OnActivateApp(bool active);
  INT_PTR OnMoving(LPARAM lParam);
  void ShowWindowMenu();
  void ChooseWindowSize(Size picture);
  void EnterFullScreen();
  void LeaveFullScreen();
  void SetAspect(AspectMode aspect);
  void PlaceVideo(const Rect& rect);
  void SetAlwaysOnTop(bool on);
  void MoveToDisplay(bool toPrimary);
  void ToggleDisplay();
  void ToggleParking();
  DisplayLayout Displays() const;

  // Volume and mute (ViewerVolume.cpp)
  void VolumeUp();
  void VolumeDown();
  void ToggleMute();
  void ShowVolume(double percent);

  // VideoWindowHost
  void OnVideoResized() override;
  bool RepaintVideo(HWND videoWindow, HDC dc) override;
  void OnDisplayModeChanged() override;
  void OnVideoCommand(int command) override;
  void OnVideoClosed() override;
  void OnVideoMouse(VideoMouse action, bool onFrame) override;
  void OnVideoCursorHidden() override;
  bool IsFullScreen() const override;
  std::optional<AspectMode> ResizeLock() const override;

  // SetupHost
  bool TuneDialled(const TuneValues& channel, const std::string& caption) override;
  std::optional<long> SignalStrength() override;
  bool StopLiveForScan() override;
  void RestartLiveAfterScan() override;
  void TakeGuide(const std::vector<GuideProgramme>& programmes) override;
  void EnableChannelControls(bool enable) override;
  void ApplySettings() override;

  // SchedulerCommandTarget (viewer/scheduler/SchedulerTarget.cpp)
  void StopWhatRuns() override;
  void TuneScheduledChannel(int index) override;
  void StartScheduledRecording(const RecLiveHandOff& event) override;
  void PauseForTimeshift() override;

  // The panel's timers: 1 the signal and picture size, 2 the caption, 3 the
  // typed channel number. 4 to 7 belong to the timeshift. 8 the guide, from
  // the start to the exit: its collection and its hand-offs to the scheduler.
  static constexpr UINT_PTR kSignalTimer = 1;
  static constexpr UINT_PTR kOsdTimer = 2;
  static constexpr UINT_PTR kDigitTimer = 3;
  static constexpr UINT_PTR kGuideTimer = 8;
  static constexpr UINT kTimerPeriod = 500;
  static constexpr UINT kDigitPeriod = 150;

  // Open from creation until the exit, Esc or a failed start-up.
  enum class Phase { Open, Closed, StartupFailed };

  ViewerSession session;
  GuideStore guideStore{FileNames::kGuide};  // before the engine: it outlives the graph's threads
  TvEngine engine;
  VideoWindow video;
  OsdWindow osd;
  SetupDialog setup;
  StartupBanner banner;
  SystemAwake awake;
  ChannelDigits digits;
  // The timeshift and record groups, key U and timers 4 to 7.
  TimeshiftTransport transport{engine, session};
  SchedulerCommands schedulerCommands;
  // The guide window, and the recordings and series made from it.
  ViewerGuide guide{session, guideStore, *this};

  Phase phase = Phase::Open;
  HACCEL accelerators = nullptr;
  HACCEL videoAccelerators = nullptr;
  int osdTicks = 0;
  int signalTicks = 0;
  bool panelActive = false;
  // The panel parked off screen, and where it stood before.
  bool panelVisible = true;
  Rect panelSaved;
};
