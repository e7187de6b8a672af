#pragma once
// The control panel: the viewer's main window. It starts everything up
// (ViewerStartup.cpp), owns the session, the engine, the video, on-screen
// display and setup windows and the timers, and saves the settings at exit.
// What the viewer knows lives in the session; the graphs in the engine; the
// panel turns messages into their calls.

#include <optional>
#include <string>

#include "win/Dialog.h"
#include "viewer/OsdWindow.h"
#include "viewer/SetupDialog.h"
#include "viewer/StartupBanner.h"
#include "viewer/StartupPlan.h"
#include "viewer/SystemAwake.h"
#include "viewer/TvEngine.h"
#include "viewer/VideoWindow.h"
#include "viewer/VideoWindowHost.h"
#include "viewer/ViewerSession.h"
#include "viewer/scheduler/SchedulerCommands.h"

class ViewerDialog : public Dialog<ViewerDialog>, private VideoWindowHost,
                     private SchedulerCommandTarget {
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

  // Running
  INT_PTR OnCommand(int id);
  INT_PTR OnSysCommand(WPARAM command);
  INT_PTR OnTimer(UINT_PTR id);
  INT_PTR OnControlColour(HDC dc, HWND control);
  INT_PTR OnHitTest(LPARAM lParam);
  void OnSignalTimer();
  void OnOsdTimer();
  void OpenSetup(bool onSchedule);
  void ToggleMute();
  void FitVideo();
  void EnableItems(std::initializer_list<int> ids, bool enable);

  // VideoWindowHost
  void OnVideoResized() override;
  bool RepaintVideo(HWND videoWindow, HDC dc) override;
  void OnVideoCommand(int command) override;
  void OnVideoClosed() override;
  bool IsFullScreen() const override;

  // SchedulerCommandTarget (viewer/scheduler/SchedulerTarget.cpp)
  void StopWhatRuns() override;
  void TuneScheduledChannel(int index) override;
  void StartScheduledRecording(const RecLiveHandOff& event) override;
  void PauseForTimeshift() override;

  // The panel's timers: 1 the signal and picture size, 2 the caption.
  static constexpr UINT_PTR kSignalTimer = 1;
  static constexpr UINT_PTR kOsdTimer = 2;
  static constexpr UINT kTimerPeriod = 500;

  // Open from creation until the exit, Esc or a failed start-up.
  enum class Phase { Open, Closed, StartupFailed };

  ViewerSession session;
  TvEngine engine;
  VideoWindow video;
  OsdWindow osd;
  SetupDialog setup;
  StartupBanner banner;
  SystemAwake awake;
  SchedulerCommands schedulerCommands;

  Phase phase = Phase::Open;
  HACCEL accelerators = nullptr;
  HACCEL videoAccelerators = nullptr;
  int osdTicks = 0;
  int signalTicks = 0;
};
