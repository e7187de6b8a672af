// Opening files: the first builds the graph, later ones load into it; the
// transport-stream player first reads the file's programs.
#include <windows.h>
#include <commdlg.h>

#include "core/files/FileNames.h"
#include "core/files/TunerFiles.h"
#include "graph/GraphMessageBox.h"
#include "player/PlayerDialog.h"
#include "player/PlayerTexts.h"
#include "player/resource.h"

namespace {
constexpr UINT kSizePeriod = 500;
constexpr UINT kPositionPeriod = 1000;
constexpr DWORD kPathCharacters = 200;
}  // namespace

void PlayerDialog::OnOpen() {
  char path[kPathCharacters] = {};
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = hwnd;
  dialog.lpstrFilter = variant.openFilter;
  dialog.lpstrFile = path;
  dialog.nMaxFile = kPathCharacters;
  dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  video.SetCursorHiding(false);
  const bool chosen = GetOpenFileNameA(&dialog) != FALSE;
  video.SetCursorHiding(true);
  if (!chosen) {
    ResetRates();
    return;
  }
  OpenFile(path);
}

void PlayerDialog::ScanPrograms(const std::string& path) {
  programs.clear();
  selectedProgram = 0;
  // A file that cannot be read has no programs; the build names it.
  programs = ScanProgramFile(path).value_or(std::vector<ProgramPids>{});
}

void PlayerDialog::FillProgramList() {
  SendDlgItemMessageA(hwnd, IDC_PROGRAM, CB_RESETCONTENT, 0, 0);
  for (const ProgramPids& program : programs) {
    SendDlgItemMessageA(hwnd, IDC_PROGRAM, CB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(ProgramLine(program).c_str()));
  }
  SendDlgItemMessageA(hwnd, IDC_PROGRAM, CB_SETCURSEL, 0, 0);
  selectedProgram = 0;
}

// A build that fails leaves no graph behind, so the next file builds again.
bool PlayerDialog::BuildGraph(const std::string& path) {
  PlaybackRequest request;
  request.source = variant.kind == PlayerKind::TransportStream ? PlaybackSource::TransportStream
                                                                : PlaybackSource::StreamBuffer;
  request.file = path;
  request.modelNumber = modelNumber;
  request.decoders = ReadDecodersFile(FileNames::kDecoders);
  request.videoWindow = video.Handle();
  request.primaryDisplay = config.primaryDisplay;
  if (request.source == PlaybackSource::TransportStream) {
    const auto scanned = ScanProgramFile(path);
    request.fileReadable = scanned.has_value();
    programs = scanned.value_or(std::vector<ProgramPids>{});
    const ProgramPids first = programs.empty() ? ProgramPids{} : programs.front();
    request.videoPid = first.video;
    request.audioPid = first.audio;
    FillProgramList();
  }
  const GraphOutcome outcome = BuildPlaybackGraph(graph, request);
  ShowGraphMessages(outcome);
  return outcome.Succeeded() && graph.IsPlayable();
}

void PlayerDialog::ReloadGraph(const std::string& path) {
  if (variant.kind == PlayerKind::TransportStream) {
    Stop();
    if (!programs.empty()) {
      const ProgramPids& old = programs[static_cast<size_t>(selectedProgram)];
      UnmapProgram(graph, old.video, old.audio);
    }
    ScanPrograms(path);
    FillProgramList();
    if (!programs.empty()) MapProgram(graph, programs[0].video, programs[0].audio);
    LoadPlaybackFile(graph, path);  // the source tells of a file it cannot open
    Play();
    return;
  }
  graph.control->Stop();
  LoadPlaybackFile(graph, path);
  RunPlayback(graph);
}

void PlayerDialog::OpenFile(const std::string& path) {
  SetItemText(IDC_FILENAME, path);
  if (noGraph) {
    if (!BuildGraph(path)) return;  // the no-graph flag stays: the next Open builds
    noGraph = false;
  } else {
    ReloadGraph(path);
  }
  LONGLONG length = 0;
  if (graph.seeking) graph.seeking->GetDuration(&length);
  duration = length;
  SetItemText(IDC_DURATION, PositionText(TimeDisplayMode::Elapsed, duration, duration));
  EnableTransport(true);
  stopped = false;
  paused = false;
  if (video.WindowRect() == FullScreenTarget()) {
    fullScreen = true;
    video.Place(FullScreenTarget());
  }
  sizeTicks = 0;
  SetTimer(hwnd, kSizeTimer, kSizePeriod, nullptr);
  SetTimer(hwnd, kPositionTimer, kPositionPeriod, nullptr);
  rates.Clear();
  if (graph.seeking) graph.seeking->SetRate(1.0);
}

// Another program: the file starts again from its start with that
// program's PIDs.
void PlayerDialog::OnProgramChosen() {
  const int chosen = static_cast<int>(SendDlgItemMessageA(hwnd, IDC_PROGRAM, CB_GETCURSEL, 0, 0));
  if (chosen < 0 || chosen >= static_cast<int>(programs.size()) || chosen == selectedProgram ||
      noGraph) {
    return;
  }
  Stop();
  const ProgramPids& old = programs[static_cast<size_t>(selectedProgram)];
  UnmapProgram(graph, old.video, old.audio);
  selectedProgram = chosen;
  const ProgramPids& now = programs[static_cast<size_t>(chosen)];
  MapProgram(graph, now.video, now.audio);
  Play();
}
