#include "WindowQuery.h"

#include <chrono>
#include <thread>

#include "Screenshot.h"
#include "tests/wine/shared/BoundedSend.h"

namespace driver {
namespace {

constexpr char kDialogClass[] = "#32770";
// A message box shows its text in a static control with this id, under
// Windows and under Wine alike.
constexpr int kBoxTextId = 0xFFFF;

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

// The static control that shows a message box's icon, or nullptr when the
// box has none.
HWND IconControl(HWND box) {
  for (const ChildWindow& child : ListChildWindows(box)) {
    if (child.className != "Static") continue;
    if ((GetWindowLongPtrA(child.hwnd, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) return child.hwnd;
  }
  return nullptr;
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
  std::optional<DWORD_PTR> length = testsend::Send(hwnd, WM_GETTEXTLENGTH, 0, 0);
  if (!length) return std::nullopt;
  std::string text(static_cast<size_t>(*length) + 1, '\0');
  std::optional<DWORD_PTR> copied =
      testsend::Send(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  if (!copied) return std::nullopt;
  text.resize(static_cast<size_t>(*copied <= *length ? *copied : *length));
  return text;
}

std::vector<HWND> VisibleMessageBoxes() {
  std::vector<HWND> boxes;
  for (const TopLevelWindow& window : ListTopLevelWindows())
    if (window.visible && window.className == kDialogClass && MessageTextControl(window.hwnd) != nullptr)
      boxes.push_back(window.hwnd);
  return boxes;
}

HWND FindMessageBox(const std::optional<std::string>& title) {
  for (HWND box : VisibleMessageBoxes())
    if (!title || TitleOf(box) == *title) return box;
  return nullptr;
}

std::string WindowTitle(HWND hwnd) { return TitleOf(hwnd); }

std::optional<std::string> MessageBoxText(HWND box) {
  HWND text = MessageTextControl(box);
  if (text == nullptr) return std::nullopt;
  return ReadWindowText(text);
}

BoxIcon MessageBoxIcon(HWND box, double seconds) {
  HWND control = IconControl(box);
  if (control == nullptr || !IsWindowVisible(control)) return BoxIcon::None;
  std::optional<DWORD_PTR> icon = testsend::Send(control, STM_GETICON, 0, 0);
  if (!icon) return BoxIcon::Other;
  if (*icon == 0) return BoxIcon::None;

  static const struct {
    BoxIcon kind;
    LPCSTR id;
  } kStandard[] = {{BoxIcon::Information, IDI_ASTERISK},
                   {BoxIcon::Exclamation, IDI_EXCLAMATION},
                   {BoxIcon::Stop, IDI_HAND},
                   {BoxIcon::Question, IDI_QUESTION}};
  std::vector<HICON> icons;
  for (const auto& standard : kStandard) icons.push_back(LoadIconA(nullptr, standard.id));

  std::optional<size_t> shown;
  bool raised = false;
  WaitUntil(seconds, [&] {
    RECT client{};
    POINT origin{0, 0};
    if (!GetClientRect(control, &client) || !ClientToScreen(control, &origin)) return false;
    OffsetRect(&client, origin.x, origin.y);
    if ((shown = FindShownIcon(client, icons))) return true;
    // The viewer's start-up banner is topmost and may cover the box. Raising
    // the box changes nothing else: it is read once and closed. Asynchronous,
    // so that a box whose thread is busy cannot block the driver.
    if (!raised)
      SetWindowPos(box, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
    raised = true;
    return false;
  });
  return shown ? kStandard[*shown].kind : BoxIcon::Other;
}

const char* BoxIconName(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::None: return "none";
    case BoxIcon::Information: return "information";
    case BoxIcon::Exclamation: return "exclamation";
    case BoxIcon::Stop: return "stop";
    case BoxIcon::Question: return "question";
    case BoxIcon::Other: break;
  }
  return "other";
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
