#include "viewer/setup/ScanWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "graph/GraphMessageBox.h"
#include "viewer/setup/ChannelListEdit.h"
#include "viewer/setup/ListViewRows.h"
#include "viewer/setup/SetupResource.h"
#include "viewer/setup/SignalMeter.h"

namespace {

constexpr char kStartText[] = "START";
constexpr char kStopText[] = "STOP";

void SetSpin(HWND window, int spin, const ScanSpin& range) {
  SendDlgItemMessageA(window, spin, UDM_SETRANGE32, static_cast<WPARAM>(range.lowest), range.highest);
  SendDlgItemMessageA(window, spin, UDM_SETPOS32, 0, range.fresh);
}

std::string FoundText(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " CHANNEL FOUND" : " CHANNELS FOUND");
}

}  // namespace

ScanWindow::ScanWindow(SetupHost& host, const TuningModel* model, std::vector<ChannelEntry> list)
    : Dialog(IDD_SCAN), host(host), model(model), list(std::move(list)) {}

// A window that goes without EndScan (its owner destroyed) still gives the
// tuner back.
ScanWindow::~ScanWindow() {
  graph.TearDown();
  if (liveStopped) host.RestartLiveAfterScan();
}

INT_PTR ScanWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      return OnCommand(LOWORD(wParam));
    case WM_TIMER:
      if (wParam == kTickTimer) OnTick();
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR ScanWindow::OnInitDialog() {
  SetSpin(hwnd, IDC_SCAN_FROM_SPIN, kScanFromSpin);
  SetSpin(hwnd, IDC_SCAN_TO_SPIN, kScanToSpin);
  AddListColumns(Item(IDC_SCAN_LIST), {{"NAME", 120, false}, {"CHANNEL", 70, false}, {"RF CHANNEL", 80, true}});
  return TRUE;
}

