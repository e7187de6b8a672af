#include "viewer/guide/GuideWindow.h"

#include <commctrl.h>

#include <algorithm>

#include "core/guide/GuideChannelProgrammes.h"
#include "core/guide/GuideGrid.h"
#include "core/guide/GuideTexts.h"
#include "core/guide/ScheduledMark.h"
#include "viewer/guide/GuideResource.h"
#include "viewer/guide/GuideText.h"
#include "viewer/setup/ListViewRows.h"
#include "win/AnsiText.h"

namespace {

constexpr char kScheduledText[] = "SCHEDULED TO RECORD";

void SetWideText(HWND window, int id, const std::wstring& text) {
  SetDlgItemTextW(window, id, text.c_str());
}

// A row of wide texts: list views take them whatever their own character set.
void InsertWideRow(HWND list, int index, const std::vector<std::wstring>& cells) {
  if (cells.empty()) return;
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = index;
  item.pszText = const_cast<wchar_t*>(cells[0].c_str());
  const auto row = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  if (row < 0) return;
  for (std::size_t i = 1; i < cells.size(); ++i) {
    LVITEMW cell{};
    cell.iSubItem = static_cast<int>(i);
    cell.pszText = const_cast<wchar_t*>(cells[i].c_str());
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
  }
}

int SelectedListRow(HWND list) {
  return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

// Multi-line edits break lines only at CR LF.
std::string WithCrLf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n' && (out.empty() || out.back() != '\r')) out += '\r';
    out += c;
  }
  return out;
}

}  // namespace

GuideWindow::GuideWindow(GuideHost& host)
    : Dialog(IDD_GUIDE), host(host), grid(model, host.Zone(), *this) {}

GuideWindow::~GuideWindow() { Close(); }

bool GuideWindow::Open(HWND owner) {
  if (hwnd != nullptr) {
    if (IsIconic(hwnd)) ShowWindow(hwnd, SW_RESTORE);
    ShowWindow(hwnd, SW_SHOW);
    SetForegroundWindow(hwnd);
    Refresh();
    return true;
  }
  if (!Create(owner)) return false;
  ShowWindow(hwnd, SW_SHOW);
  SetForegroundWindow(hwnd);
  return true;
}

void GuideWindow::Close() {
  if (hwnd == nullptr) return;
  KillTimer(hwnd, kPresentTimer);
  DestroyWindow(hwnd);
}

bool GuideWindow::TranslateDialogKeys(MSG& message) {
  return hwnd != nullptr && IsDialogMessageA(hwnd, &message);
}

void GuideWindow::ShowStatus(const std::string& text) {
  if (hwnd != nullptr) SetItemText(IDC_GUIDE_STATUS, text);
}

