#include <windows.h>
#include <commctrl.h>

#include "core/files/VolumeSteps.h"
#include "player/PlayerDialog.h"
#include "player/PlayerTexts.h"
#include "player/resource.h"
#include "win/SpeakerVolume.h"

namespace {
constexpr UINT kSizePeriod = 500;
constexpr UINT kPositionPeriod = 1000;
constexpr int kSkipAmounts[] = {15, 30, 60, 120};
constexpr const char* kSkipEntries[] = {"   15 seconds", "   30 seconds", "   1 minute",
                                        "   2 minutes"};
constexpr long kMuteVolume = -10000;
}  // namespace

INT_PTR PlayerDialog::OnCommand(int id, int notification) {
  const bool ratesShown = variant.hasRateButtons;
  switch (id) {
    case IDOK:
    case IDCANCEL:  // Esc runs the exit steps too
      Exit();
      return TRUE;
    case IDC_OPEN: OnOpen(); return TRUE;
    case IDC_PLAY: Play(); return TRUE;
    case IDC_PAUSE: Pause(); return TRUE;
    case IDC_STOP: Stop(); return TRUE;
    case IDC_SKIP_BACK:
      SeekTo(SkipBackTarget(Position(), config.skipBackSeconds));
      ResetRates();
      return TRUE;
    case IDC_SKIP_FORWARD:
      SeekTo(SkipForwardTarget(Position(), config.skipForwardSeconds));
      ResetRates();
      return TRUE;
    case IDC_GO_START:
      SeekTo(0);
      ResetRates();
      return TRUE;
    case IDC_GO_END:
      Pause();
      SeekTo(NearEndTarget(duration));
      ResetRates();
      return TRUE;
    case IDC_FAST_FORWARD:
      if (ratesShown) FastForward();
      return TRUE;
    case IDC_REWIND:
      if (ratesShown) Rewind();
      return TRUE;
    case IDC_VOLUME_UP: ChangeVolume(true); return TRUE;
    case IDC_VOLUME_DOWN: ChangeVolume(false); return TRUE;
    case IDC_MUTE: ToggleMute(); return TRUE;
    case IDM_FULL_SCREEN: ToggleFullScreen(); return TRUE;
    case IDM_ASPECT: ToggleAspect(); return TRUE;
    case IDC_SKIP:
      if (notification == STN_CLICKED) ShowSkipMenu();
      return TRUE;
    case IDC_POSITION:
      if (notification == STN_CLICKED) ShowTimeMenu();
      return TRUE;
    case IDC_WINDOW:
      if (notification == STN_CLICKED) ShowWindowMenu();
      return TRUE;
    case IDC_PROGRAM:
      if (notification == CBN_SELCHANGE) OnProgramChosen();
      return TRUE;
    default:
      return FALSE;
  }
}

void PlayerDialog::Enable(std::initializer_list<int> ids, bool on) {
  for (const int id : ids) EnableWindow(Item(id), on ? TRUE : FALSE);
}

// Playing: every transport button and the slider but play; not playing:
// only play.
void PlayerDialog::EnableTransport(bool playing) {
  Enable({IDC_PAUSE, IDC_GO_START, IDC_GO_END, IDC_SKIP_BACK, IDC_SKIP_FORWARD, IDC_FAST_FORWARD,
          IDC_REWIND, IDC_STOP, IDC_SLIDER},
         playing);
  Enable({IDC_PLAY}, !playing);
}

long long PlayerDialog::Position() {
  LONGLONG current = 0;
  LONGLONG stop = 0;
  if (graph.seeking) graph.seeking->GetPositions(&current, &stop);  // 0 when it cannot tell
  return current;
}