INT_PTR ScanWindow::OnCommand(int id) {
  switch (id) {
    case IDC_SCAN_START:
      if (scan) {
        EndScan("SCAN STOPPED");
      } else {
        Start();
      }
      return TRUE;
    case IDC_SCAN_ADD:
      AddChannels();
      return TRUE;
    case IDCANCEL:
      EndScan("");
      EndDialog(hwnd, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

void ScanWindow::Start() {
  if (!host.StopLiveForScan()) return;
  liveStopped = true;
  std::vector<ChannelEntry> known = list;
  known.insert(known.end(), found.begin(), found.end());
  scan.emplace(SpinValue(IDC_SCAN_FROM, kScanFromSpin), SpinValue(IDC_SCAN_TO, kScanToSpin),
               std::move(known), ChannelScan::Clock::now());
  notes.clear();
  SetItemText(IDC_SCAN_NOTES, "");
  SendDlgItemMessageA(hwnd, IDC_SCAN_PROGRESS, PBM_SETRANGE32, 0, scan->RfCount());
  SendDlgItemMessageA(hwnd, IDC_SCAN_PROGRESS, PBM_SETPOS, 0, 0);
  SetItemText(IDC_SCAN_START, kStopText);
  EnableWindow(Item(IDC_SCAN_FROM_SPIN), FALSE);
  EnableWindow(Item(IDC_SCAN_TO_SPIN), FALSE);
  heldStep.reset();
  const GraphOutcome built = graph.Build(model, scan->FirstRf(), [this](std::span<const std::uint8_t> packets) {
    std::lock_guard lock(tablesLock);
    tables.FeedPackets(packets);
  });
  if (built.Failed()) {
    ShowGraphMessages(built);
    EndScan("SCAN FAILED");
    return;
  }
  TuneNext(scan->FirstRf());
  SetTimer(hwnd, kTickTimer, kTickPeriodMs, nullptr);
}

// The tables collected so far belong to the RF channel left: they go while
// the graph is stopped, before any section of the next one can come.
void ScanWindow::TuneNext(int physical) {
  SetItemText(IDC_SCAN_STATUS, ScanTryingText(physical, std::nullopt));
  // A failed tune shows no signal: the scan moves on after the lock wait.
  graph.Tune(physical, [this] {
    std::vector<std::uint16_t> pids;
    {
      std::lock_guard lock(tablesLock);
      tables.Reset();
      pids = tables.WantedPids();
    }
    // The last station's guide PIDs go; the lock is not held while the
    // demultiplexer is called, as its streaming thread takes it.
    graph.MapTablePids(pids);
  });
  scan->Tuned(ChannelScan::Clock::now());
}

void ScanWindow::OnTick() {
  if (!scan) return;
  const std::optional<long> strength = graph.SignalStrength();
  const std::optional<int> percent =
      strength ? std::optional<int>(ChannelTabSignalPercent(model, *strength)) : std::nullopt;
  std::optional<Tvct> tvct;
  std::vector<std::uint16_t> pids;
  {
    std::lock_guard lock(tablesLock);
    tvct = tables.CompleteTvct();
    pids = tables.WantedPids();
  }
  graph.MapTablePids(pids);  // a PID that cannot be mapped is tried at the next tick
  if (WaitingForGuide(tvct)) return;
  const int trying = scan->CurrentRf();
  const ChannelScan::Step step =
      heldStep ? *heldStep : scan->Tick(ChannelScan::Clock::now(), percent, tvct);
  if (!step.finished) {
    SetItemText(IDC_SCAN_STATUS, ScanTryingText(trying, percent));
    return;
  }
  if (!heldStep && tvct) {
    // The channel table is whole: the guide gets a moment more.
    heldStep = step;
    guideSince = ChannelScan::Clock::now();
    return;
  }
  heldStep.reset();
  HandOnGuide();
  ShowFinished(*step.finished);
  SendDlgItemMessageA(hwnd, IDC_SCAN_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(scan->RfsDone()), 0);
  if (step.tune) {
    TuneNext(*step.tune);
  } else if (scan->IsDone()) {
    EndScan("SCAN DONE");
  }
}

// Whether the RF channel's step is held back for its guide: until every
// channel of its table has programmes, or the wait is over.
bool ScanWindow::WaitingForGuide(const std::optional<Tvct>& tvct) {
  if (!heldStep || !tvct) return false;
  if (ChannelScan::Clock::now() - guideSince >= kGuideWait) return false;
  std::vector<GuideProgramme> programmes;
  {
    std::lock_guard lock(tablesLock);
    programmes = tables.Programmes();
  }
  for (const VirtualChannel& channel : tvct->channels) {
    const bool listed = std::any_of(programmes.begin(), programmes.end(), [&](const GuideProgramme& p) {
      return p.major == channel.major && p.minor == channel.minor;
    });
    if (!listed) return true;
  }
  return false;
}

// The guide of the RF channel just done goes to the viewer's guide.
void ScanWindow::HandOnGuide() {
  std::vector<GuideProgramme> programmes;
  {
    std::lock_guard lock(tablesLock);
    programmes = tables.Programmes();
  }
  if (!programmes.empty()) host.TakeGuide(programmes);
}

void ScanWindow::ShowFinished(const ScanRfResult& result) {
  if (result.kind == ScanRfResult::Kind::NoChannelTable) {
    notes += (notes.empty() ? "" : "; ") + ScanResultText(result);
    SetItemText(IDC_SCAN_NOTES, notes);
  }
  HWND rows = Item(IDC_SCAN_LIST);
  for (const ChannelEntry& channel : result.offered) {
    const int index = static_cast<int>(found.size());
    found.push_back(channel);
    InsertListRow(rows, index, {channel.name, ChannelCellText(channel), RfCellText(channel)});
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED;
    state.state = LVIS_SELECTED;
    SendMessageA(rows, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&state));
  }
}

void ScanWindow::EndScan(const char* status) {
  KillTimer(hwnd, kTickTimer);
  // What came of the RF channel being read when the scan is stopped is kept.
  if (scan) HandOnGuide();
  heldStep.reset();
  graph.TearDown();
  if (liveStopped) {
    liveStopped = false;
    host.RestartLiveAfterScan();
  }
  if (!scan) return;
  scan.reset();
  SetItemText(IDC_SCAN_START, kStartText);
  EnableWindow(Item(IDC_SCAN_FROM_SPIN), TRUE);
  EnableWindow(Item(IDC_SCAN_TO_SPIN), TRUE);
  SetItemText(IDC_SCAN_STATUS, std::string(status) + ": " + FoundText(found.size()));
}

void ScanWindow::AddChannels() {
  EndScan("SCAN STOPPED");
  chosen.clear();
  HWND rows = Item(IDC_SCAN_LIST);
  int index = -1;
  while ((index = static_cast<int>(SendMessageA(rows, LVM_GETNEXTITEM, static_cast<WPARAM>(index),
                                                LVNI_SELECTED))) >= 0) {
    if (index < static_cast<int>(found.size())) chosen.push_back(found[static_cast<std::size_t>(index)]);
  }
  EndDialog(hwnd, IDOK);
}

int ScanWindow::SpinValue(int id, const ScanSpin& spin) const {
  BOOL read = FALSE;
  const int value = static_cast<int>(GetDlgItemInt(hwnd, id, &read, TRUE));
  if (!read || value < spin.lowest || value > spin.highest) return spin.fresh;
  return value;
}