INT_PTR GuideWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      return OnCommand(LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_TIMER:
      if (wParam == kPresentTimer) OnPresentTimer();
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR GuideWindow::OnInitDialog() {
  // The title of the programme in the dialog's font, bold.
  HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
  LOGFONTA bold{};
  if (dialogFont != nullptr && GetObjectA(dialogFont, sizeof bold, &bold) == sizeof bold) {
    bold.lfWeight = FW_BOLD;
    titleFont.Reset(CreateFontIndirectA(&bold));
    if (titleFont) SendDlgItemMessageA(hwnd, IDC_GUIDE_TITLE, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont.Get()), FALSE);
  }

  LoadModel();
  model.gridStartUtc = CurrentHalfHourStart(model.nowUtc, host.Zone());
  followsNow = true;
  if (!model.channels.empty()) {
    const std::optional<std::size_t> watched = host.WatchedChannel();
    const std::size_t row = watched && *watched < model.channels.size() ? *watched : 0;
    model.selectedRow = static_cast<int>(row);
    model.selected = ChannelProgrammeAt(model.guide, model.channels[row], model.nowUtc);
  }

  // The grid takes the place of its placeholder, in the same place of the
  // tab order.
  HWND area = Item(IDC_GUIDE_GRID_AREA);
  RECT rect{};
  if (area != nullptr && GetWindowRect(area, &rect)) {
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&rect), 2);
    if (grid.Create(hwnd, IDC_GUIDE_GRID, rect, dialogFont)) {
      SetWindowPos(grid.Handle(), area, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }

  AddListColumns(Item(IDC_GUIDE_LIST), {{"TIME", 120, false}, {"LENGTH", 60, true}, {"TITLE", 240, false}});
  AddListColumns(Item(IDC_GUIDE_SERIES_LIST), {{"CHANNEL", 100, false}, {"TITLE", 320, false}});

  updating = true;
  padding = host.Padding();
  for (int spin : {IDC_GUIDE_START_EARLY_SPIN, IDC_GUIDE_END_LATE_SPIN})
    SendDlgItemMessageA(hwnd, spin, UDM_SETRANGE32, 0, kMaxPaddingMinutes);
  ShowPadding();
  updating = false;

  Select(model.selectedRow, model.selected, false);
  FillSeriesList();
  SetTimer(hwnd, kPresentTimer, kPresentPeriodMs, nullptr);
  SetFocus(grid.Handle() != nullptr ? grid.Handle() : Item(IDC_GUIDE_LIST));
  return FALSE;  // the focus is set
}

void GuideWindow::LoadModel() {
  model.guide = host.GuideProgrammes();
  model.channels = host.GuideChannels();
  model.nowUtc = host.NowUtc();
  const std::vector<ScheduleEvent> events = host.ScheduledEvents();
  model.rows.clear();
  model.scheduled.assign(model.guide.size(), false);
  for (const ChannelEntry& channel : model.channels) {
    model.rows.push_back(ChannelProgrammes(model.guide, channel));
    for (std::size_t i : model.rows.back()) {
      if (!model.scheduled[i] && IsProgrammeScheduled(model.guide[i], channel, events, host.Zone()))
        model.scheduled[i] = true;
    }
  }
}

void GuideWindow::Refresh() {
  if (hwnd == nullptr) return;
  const std::optional<ChannelEntry> channel =
      model.selectedRow >= 0 && static_cast<std::size_t>(model.selectedRow) < model.channels.size()
          ? std::optional(model.channels[static_cast<std::size_t>(model.selectedRow)])
          : std::nullopt;
  const std::optional<GuideProgramme> programme =
      model.selected ? std::optional(model.guide[*model.selected]) : std::nullopt;
  LoadModel();

  int row = 0;
  if (channel) {
    const auto same = std::find(model.channels.begin(), model.channels.end(), *channel);
    if (same != model.channels.end()) row = static_cast<int>(same - model.channels.begin());
  }
  std::optional<std::size_t> kept;
  if (programme && static_cast<std::size_t>(row) < model.channels.size()) {
    kept = FindSameProgramme(model.guide, *programme);
    if (kept && !IsOnChannel(model.guide[*kept], model.channels[static_cast<std::size_t>(row)])) kept.reset();
  }
  if (followsNow) model.gridStartUtc = CurrentHalfHourStart(model.nowUtc, host.Zone());
  listedRow = -1;  // the list is filled anew
  Select(row, kept, false);
  FillSeriesList();
  if (!updating) {
    updating = true;
    padding = host.Padding();
    ShowPadding();
    updating = false;
  }
}

void GuideWindow::Select(int row, std::optional<std::size_t> programme, bool fromList) {
  model.selectedRow = row;
  model.selected = programme;
  if (programme) {
    const std::int64_t first = CurrentHalfHourStart(model.nowUtc, host.Zone());
    MoveGrid(GridStartShowing(model.guide[*programme], model.gridStartUtc, first));
  } else {
    MoveGrid(model.gridStartUtc);
  }
  if (row != listedRow) FillProgrammeList();
  if (!fromList) SelectListRow();
  ShowDetails();
  EnableControls();
  grid.Update();
}