// The seek goes to the source itself, which does not restart the graph's
// clock: a running or paused graph is stopped around it, so that the stream
// time starts again with the samples from the new place and playback stays
// paced (otherwise the source runs ahead until the clock catches up).
void PlayerDialog::SeekTo(long long position) {
  if (!graph.seeking) return;
  const bool restart = graph.control && !stopped;
  if (restart) graph.control->Stop();
  LONGLONG at = position;
  graph.seeking->SetPositions(&at, AM_SEEKING_AbsolutePositioning, nullptr,
                              AM_SEEKING_NoPositioning);  // a refused seek keeps the place
  if (!restart) return;
  if (paused) {
    graph.control->Pause();
  } else {
    RunPlayback(graph);
  }
}

// The rates keep to what took effect: a rate the source refuses (a
// decoder that cannot change rate, content too short) leaves them as they
// were.
bool PlayerDialog::ApplyRate(const PlaybackRates& wanted, double rate) {
  if (!graph.seeking || FAILED(graph.seeking->SetRate(rate))) return false;
  rates = wanted;
  return true;
}

void PlayerDialog::ResetRates() {
  PlaybackRates wanted = rates;
  if (const std::optional<double> rate = wanted.Reset()) ApplyRate(wanted, *rate);
}

void PlayerDialog::FastForward() {
  if (paused || !graph.seeking) return;
  PlaybackRates wanted = rates;
  if (ApplyRate(wanted, wanted.FastForward())) Enable({IDC_PLAY}, true);
}

void PlayerDialog::Rewind() {
  if (paused || !graph.seeking) return;
  PlaybackRates wanted = rates;
  if (ApplyRate(wanted, wanted.Rewind())) Enable({IDC_PLAY}, true);
}

void PlayerDialog::Play() {
  if (!graph.control) return;
  ResetRates();
  if (stopped) {
    SeekTo(0);
    TakeCompletion(graph);  // the end of the last run is no end of this one
    RunPlayback(graph);
    sizeProbe.Start();
    SetTimer(hwnd, kSizeTimer, kSizePeriod, nullptr);
    SetTimer(hwnd, kPositionTimer, kPositionPeriod, nullptr);
    EnableTransport(true);
    stopped = false;
  } else {
    RunPlayback(graph);
    Enable({IDC_PAUSE, IDC_FAST_FORWARD, IDC_REWIND}, true);
    Enable({IDC_PLAY}, false);
  }
  paused = false;
}

void PlayerDialog::Pause() {
  if (!graph.control) return;
  graph.control->Pause();
  paused = true;
  Enable({IDC_PAUSE, IDC_FAST_FORWARD, IDC_REWIND}, false);
  Enable({IDC_PLAY}, true);
  ResetRates();
}

void PlayerDialog::Stop() {
  if (!graph.control) return;
  graph.control->Stop();
  stopped = true;
  KillTimer(hwnd, kSizeTimer);
  KillTimer(hwnd, kPositionTimer);
  EnableTransport(false);
  SendDlgItemMessageA(hwnd, IDC_SLIDER, TBM_SETPOS, TRUE, 0);
  SetItemText(IDC_POSITION, "0:00:00");
  PlacePicture();
  ResetRates();
}

// Timer 2: the read-out and the slider follow the position; reaching the
// end stops playback.
void PlayerDialog::OnPositionTimer() {
  const long long position = Position();
  SetItemText(IDC_POSITION, PositionText(config.timeDisplayMode, position, duration));
  const int value = SliderValue(position, duration);
  const bool hidden = config.timeDisplayMode == TimeDisplayMode::Hidden;
  SendDlgItemMessageA(hwnd, IDC_SLIDER, TBM_SETPOS, TRUE, hidden ? 0 : value);
  switch (PositionEventOf(value, paused, TakeCompletion(graph))) {
    case PositionEvent::EndReached:
      KillTimer(hwnd, kPositionTimer);
      Stop();
      break;
    case PositionEvent::AtStart:
      rates.Clear();
      if (graph.seeking) graph.seeking->SetRate(1.0);
      Enable({IDC_PLAY}, false);
      break;
    case PositionEvent::None:
      break;
  }
}

