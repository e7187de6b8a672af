#pragma once
// The control panel: the player's main window. It owns the graph, the video
// window and the timers; the position arithmetic, texts, rates and window
// rules are player_core's. Start-up and exit in PlayerDialog.cpp, the
// transport commands and menus in PlayerCommands.cpp, the video window's
// display rules in PlayerDisplay.cpp, opening files in PlayerGraph.cpp.

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "core/files/PlayConfig.h"
#include "graph/PlaybackGraph.h"
#include "player/PlaybackRates.h"
#include "player/PlayerTimers.h"
#include "player/PlayerVariant.h"
#include "player/PlayerWindowRules.h"
#include "player/PlayerVideoWindow.h"
#include "player/ProgramPidTable.h"
#include "win/Dialog.h"
#include "win/SystemAwake.h"

class PlayerDialog : public Dialog<PlayerDialog>, private PlayerVideoHost {
 public:
  PlayerDialog(const PlayerVariant& variant, std::string commandLine);
  ~PlayerDialog();

  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  bool TranslateKeys(MSG& message);

 private:
  // Start-up and exit (PlayerDialog.cpp)
  INT_PTR OnInitDialog();
  void Exit();

  // Files (PlayerGraph.cpp)
  void OnOpen();
  void OpenFile(const std::string& path);
  bool BuildGraph(const std::string& path);
  void ReloadGraph(const std::string& path);
  void ScanPrograms(const std::string& path);
  void FillProgramList();
  void SelectProgram(const std::optional<ProgramPids>& program);
  void OnProgramChosen();

  // Commands (PlayerCommands.cpp)
  INT_PTR OnCommand(int id, int notification);
  void Play();
  void Pause();
  void Stop();
  void SeekTo(long long position);
  long long Position();
  void ResetRates();
  void FastForward();
  void Rewind();
  void OnPositionTimer();
  void OnSlider(WPARAM request);
  void ShowSkipMenu();
  void ShowTimeMenu();
  void ChangeVolume(bool up);
  void ToggleMute();
  void EnableTransport(bool playing);
  bool ApplyRate(const PlaybackRates& wanted, double rate);
  void Enable(std::initializer_list<int> ids, bool on);
  int PopupAtCursor(HMENU menu);

  // Display (PlayerDisplay.cpp)
  void OnSizeTimer();
  void PlacePicture();
  void ToggleFullScreen();
  void EnterSavedFullScreen();
  void ToggleAspect();
  void ShowWindowMenu();
  void SwitchDisplay();
  Rect FullScreenTarget() const;
  Size DisplaySize() const;

  // PlayerVideoHost
  bool RepaintVideo(HWND window, HDC dc) override;
  void OnDisplayModeChanged() override;
  void OnVideoResized() override;
  void OnVideoCommand(int command) override;
  void OnVideoClosed() override;
  void OnVideoRightClick() override;
  bool IsFullScreen() const override { return fullScreen; }
  Rect SizedVideoRect(const Rect& proposed, const Rect& current, bool bottomEdge) override;

  static constexpr UINT_PTR kSizeTimer = 1;
  static constexpr UINT_PTR kPositionTimer = 2;

  const PlayerVariant& variant;
  std::string commandLine;
  PlayerVideoWindow video;
  SystemAwake awake;
  PlaybackGraph graph;
  PlaybackRates rates;
  PlayConfig config;
  HACCEL accelerators = nullptr;

  bool noGraph = true;
  bool stopped = false;
  bool paused = false;
  bool muted = false;
  bool closed = false;
  long long duration = 0;
  SizeProbe sizeProbe;
  int modelNumber = 0;
  bool overscan = false;
  bool fullScreen = false;
  Rect restore;
  std::optional<WindowPlaces> beforeSwitch;  // the places before a move to the secondary display
  Size screen;
  std::vector<ProgramPids> programs;
  int selectedProgram = 0;
  ProgramMapping mapping;
};