void GuideWindow::MoveGrid(std::int64_t startUtc) {
  model.gridStartUtc = startUtc;
  followsNow = startUtc == CurrentHalfHourStart(model.nowUtc, host.Zone());
  ShowGridDate();
  EnableWindow(Item(IDC_GUIDE_EARLIER), EarlierGridStart(startUtc, model.nowUtc, host.Zone()) ? TRUE : FALSE);
  EnableWindow(Item(IDC_GUIDE_LATER), LaterGridStart(startUtc, model.guide) ? TRUE : FALSE);
  grid.Repaint();
}

void GuideWindow::ShowGridDate() {
  GuideProgramme at;
  at.startUtc = model.gridStartUtc;
  SetItemText(IDC_GUIDE_DATE, ProgrammeDayText(at, host.Zone()));
}

void GuideWindow::FillProgrammeList() {
  HWND list = Item(IDC_GUIDE_LIST);
  updating = true;
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  listedRow = model.selectedRow;
  listRows.clear();
  if (model.selectedRow >= 0 && static_cast<std::size_t>(model.selectedRow) < model.rows.size())
    listRows = model.rows[static_cast<std::size_t>(model.selectedRow)];
  for (std::size_t i = 0; i < listRows.size(); ++i) {
    const ProgrammeListRow row = ProgrammeListRowOf(model.guide[listRows[i]], host.Zone());
    InsertWideRow(list, static_cast<int>(i), {Widen(row.time), Widen(row.length), WidenUtf8(row.title)});
  }
  updating = false;
  const bool hasChannel =
      model.selectedRow >= 0 && static_cast<std::size_t>(model.selectedRow) < model.channels.size();
  SetWideText(hwnd, IDC_GUIDE_CHANNEL,
              hasChannel ? Widen(ChannelCaption(model.channels[static_cast<std::size_t>(model.selectedRow)]))
                         : std::wstring(L"NO CHANNELS"));
}

void GuideWindow::SelectListRow() {
  HWND list = Item(IDC_GUIDE_LIST);
  updating = true;
  LVITEMA clear{};
  clear.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&clear));
  if (model.selected) {
    const auto at = std::find(listRows.begin(), listRows.end(), *model.selected);
    if (at != listRows.end()) {
      const auto index = static_cast<WPARAM>(at - listRows.begin());
      LVITEMA state{};
      state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
      state.state = LVIS_SELECTED | LVIS_FOCUSED;
      SendMessageA(list, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&state));
      SendMessageA(list, LVM_ENSUREVISIBLE, index, FALSE);
    }
  }
  updating = false;
}

void GuideWindow::FillSeriesList() {
  HWND list = Item(IDC_GUIDE_SERIES_LIST);
  updating = true;
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  seriesRows = SeriesListRows(host.Series(), model.channels, host.Zone());
  for (std::size_t i = 0; i < seriesRows.size(); ++i) {
    // The channel's name is channels.txt's (ANSI); titles are the guide's (UTF-8).
    InsertWideRow(list, static_cast<int>(i), {Widen(seriesRows[i].channel), WidenUtf8(seriesRows[i].text)});
  }
  // Wide enough for the longest refusal: the list scrolls sideways rather than cut it.
  SendMessageA(list, LVM_SETCOLUMNWIDTH, 1, LVSCW_AUTOSIZE_USEHEADER);
  updating = false;
  EnableWindow(Item(IDC_GUIDE_REMOVE_SERIES), SelectedListRow(list) >= 0 ? TRUE : FALSE);
}

