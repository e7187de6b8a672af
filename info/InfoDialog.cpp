#include "info/InfoDialog.h"

#include <dshow.h>

#include <algorithm>

#include "win/AboutDialog.h"
#include "info/DeviceListTexts.h"
#include "info/FilterLists.h"
#include "graph/GraphToolkit.h"
#include "info/SelectionFiles.h"
#include "core/files/FileNames.h"
#include "core/files/TunerFiles.h"
#include "info/resource.h"

namespace {

constexpr char kRegisterDvrMs[] = "regdvrmsfilters.bat";
constexpr char kRegisterTs[] = "regtsfilters.bat";
constexpr char kUnregisterTs[] = "unregtsfilters.bat";

constexpr UINT_PTR kDvrMsTimer = 1;
constexpr UINT_PTR kTsTimer = 2;
constexpr UINT kRecheckMilliseconds = 1000;

void ShowPlainMessage(const char* text) {
  MessageBoxA(nullptr, text, "", MB_OK);  // the only answer is OK
}

void ShowExclamation(const char* text) {
  MessageBoxA(nullptr, text, "", MB_OK | MB_ICONEXCLAMATION);  // the only answer is OK
}

int ListIndex(int listId) { return listId - IDC_TUNER_LIST; }

// Lets a list scroll sideways to its widest line, so a long device name can
// be read whole.
void WidenToFit(HWND list, const std::vector<std::string>& lines) {
  HDC dc = GetDC(list);
  if (dc == nullptr) return;  // the list keeps its width
  HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0));
  HGDIOBJ previous = font != nullptr ? SelectObject(dc, font) : nullptr;
  LONG widest = static_cast<LONG>(SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0));
  for (const std::string& line : lines) {
    SIZE size{};
    if (GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(line.size()), &size))
      widest = std::max(widest, size.cx + GetSystemMetrics(SM_CXEDGE) * 2);
  }
  if (previous != nullptr) SelectObject(dc, previous);
  ReleaseDC(list, dc);  // a window DC: always released
  SendMessageA(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest), 0);  // no result
}

}  // namespace

InfoDialog::InfoDialog() : Dialog(IDD_TELVANTISINFO) {}

InfoDialog::~InfoDialog() = default;

INT_PTR InfoDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      OnCommand(LOWORD(wParam));
      return TRUE;
    case WM_SYSCOMMAND:
      return OnSysCommand(wParam) ? TRUE : FALSE;
    case WM_TIMER:
      OnTimer(wParam);
      return TRUE;
    default:
      return FALSE;
  }
}

BOOL InfoDialog::OnInitDialog() {
  AddAboutItem();
  SetIcons();
  FillTunerList();
  FillCaptureList();
  FillDecoderList(IDC_VIDEO_DECODER_LIST, MEDIASUBTYPE_MPEG2_VIDEO, MEDIATYPE_Video,
                  kNoVideoDecoderLine);
  FillDecoderList(IDC_AUDIO_DECODER_LIST, MEDIASUBTYPE_DOLBY_AC3, MEDIATYPE_Audio,
                  kNoAudioDecoderLine);
  CheckStreamBuffer(CheckTime::StartUp);
  CheckTransportStream(CheckTime::StartUp);
  ShowCurrentFiles();
  return TRUE;  // the default focus
}

void InfoDialog::OnCommand(int id) {
  switch (id) {
    case IDC_CREATE_TUNER: OnCreateTunerFile(); break;
    case IDC_CREATE_DECODERS: OnCreateDecodersFile(); break;
    case IDC_INSTALL_DVRMS: OnInstallDvrMs(); break;
    case IDC_INSTALL_TS: OnInstallTs(); break;
    case IDOK:
    case IDCANCEL:
      // The timers die with the window.
      EndDialog(hwnd, id);
      break;
  }
}

bool InfoDialog::OnSysCommand(WPARAM command) {
  if ((command & 0xFFF0) != IDM_ABOUTBOX) return false;
  AboutDialog about(IDD_ABOUTBOX);
  if (about.Run(hwnd) == -1) ShowExclamation("CAN'T OPEN THE ABOUT BOX");
  return true;
}

void InfoDialog::OnTimer(UINT_PTR timer) {
  if (timer != kDvrMsTimer && timer != kTsTimer) return;
  const bool last = ticks.Tick();
  if (timer == kDvrMsTimer) {
    CheckStreamBuffer(CheckTime::Recheck);
  } else {
    CheckTransportStream(CheckTime::Recheck);
  }
  if (last) KillTimer(hwnd, timer);  // fails only for a timer already gone
}

