// Opening files: the first builds the graph; the transport-stream player
// loads later ones into it, after reading their programs, while the
// stream-buffer player builds a new graph for each.
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
  std::optional<ProgramPids> first;
  if (request.source == PlaybackSource::TransportStream) {
    const auto scanned = ScanProgramFile(path);
    request.fileReadable = scanned.has_value();
    programs = scanned.value_or(std::vector<ProgramPids>{});
    // A file without programs gets no PID on either pin.
    if (!programs.empty()) {
      first = programs.front();
      request.videoPid = first->video;
      request.audioPid = first->audio;
      request.audioCoding = first->audioCoding;
    }
    FillProgramList();
  }
  const GraphOutcome outcome = BuildPlaybackGraph(graph, request);
  ShowGraphMessages(outcome);
  mapping.Clear();
  if (outcome.Failed()) return false;
  mapping.Select(first);  // mapped by the build
  return true;
}

// Brings a program's PIDs (or none) onto the demultiplexer's pins in place
// of those mapped now; the graph is stopped.
void PlayerDialog::SelectProgram(const std::optional<ProgramPids>& program) {
  const PidChanges changes = mapping.Select(program);
  if (changes.unmap) UnmapProgram(graph, changes.unmap->video, changes.unmap->audio);
  if (changes.map) {
    SetAudioCoding(graph, changes.map->audioCoding);
    MapProgram(graph, changes.map->video, changes.map->audio);
  }
}

// The transport-stream player's next file: its programs, then the file
// into the same source.
void PlayerDialog::ReloadGraph(const std::string& path) {
  Stop();
  ScanPrograms(path);
  FillProgramList();
  SelectProgram(programs.empty() ? std::nullopt : std::optional(programs.front()));
  LoadPlaybackFile(graph, path);  // the source tells of a file it cannot open
  Play();
}

void PlayerDialog::OpenFile(const std::string& path) {
  SetItemText(IDC_FILENAME, path);
  if (!noGraph && variant.kind == PlayerKind::StreamBuffer) {
    // The stream-buffer source loads one recording in its life: another
    // gets a new source, in a new graph.
    TearDownPlayback(graph);
    noGraph = true;
  }
  if (noGraph) {
    if (!BuildGraph(path)) {
      // The no-graph flag stays: the next Open builds. Nothing plays, and
      // the transport is greyed as before the first file.
      EnableTransport(false);
      Enable({IDC_PLAY}, false);
      return;
    }
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
  EnterSavedFullScreen();
  sizeProbe.Start();
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
  selectedProgram = chosen;
  SelectProgram(programs[static_cast<size_t>(chosen)]);
  Play();
}