void GuideWindow::ShowDetails() {
  if (!model.selected) {
    for (int id : {IDC_GUIDE_TITLE, IDC_GUIDE_DAY, IDC_GUIDE_TIMES, IDC_GUIDE_LENGTH,
                   IDC_GUIDE_SCHEDULED, IDC_GUIDE_DESCRIPTION})
      SetItemText(id, "");
    return;
  }
  const GuideProgramme& p = model.guide[*model.selected];
  SetWideText(hwnd, IDC_GUIDE_TITLE, WidenUtf8(p.title));
  SetItemText(IDC_GUIDE_DAY, ProgrammeDayText(p, host.Zone()));
  SetItemText(IDC_GUIDE_TIMES, ProgrammeTimesText(p, host.Zone()));
  SetItemText(IDC_GUIDE_LENGTH, ProgrammeLengthText(p.lengthSeconds));
  SetItemText(IDC_GUIDE_SCHEDULED, model.scheduled[*model.selected] ? kScheduledText : "");
  SetWideText(hwnd, IDC_GUIDE_DESCRIPTION, WidenUtf8(WithCrLf(p.description)));
}

void GuideWindow::EnableControls() {
  const BOOL enable = model.selected ? TRUE : FALSE;
  // A greyed button that has the focus would leave the keyboard nowhere.
  HWND focus = GetFocus();
  for (int id : {IDC_GUIDE_WATCH, IDC_GUIDE_RECORD, IDC_GUIDE_RECORD_SERIES}) {
    if (!enable && focus == Item(id)) SetFocus(grid.Handle() != nullptr ? grid.Handle() : Item(IDC_GUIDE_LIST));
    EnableWindow(Item(id), enable);
  }
}

