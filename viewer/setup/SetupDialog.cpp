#include "viewer/setup/SetupDialog.h"

#include <array>

#include "viewer/setup/SetupResource.h"

namespace {

constexpr std::array<const char*, 6> kTabs{
    "Digital Tuners", "Display", "Audio", "Channel Setup", "Timeshift/Record Setup", "Schedule"};
constexpr int kScheduleTab = 5;
// The pages sit inside the tab control, below its row of tabs.
constexpr int kPageTop = 20;
constexpr int kPageMargin = 4;

std::vector<OptionsPage::Binding> DisplayBindings() {
  return {{IDC_SHOW_CHANNEL, &ViewerConfig::displayChannelNumber},
          {IDC_SHOW_REMOTE_DIGITS, &ViewerConfig::displayRemoteChannelNumber},
          {IDC_SHOW_VOLUME, &ViewerConfig::displayVolume},
          {IDC_TRANSPARENT_OSD, &ViewerConfig::displayTransparent},
          {IDC_PER_CHANNEL_ASPECT, &ViewerConfig::perChannelAspect},
          {IDC_LOCK_RESIZE, &ViewerConfig::lockResize},
          {IDC_OVERSCAN, &ViewerConfig::overscan}};
}

std::vector<OptionsPage::Binding> AudioBindings() {
  return {{IDC_MUTE_ON_MINIMIZE, &ViewerConfig::muteOnMinimize},
          {IDC_PER_CHANNEL_VOLUME, &ViewerConfig::perChannelVolume},
          {IDC_SAVE_PER_CHANNEL_VOLUME, &ViewerConfig::savePerChannelVolume}};
}

}  // namespace

SetupDialog::SetupDialog(ViewerSession& session, SetupHost& host)
    : Dialog(IDD_SETUP),
      session(session),
      host(host),
      tuner(session),
      display(IDD_SETUP_DISPLAY, session.Settings(), DisplayBindings()),
      audio(IDD_SETUP_AUDIO, session.Settings(), AudioBindings()),
      channels(session, host),
      folders(session) {}

INT_PTR SetupDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
      if (header.idFrom != IDC_SETUP_TABS || header.code != TCN_SELCHANGE) return FALSE;
      ShowPage(static_cast<int>(SendMessageA(header.hwndFrom, TCM_GETCURSEL, 0, 0)));
      return TRUE;
    }
    case WM_COMMAND:
      // "OK" closes; Esc does not.
      if (LOWORD(wParam) == IDOK) OnOk();
      return TRUE;
    default:
      return FALSE;
  }
}

void SetupDialog::Open(HWND owner, bool onSchedule) {
  openOnSchedule = onSchedule;
  Run(owner);
}

INT_PTR SetupDialog::OnInitDialog() {
  HWND tabs = Item(IDC_SETUP_TABS);
  for (std::size_t i = 0; i < kTabs.size(); ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(kTabs[i]);
    SendMessageA(tabs, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
  }
  CreatePages();
  const int first = openOnSchedule ? kScheduleTab : 0;
  openOnSchedule = false;
  SendMessageA(tabs, TCM_SETCURSEL, first, 0);
  ShowPage(first);
  return TRUE;
}

void SetupDialog::CreatePages() {
  RECT area{};
  HWND tabs = Item(IDC_SETUP_TABS);
  GetWindowRect(tabs, &area);
  MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&area), 2);
  tuner.Create(hwnd);
  display.Create(hwnd);
  audio.Create(hwnd);
  channels.Create(hwnd);
  folders.Create(hwnd);
  schedule.Create(hwnd);
  for (HWND page : {tuner.Handle(), display.Handle(), audio.Handle(), channels.Handle(),
                    folders.Handle(), schedule.Handle()}) {
    // Above the tab control, which would otherwise paint over the pages.
    SetWindowPos(page, HWND_TOP, area.left + kPageMargin, area.top + kPageTop,
                 area.right - area.left - 2 * kPageMargin, area.bottom - area.top - kPageTop - kPageMargin,
                 SWP_HIDEWINDOW);
  }
}

void SetupDialog::ShowPage(int index) {
  const std::array<HWND, 6> pages{tuner.Handle(),    display.Handle(), audio.Handle(),
                                  channels.Handle(), folders.Handle(), schedule.Handle()};
  for (HWND page : pages) ShowWindow(page, SW_HIDE);
  if (index >= 0 && index < static_cast<int>(pages.size())) {
    ShowWindow(pages[static_cast<std::size_t>(index)], SW_SHOW);
  }
}

// The channel list first (it may show a message), then the settings; the
// pages go with the window.
void SetupDialog::OnOk() {
  channels.Commit();
  display.Commit();
  audio.Commit();
  host.ApplySettings();
  EndDialog(hwnd, IDOK);
}