void InfoDialog::SetIcons() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  bigIcon.Reset(static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_TELVANTISINFO), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0)));
  smallIcon.Reset(static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_TELVANTISINFO), IMAGE_ICON,
                                                GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
  // A missing icon leaves the system's default: nothing to report.
  if (bigIcon) SendMessageA(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon.Get()));
  if (smallIcon) SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.Get()));
}

void InfoDialog::AddAboutItem() {
  HMENU menu = GetSystemMenu(hwnd, FALSE);
  if (menu == nullptr) return;  // no system menu, no about item
  if (AppendMenuA(menu, MF_SEPARATOR, 0, nullptr))
    AppendMenuA(menu, MF_STRING, IDM_ABOUTBOX, "&About TelvantisInfo...");  // optional item
}

void InfoDialog::FillTunerList() {
  std::vector<std::string> names;
  if (FAILED(ListCategoryNames(kBdaNetworkTunerCategory, &names)))
    ShowExclamation("CAN'T INITIALIZE SYSTEM DEVICE ENUMERATOR");
  listHasDevices[ListIndex(IDC_TUNER_LIST)] = !names.empty();
  if (names.empty()) {
    AddLines(IDC_TUNER_LIST, NoTunerLines(), false);
  } else {
    AddLines(IDC_TUNER_LIST, names, true);
  }
}

void InfoDialog::FillCaptureList() {
  std::vector<std::string> names;
  if (FAILED(ListCategoryNames(kBdaReceiverComponentCategory, &names)))
    ShowExclamation("CAN'T INITIALIZE SYSTEM DEVICE ENUMERATOR");
  std::vector<std::string> listed;
  for (std::string& name : names) {
    if (IsCaptureDeviceListed(name)) listed.push_back(std::move(name));
  }
  listHasDevices[ListIndex(IDC_CAPTURE_LIST)] = !listed.empty();
  if (listed.empty()) {
    AddLines(IDC_CAPTURE_LIST, NoCaptureLines(), false);
  } else {
    AddLines(IDC_CAPTURE_LIST, listed, true);
  }
}

void InfoDialog::FillDecoderList(int listId, const GUID& inputSubtype, const GUID& major,
                                 const char* noneLine) {
  std::vector<std::string> names;
  if (FAILED(ListDecoderNames(major, inputSubtype, major, &names)))
    ShowExclamation("CAN'T INITIALIZE FILTER MAPPER");
  listHasDevices[ListIndex(listId)] = !names.empty();
  if (names.empty()) {
    AddLines(listId, {noneLine}, false);
  } else {
    AddLines(listId, names, true);
  }
}

std::optional<std::vector<std::string>> InfoDialog::FilterCategoryNames(CheckTime when) {
  std::vector<std::string> names;
  if (SUCCEEDED(ListCategoryNames(CLSID_LegacyAmFilterCategory, &names))) return names;
  // Once a second during a re-check a box would pile on box.
  if (when == CheckTime::StartUp) ShowExclamation("CAN'T INITIALIZE SYSTEM DEVICE ENUMERATOR");
  return std::nullopt;
}

void InfoDialog::CheckStreamBuffer(CheckTime when) {
  ClearList(IDC_DVRMS_LIST);
  auto names = FilterCategoryNames(when);
  FilterCheckResult result = names ? CheckStreamBufferFilters(*names) : FilterCheckResult{};
  AddLines(IDC_DVRMS_LIST, result.lines, false);
  if (when == CheckTime::Recheck) SetItemText(IDC_DVRMS_STATUS, StreamBufferStatus(result.installed));
}

void InfoDialog::CheckTransportStream(CheckTime when) {
  ClearList(IDC_TS_LIST);
  auto names = FilterCategoryNames(when);
  FilterCheckResult result = names ? CheckTransportStreamFilters(*names) : FilterCheckResult{};
  tsInstalled = result.installed;
  SetItemText(IDC_INSTALL_TS, TransportStreamButtonCaption(tsInstalled));
  AddLines(IDC_TS_LIST, result.lines, false);
  if (when == CheckTime::Recheck) SetItemText(IDC_TS_STATUS, TransportStreamStatus(tsInstalled));
}

void InfoDialog::ShowCurrentFiles() {
  SetItemText(IDC_TUNER_FILE, CurrentTunerFileText(ReadTunerFile(FileNames::kTuner)));
  SetItemText(IDC_DECODERS_FILE, CurrentDecodersFileText(ReadDecodersFile(FileNames::kDecoders)));
}