void PlayerDialog::OnSlider(WPARAM request) {
  const int code = LOWORD(request);
  if (code != TB_THUMBTRACK && code != TB_PAGEUP && code != TB_PAGEDOWN) return;
  // A drag reports the thumb's place with the message; a page step has
  // already moved the slider.
  const int value = code == TB_THUMBTRACK
                        ? static_cast<int>(HIWORD(request))
                        : static_cast<int>(SendDlgItemMessageA(hwnd, IDC_SLIDER, TBM_GETPOS, 0, 0));
  SeekTo(SliderTarget(duration, value));
}

int PlayerDialog::PopupAtCursor(HMENU menu) {
  POINT cursor{};
  GetCursorPos(&cursor);
  const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN, cursor.x, cursor.y, 0,
                                    hwnd, nullptr);
  DestroyMenu(menu);
  return chosen;
}

void PlayerDialog::ShowSkipMenu() {
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING | MF_GRAYED, 0, SkipMenuTitle("FF", config.skipForwardSeconds).c_str());
  for (int i = 0; i < 4; ++i) AppendMenuA(menu, MF_STRING, IDM_SKIP_FF_FIRST + i, kSkipEntries[i]);
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING | MF_GRAYED, 0, SkipMenuTitle("RW", config.skipBackSeconds).c_str());
  for (int i = 0; i < 4; ++i) AppendMenuA(menu, MF_STRING, IDM_SKIP_RW_FIRST + i, kSkipEntries[i]);
  const int chosen = PopupAtCursor(menu);
  if (chosen >= IDM_SKIP_FF_FIRST && chosen < IDM_SKIP_FF_FIRST + 4) {
    config.skipForwardSeconds = kSkipAmounts[chosen - IDM_SKIP_FF_FIRST];
  } else if (chosen >= IDM_SKIP_RW_FIRST && chosen < IDM_SKIP_RW_FIRST + 4) {
    config.skipBackSeconds = kSkipAmounts[chosen - IDM_SKIP_RW_FIRST];
  }
}

void PlayerDialog::ShowTimeMenu() {
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING | MF_GRAYED, 0, TimeMenuTitle(config.timeDisplayMode).c_str());
  AppendMenuA(menu, MF_STRING, IDM_TIME_FIRST + 0, "   ELAPSED TIME");
  AppendMenuA(menu, MF_STRING, IDM_TIME_FIRST + 1, "   REMAINING TIME");
  AppendMenuA(menu, MF_STRING, IDM_TIME_FIRST + 2, "   HIDE TIME");
  AppendMenuA(menu, MF_STRING | MF_GRAYED, 0, config.keepTime ? "KEEP TIME: ON" : "KEEP TIME: OFF");
  AppendMenuA(menu, MF_STRING, IDM_KEEP_ON, "   ON");
  AppendMenuA(menu, MF_STRING, IDM_KEEP_OFF, "   OFF");
  const int chosen = PopupAtCursor(menu);
  if (chosen >= IDM_TIME_FIRST && chosen < IDM_TIME_FIRST + 3) {
    config.timeDisplayMode = static_cast<TimeDisplayMode>(chosen - IDM_TIME_FIRST);
  } else if (chosen == IDM_KEEP_ON || chosen == IDM_KEEP_OFF) {
    config.keepTime = chosen == IDM_KEEP_ON;
  }
}

// While muted either volume button only unmutes.
void PlayerDialog::ChangeVolume(bool up) {
  if (muted) {
    ToggleMute();
    return;
  }
  const std::optional<float> level = SpeakerVolume::Read();
  if (!level) return;
  // The level goes on from its whole mixer units.
  const double from = static_cast<int>(*level);
  SpeakerVolume::Set(static_cast<float>((up ? VolumeUp(from) : VolumeDown(from)).level));
}

void PlayerDialog::ToggleMute() {
  if (!graph.audio) return;
  long volume = 0;
  if (FAILED(graph.audio->get_Volume(&volume))) return;
  if (volume < 0) {
    graph.audio->put_Volume(0);
    muted = false;
  } else {
    graph.audio->put_Volume(kMuteVolume);
    muted = true;
  }
}