INT_PTR GuideWindow::OnCommand(int id, int code) {
  switch (id) {
    case IDC_GUIDE_EARLIER:
      if (auto start = EarlierGridStart(model.gridStartUtc, model.nowUtc, host.Zone())) MoveGrid(*start);
      return TRUE;
    case IDC_GUIDE_LATER:
      if (auto start = LaterGridStart(model.gridStartUtc, model.guide)) MoveGrid(*start);
      return TRUE;
    case IDC_GUIDE_WATCH:
      OnWatch();
      return TRUE;
    case IDC_GUIDE_RECORD:
      OnRecord();
      return TRUE;
    case IDC_GUIDE_RECORD_SERIES:
      OnRecordSeries();
      return TRUE;
    case IDC_GUIDE_REMOVE_SERIES:
      OnRemoveSeries();
      return TRUE;
    case IDC_GUIDE_START_EARLY:
    case IDC_GUIDE_END_LATE:
      if (code == EN_CHANGE && !updating) ReadPadding();
      if (code == EN_KILLFOCUS) {
        updating = true;
        ShowPadding();
        updating = false;
      }
      return TRUE;
    case IDCANCEL:  // Esc, and the title bar's close button
      Close();
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR GuideWindow::OnNotify(const NMHDR& header) {
  if (header.code != LVN_ITEMCHANGED || updating) return FALSE;
  const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
  const bool selected = (change.uNewState & LVIS_SELECTED) != 0 && (change.uOldState & LVIS_SELECTED) == 0;
  if (header.idFrom == IDC_GUIDE_LIST && selected && change.iItem >= 0 &&
      static_cast<std::size_t>(change.iItem) < listRows.size()) {
    Select(model.selectedRow, listRows[static_cast<std::size_t>(change.iItem)], true);
  }
  if (header.idFrom == IDC_GUIDE_SERIES_LIST) {
    EnableWindow(Item(IDC_GUIDE_REMOVE_SERIES), SelectedListRow(Item(IDC_GUIDE_SERIES_LIST)) >= 0 ? TRUE : FALSE);
  }
  return FALSE;
}

void GuideWindow::OnGridPick(int row, std::optional<std::size_t> programme) {
  if (row < 0 || static_cast<std::size_t>(row) >= model.channels.size()) return;
  Select(row, programme, false);
}

void GuideWindow::OnGridKey(UINT key) {
  if (model.channels.empty()) return;
  const int row = model.selectedRow;
  const ChannelEntry& channel = model.channels[static_cast<std::size_t>(row)];
  switch (key) {
    case VK_LEFT:
    case VK_RIGHT: {
      const int step = key == VK_LEFT ? -1 : +1;
      std::optional<std::size_t> next;
      if (model.selected) {
        next = NeighbourProgramme(model.guide, channel, *model.selected, step);
      } else {
        next = ChannelProgrammeNear(model.guide, channel, model.gridStartUtc,
                                    model.gridStartUtc + kGridSeconds);
      }
      if (next) Select(row, next, false);
      return;
    }
    case VK_UP:
    case VK_DOWN: {
      const int target = row + (key == VK_UP ? -1 : +1);
      if (target < 0 || static_cast<std::size_t>(target) >= model.channels.size()) return;
      // The programme on the next row at the same time, as a finger moves
      // down a printed grid.
      const std::int64_t at =
          model.selected ? std::max(model.guide[*model.selected].startUtc, model.gridStartUtc)
                         : model.gridStartUtc;
      Select(target,
             ChannelProgrammeNear(model.guide, model.channels[static_cast<std::size_t>(target)], at,
                                  model.gridStartUtc + kGridSeconds),
             false);
      return;
    }
    case VK_PRIOR:
      OnCommand(IDC_GUIDE_EARLIER, BN_CLICKED);
      return;
    case VK_NEXT:
      OnCommand(IDC_GUIDE_LATER, BN_CLICKED);
      return;
    default:
      return;
  }
}

void GuideWindow::OnPresentTimer() {
  model.nowUtc = host.NowUtc();
  if (followsNow) {
    MoveGrid(CurrentHalfHourStart(model.nowUtc, host.Zone()));
  } else {
    MoveGrid(model.gridStartUtc);  // the earlier button may grey as time passes
  }
}

void GuideWindow::ReadPadding() {
  RecordingPadding read = padding;
  BOOL ok = FALSE;
  const UINT early = GetDlgItemInt(hwnd, IDC_GUIDE_START_EARLY, &ok, FALSE);
  if (ok) read.startEarlyMinutes = static_cast<int>(std::min<UINT>(early, kMaxPaddingMinutes));
  const UINT late = GetDlgItemInt(hwnd, IDC_GUIDE_END_LATE, &ok, FALSE);
  if (ok) read.endLateMinutes = static_cast<int>(std::min<UINT>(late, kMaxPaddingMinutes));
  if (read.startEarlyMinutes == padding.startEarlyMinutes && read.endLateMinutes == padding.endLateMinutes)
    return;
  padding = read;
  host.SetPadding(padding);
}

void GuideWindow::ShowPadding() {
  const auto clampMinutes = [](int minutes) { return std::clamp(minutes, 0, kMaxPaddingMinutes); };
  SendDlgItemMessageA(hwnd, IDC_GUIDE_START_EARLY_SPIN, UDM_SETPOS32, 0, clampMinutes(padding.startEarlyMinutes));
  SendDlgItemMessageA(hwnd, IDC_GUIDE_END_LATE_SPIN, UDM_SETPOS32, 0, clampMinutes(padding.endLateMinutes));
}

void GuideWindow::ShowRefusal(const std::optional<std::string>& refusal) {
  SetItemText(IDC_GUIDE_STATUS, refusal.value_or(""));
}

void GuideWindow::OnWatch() {
  if (!model.selected || model.selectedRow < 0) return;
  ShowRefusal(host.WatchChannel(static_cast<std::size_t>(model.selectedRow)));
}

void GuideWindow::OnRecord() {
  if (!model.selected) return;
  ShowRefusal(host.RecordProgramme(model.guide[*model.selected]));
}

void GuideWindow::OnRecordSeries() {
  if (!model.selected) return;
  ShowRefusal(host.RecordSeries(model.guide[*model.selected]));
  FillSeriesList();
}

void GuideWindow::OnRemoveSeries() {
  const int index = SelectedListRow(Item(IDC_GUIDE_SERIES_LIST));
  if (index < 0 || static_cast<std::size_t>(index) >= seriesRows.size()) return;
  host.RemoveSeries(seriesRows[static_cast<std::size_t>(index)].rule);
  FillSeriesList();
}
