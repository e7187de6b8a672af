#include "viewer/setup/ChannelPage.h"

#include "core/files/FileNames.h"
#include "viewer/setup/ListViewRows.h"
#include "viewer/setup/ScanWindow.h"
#include "viewer/setup/SetupResource.h"
#include "viewer/setup/SignalWindow.h"

namespace {

constexpr char kCantAdd[] = "CAN'T ADD MORE THAN 100 CHANNELS";
constexpr char kCantSave[] = "CAN'T SAVE CHANNELS.TXT";

std::vector<std::string> RowCells(const ChannelEntry& channel) {
  return {channel.name, ChannelCellText(channel), RfCellText(channel)};
}

void SetSpin(HWND page, int spin, const SpinRange& range, int position) {
  SendDlgItemMessageA(page, spin, UDM_SETRANGE32, static_cast<WPARAM>(range.lowest), range.highest);
  SendDlgItemMessageA(page, spin, UDM_SETPOS32, 0, position);
}

void ShowMessage(const char* text) { MessageBoxA(nullptr, text, "", MB_OK | MB_ICONEXCLAMATION); }

}  // namespace

ChannelPage::ChannelPage(ViewerSession& session, SetupHost& host)
    : Dialog(IDD_SETUP_CHANNELS), session(session), host(host) {}