void InfoDialog::OnCreateTunerFile() {
  const auto tuner = SelectedDevice(IDC_TUNER_LIST);
  const auto capture = SelectedDevice(IDC_CAPTURE_LIST);
  if (auto refusal = CheckTunerSelection(tuner, capture)) {
    ShowPlainMessage(refusal->message.c_str());
    SetItemText(refusal->field == SelectionField::First ? IDC_TUNER_NAME : IDC_CAPTURE_NAME,
                refusal->fieldText);
    return;
  }
  SetItemText(IDC_TUNER_NAME, *tuner);
  SetItemText(IDC_CAPTURE_NAME, *capture);
  if (!WriteTunerFile(FileNames::kTuner, TunerNames{*tuner, *capture})) {
    SetItemText(IDC_TUNER_OK, "");
    ShowExclamation("CAN'T WRITE TUNER.TXT");
  } else {
    SetItemText(IDC_TUNER_OK, "tuner.txt OK");
  }
  SetItemText(IDC_TUNER_FILE, CurrentTunerFileText(ReadTunerFile(FileNames::kTuner)));
}

void InfoDialog::OnCreateDecodersFile() {
  const auto video = SelectedDevice(IDC_VIDEO_DECODER_LIST);
  const auto audio = SelectedDevice(IDC_AUDIO_DECODER_LIST);
  if (auto refusal = CheckDecoderSelection(video, audio)) {
    ShowPlainMessage(refusal->message.c_str());
    SetItemText(refusal->field == SelectionField::First ? IDC_VIDEO_DECODER_NAME : IDC_AUDIO_DECODER_NAME,
                refusal->fieldText);
    return;
  }
  SetItemText(IDC_VIDEO_DECODER_NAME, *video);
  SetItemText(IDC_AUDIO_DECODER_NAME, *audio);
  if (!WriteDecodersFile(FileNames::kDecoders, DecoderNames{*video, *audio})) {
    SetItemText(IDC_DECODERS_OK, "");
    ShowExclamation("CAN'T WRITE DECODERS.TXT");
  } else {
    SetItemText(IDC_DECODERS_OK, "decoders.txt OK");
  }
  SetItemText(IDC_DECODERS_FILE, CurrentDecodersFileText(ReadDecodersFile(FileNames::kDecoders)));
}

void InfoDialog::OnInstallDvrMs() {
  RunBatchFile(kRegisterDvrMs);
  StartRecheck(kDvrMsTimer);
}

void InfoDialog::OnInstallTs() {
  if (tsInstalled) {
    tsInstalled = false;
    RunBatchFile(kUnregisterTs);
  } else {
    RunBatchFile(kRegisterTs);
  }
  StartRecheck(kTsTimer);
}

void InfoDialog::StartRecheck(UINT_PTR timer) {
  ticks.Restart();
  if (SetTimer(hwnd, timer, kRecheckMilliseconds, nullptr) == 0)
    ShowExclamation("CAN'T START THE RE-CHECK TIMER");
}

void InfoDialog::RunBatchFile(const char* file) {
  // A missing or failing batch file is not reported here: the re-check that
  // follows shows whether the filters are registered.
  ShellExecuteA(hwnd, "open", file, nullptr, nullptr, SW_SHOWNORMAL);
}

void InfoDialog::AddLines(int listId, const std::vector<std::string>& lines, bool sorted) {
  HWND list = Item(listId);
  for (const std::string& line : lines) {
    // A sorted list box sorts LB_ADDSTRING; LB_INSERTSTRING at -1 appends.
    const LRESULT added = sorted ? SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()))
                                 : SendMessageA(list, LB_INSERTSTRING, static_cast<WPARAM>(-1),
                                                reinterpret_cast<LPARAM>(line.c_str()));
    if (added == LB_ERR || added == LB_ERRSPACE) break;  // a full list shows what fitted
  }
  WidenToFit(list, lines);
}

void InfoDialog::ClearList(int listId) {
  SendMessageA(Item(listId), LB_RESETCONTENT, 0, 0);  // no result
}

std::optional<std::string> InfoDialog::SelectedDevice(int listId) const {
  if (!listHasDevices[ListIndex(listId)]) return std::nullopt;
  HWND list = Item(listId);
  const LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
  if (index == LB_ERR) return std::nullopt;
  const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR) return std::nullopt;
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const LRESULT copied = SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index),
                                      reinterpret_cast<LPARAM>(text.data()));
  if (copied == LB_ERR) return std::nullopt;
  text.resize(static_cast<size_t>(copied));
  return text;
}
