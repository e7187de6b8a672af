#pragma once
// The control panel: the viewer's main window. It starts everything up
// (ViewerStartup.cpp), owns the engine, the video, on-screen display and
// setup windows and the timers, and saves the settings at exit.

#include <memory>
#include <string>

#include "core/files/ChannelVolumes.h"
#include "win/Dialog.h"
#include "viewer/OsdWindow.h"
#include "viewer/SetupDialog.h"
#include "viewer/StartupBanner.h"
#include "viewer/StartupPlan.h"
#include "viewer/TvEngine.h"
#include "viewer/VideoWindow.h"
#include "viewer/VideoWindowHost.h"
#include "core/files/ViewerConfig.h"

class ViewerDialog : public Dialog<ViewerDialog>, private VideoWindowHost {
 public:
  ViewerDialog();
  ~ViewerDialog();

  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // Runs a keyboard message through the accelerator table of the window it
  // is meant for; true when it became a command.
  bool TranslateKeys(MSG& message);

  void ShowOsdText(const std::string& text);
  void ShowChannelOsd();

 private:
  // Start-up (ViewerStartup.cpp)
  INT_PTR OnInitDialog();
  void PrepareSystemMenu();
  void TurnOffScreenSaver();
  void CreateWindows();
  void SetButtonIcons();
  StartupPlan ReadStartupFiles();
  void StartFirstRun(const StartupPlan& plan);
  void StartNormalRun(const StartupPlan& plan);
  void BuildLiveGraph();
  void ApplySettings(const ViewerConfig& config);
  void SetTitles();
  void DisableTimeshiftControls();
  void DisableChannelControls();
  void LoadChannelVolumes();
  [[noreturn]] void AbortStartup(const char* message);

  // Exit (ViewerStartup.cpp)
  void OnExit();
  void OnCancel();
  void RestoreSystem();
  ViewerConfig CurrentConfig() const;

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
  void EnableItems(std::initializer_list<int> ids, bool enable);

  // VideoWindowHost
  void OnVideoResized() override;
  bool RepaintVideo(HWND videoWindow, HDC dc) override;
  void OnVideoCommand(int command) override;
  void OnVideoClosed() override;

  // The panel's timers: 1 the signal and picture size, 2 the caption.
  static constexpr UINT_PTR kSignalTimer = 1;
  static constexpr UINT_PTR kOsdTimer = 2;
  static constexpr UINT kTimerPeriod = 500;

  std::unique_ptr<TvEngine> engine;
  VideoWindow video;
  OsdWindow osd;
  SetupDialog setup;
  StartupBanner banner;

  int screenWidth = 0;
  int screenHeight = 0;
  bool screenSaverWasActive = false;
  bool noChannelList = false;
  bool comStarted = false;
  HACCEL accelerators = nullptr;
  HACCEL videoAccelerators = nullptr;
  int osdTicks = 0;
  int signalTicks = 0;
  bool muted = false;
  bool mutedByMinimise = false;
  ChannelVolumes volumes = NoChannelVolumes();
};