INT_PTR ChannelPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      return OnCommand(LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_TIMER:
      if (wParam == kSignalTimer) OnSignalTimer();
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR ChannelPage::OnInitDialog() {
  edit = ChannelListEdit(session.Channels());
  const ChannelEntry* current = session.CurrentChannel();
  lastTuned = current ? TuneValues{current->physical, current->major, current->minor} : TuneValues{};
  selected = -1;
  signalTicks = 0;

  AddListColumns(Item(IDC_CH_LIST), {{"NAME", 50, false}, {"CHANNEL", 70, false}, {"RF CHANNEL", 80, true}});
  filling = true;
  Dial(current ? *current : ChannelEntry{"", kRfSpin.fresh, kChannelSpin.fresh, kSubChannelSpin.fresh});
  for (int i = 0; i < static_cast<int>(edit.Channels().size()); ++i) InsertRow(i);
  filling = false;
  RefreshDialledHints();
  return TRUE;
}

INT_PTR ChannelPage::OnCommand(int id, int code) {
  switch (id) {
    case IDC_CH_TUNE:
      Tune();
      return TRUE;
    case IDC_CH_ADD:
      Add();
      return TRUE;
    case IDC_CH_UPDATE:
      Update();
      return TRUE;
    case IDC_CH_REMOVE:
      Remove();
      return TRUE;
    case IDC_CH_SCAN:
      Scan();
      return TRUE;
    case IDC_CH_SIGNAL:
      if (code == STN_CLICKED) {
        SignalWindow window(host, session.ModelRow());
        window.Run(GetParent(hwnd));
      }
      return TRUE;
    case IDC_CH_CHANNEL:
      // A new channel number suggests its name.
      if (code == EN_CHANGE && !filling) {
        SetItemText(IDC_CH_NAME, SuggestedChannelName(DialledNumber(IDC_CH_CHANNEL, kChannelSpin)));
      }
      if (code == EN_CHANGE) RefreshDialledHints();
      return TRUE;
    case IDC_CH_RF:
    case IDC_CH_SUB:
      if (code == EN_CHANGE) RefreshDialledHints();
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR ChannelPage::OnNotify(const NMHDR& header) {
  if (header.idFrom == IDC_CH_SUB_SPIN && header.code == UDN_DELTAPOS) {
    auto& step = const_cast<NMUPDOWN&>(reinterpret_cast<const NMUPDOWN&>(header));
    step.iDelta = StepSubChannel(step.iPos, step.iDelta) - step.iPos;
    return TRUE;
  }
  if (header.idFrom == IDC_CH_LIST && header.code == LVN_ITEMCHANGED && !filling) {
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    if ((change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED)) {
      SelectRow(change.iItem);
    }
    return TRUE;
  }
  return FALSE;
}

// The dialled channel is tuned and its signal shown for ten seconds.
void ChannelPage::Tune() {
  KillTimer(hwnd, kSignalTimer);
  signalTicks = 0;
  const ChannelEntry dialled = Dialled();
  const TuneValues numbers{dialled.physical, dialled.major, dialled.minor};
  // A running recording keeps the channel it records.
  if (host.TuneDialled(numbers, ChannelCaption(dialled))) lastTuned = numbers;
  SetTimer(hwnd, kSignalTimer, kSignalPeriodMs, nullptr);
}

void ChannelPage::OnSignalTimer() {
  if (const std::optional<long> strength = host.SignalStrength()) {
    SetItemText(IDC_CH_SIGNAL, std::to_string(ChannelTabSignalPercent(session.ModelRow(), *strength)) + "%");
  }
  if (++signalTicks >= kSignalTicks) KillTimer(hwnd, kSignalTimer);
}

void ChannelPage::Add() {
  const std::optional<int> index = edit.Add(Dialled());
  if (!index) {
    ShowMessage(kCantAdd);
    return;
  }
  filling = true;
  InsertRow(*index);
  filling = false;
  ClearSelection();
}

// The scan window's channels join the list as channels added by hand do;
// channels.txt follows with OK.
void ChannelPage::Scan() {
  KillTimer(hwnd, kSignalTimer);
  ScanWindow window(host, session.ModelRow(), edit.Channels());
  if (window.Run(GetParent(hwnd)) != IDOK) return;
  filling = true;
  for (const ChannelEntry& channel : window.Chosen()) {
    const std::optional<int> index = edit.Add(channel);
    if (!index) {
      filling = false;
      ShowMessage(kCantAdd);
      break;
    }
    InsertRow(*index);
  }
  filling = false;
  ClearSelection();
}

// The selected row is replaced by the dialled numbers, at their sorted
// place; the dialled values stay in the fields.
void ChannelPage::Update() {
  if (selected < 0) return;
  const std::optional<int> index = edit.Update(selected, Dialled());
  if (!index) return;
  filling = true;
  SendDlgItemMessageA(hwnd, IDC_CH_LIST, LVM_DELETEITEM, static_cast<WPARAM>(selected), 0);
  InsertRow(*index);
  filling = false;
  ClearSelection();
  RefreshDialledHints();
}

void ChannelPage::Remove() {
  if (selected < 0 || !edit.Remove(selected)) return;
  filling = true;
  SendDlgItemMessageA(hwnd, IDC_CH_LIST, LVM_DELETEITEM, static_cast<WPARAM>(selected), 0);
  // The spins go back to where a fresh tab starts; the name stays.
  SetSpin(hwnd, IDC_CH_RF_SPIN, kRfSpin, kRfSpin.fresh);
  SetSpin(hwnd, IDC_CH_SUB_SPIN, kSubChannelSpin, kSubChannelSpin.fresh);
  SetSpin(hwnd, IDC_CH_CHANNEL_SPIN, kChannelSpin, kChannelSpin.fresh);
  filling = false;
  ClearSelection();
  RefreshDialledHints();
}

void ChannelPage::SelectRow(int index) {
  if (index < 0 || index >= static_cast<int>(edit.Channels().size())) return;
  selected = index;
  const ChannelEntry& row = edit.Channels()[static_cast<std::size_t>(index)];
  filling = true;
  Dial(row);
  filling = false;
  SetItemText(IDC_CH_UPDATE_ROW, UpdateHintText(row));
  SetItemText(IDC_CH_REMOVE_HINT, ChannelHintText(row.major, row.minor, row.physical));
  RefreshDialledHints();
}

void ChannelPage::ClearSelection() {
  selected = -1;
  filling = true;
  LVITEMA state{};
  state.stateMask = LVIS_SELECTED;
  SendDlgItemMessageA(hwnd, IDC_CH_LIST, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
  filling = false;
  SetItemText(IDC_CH_UPDATE_ROW, "");
  SetItemText(IDC_CH_REMOVE_HINT, "");
}

void ChannelPage::Dial(const ChannelEntry& channel) {
  SetSpin(hwnd, IDC_CH_RF_SPIN, kRfSpin, channel.physical);
  SetSpin(hwnd, IDC_CH_SUB_SPIN, kSubChannelSpin, channel.minor);
  SetSpin(hwnd, IDC_CH_CHANNEL_SPIN, kChannelSpin, channel.major);
  SetItemText(IDC_CH_NAME, channel.name);
}

// The numbers as their fields show them (the spins write them there).
ChannelEntry ChannelPage::Dialled() const {
  return {ItemText(IDC_CH_NAME), DialledNumber(IDC_CH_RF, kRfSpin),
          DialledNumber(IDC_CH_CHANNEL, kChannelSpin), DialledNumber(IDC_CH_SUB, kSubChannelSpin)};
}

int ChannelPage::DialledNumber(int id, const SpinRange& range) const {
  BOOL read = FALSE;
  const int value = static_cast<int>(GetDlgItemInt(hwnd, id, &read, TRUE));
  if (!read || value < range.lowest || value > range.highest) return range.fresh;
  return value;
}

void ChannelPage::RefreshDialledHints() {
  const ChannelEntry d = Dialled();
  const std::string hint = ChannelHintText(d.major, d.minor, d.physical);
  SetItemText(IDC_CH_ADD_HINT, hint);
  SetItemText(IDC_CH_UPDATE_DIALLED, hint);
}

void ChannelPage::InsertRow(int index) {
  InsertListRow(Item(IDC_CH_LIST), index, RowCells(edit.Channels()[static_cast<std::size_t>(index)]));
}

void ChannelPage::Commit() {
  KillTimer(hwnd, kSignalTimer);
  const std::vector<ChannelEntry>& channels = edit.Channels();
  // An empty list deletes the file, so that the next start is a first run.
  if (!WriteChannelFile(FileNames::kChannels, channels)) ShowMessage(kCantSave);
  host.EnableChannelControls(!channels.empty());
  session.ReplaceChannels(channels, FindCurrentAfterEdit(channels, lastTuned));
}
