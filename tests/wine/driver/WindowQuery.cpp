#include "WindowQuery.h"

#include <chrono>
#include <thread>

namespace driver {
namespace {

constexpr char kDialogClass[] = "#32770";
// A message box shows its text in a static control with this id, under
// Windows and under Wine alike.
constexpr int kBoxTextId = 0xFFFF;
constexpr UINT kTextTimeoutMs = 5000;

std::string ClassOf(HWND hwnd) {
  char name[256] = "";
  if (GetClassNameA(hwnd, name, sizeof name) == 0) return {};
  return name;
}

// The caption of a top-level window. For a window of another process
// GetWindowText reads the stored caption without sending a message (unlike
// GetWindowTextLength), so a hung program cannot block the driver here.
std::string TitleOf(HWND hwnd) {
  char title[1024] = "";
  if (GetWindowTextA(hwnd, title, sizeof title) == 0) return {};
  return title;
}

// The static control that holds a message box's text, or nullptr when the
// dialog is not a message box.
HWND MessageTextControl(HWND dialog) {
  HWND text = GetDlgItem(dialog, kBoxTextId);
  return text != nullptr && ClassOf(text) == "Static" ? text : nullptr;
}

}  // namespace

std::vector<TopLevelWindow> ListTopLevelWindows() {
  std::vector<HWND> handles;
  EnumWindows(
      [](HWND hwnd, LPARAM context) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(context)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&handles));  // returns FALSE only when stopped early
  std::vector<TopLevelWindow> windows;
  windows.reserve(handles.size());
  for (HWND hwnd : handles) {
    TopLevelWindow window;
    window.hwnd = hwnd;
    window.className = ClassOf(hwnd);
    window.title = TitleOf(hwnd);
    window.visible = IsWindowVisible(hwnd) != FALSE;
    GetWindowThreadProcessId(hwnd, &window.processId);
    windows.push_back(std::move(window));
  }
  return windows;
}

HWND FindWindowByTitle(const std::string& title) {
  // FindWindowA ignores case; the programs' titles differ only in suffixes,
  // so the comparison here is exact.
  for (const TopLevelWindow& window : ListTopLevelWindows())
    if (window.title == title) return window.hwnd;
  return nullptr;
}

std::vector<ChildWindow> ListChildWindows(HWND parent) {
  std::vector<HWND> handles;
  EnumChildWindows(
      parent,
      [](HWND hwnd, LPARAM context) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(context)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&handles));  // returns FALSE only when stopped early
  std::vector<ChildWindow> children;
  children.reserve(handles.size());
  for (HWND hwnd : handles)
    children.push_back({hwnd, GetDlgCtrlID(hwnd), ClassOf(hwnd), IsWindowVisible(hwnd) != FALSE});
  return children;
}

HWND FindControl(HWND parent, int id) {
  if (HWND child = GetDlgItem(parent, id)) return child;
  for (const ChildWindow& child : ListChildWindows(parent))
    if (child.id == id) return child.hwnd;
  return nullptr;
}

std::optional<std::string> ReadWindowText(HWND hwnd) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG,
                           kTextTimeoutMs, &length))
    return std::nullopt;
  std::string text(static_cast<size_t>(length) + 1, '\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(hwnd, WM_GETTEXT, text.size(),
                           reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                           kTextTimeoutMs, &copied))
    return std::nullopt;
  text.resize(copied <= length ? static_cast<size_t>(copied) : static_cast<size_t>(length));
  return text;
}

HWND FindMessageBox(const std::optional<std::string>& title) {
  for (const TopLevelWindow& window : ListTopLevelWindows()) {
    if (!window.visible || window.className != kDialogClass) continue;
    if (title && window.title != *title) continue;
    if (MessageTextControl(window.hwnd) != nullptr) return window.hwnd;
  }
  return nullptr;
}

std::string MessageBoxText(HWND box) {
  HWND text = MessageTextControl(box);
  if (text == nullptr) return {};
  return ReadWindowText(text).value_or(std::string{});
}

std::vector<int> VisibleButtonIds(HWND dialog) {
  std::vector<int> ids;
  for (const ChildWindow& child : ListChildWindows(dialog)) {
    if (!child.visible || child.className != "Button") continue;
    LONG_PTR type = GetWindowLongPtrA(child.hwnd, GWL_STYLE) & BS_TYPEMASK;
    if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) ids.push_back(child.id);
  }
  return ids;
}

bool WaitUntil(double seconds, const std::function<bool()>& found) {
  using Clock = std::chrono::steady_clock;
  const auto deadline =
      Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
  for (;;) {
    if (found()) return true;
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

}  // namespace driver
