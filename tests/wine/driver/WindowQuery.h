// Finding and reading the windows of the programs under test: top-level
// windows by exact title, controls by id, message boxes by their shape.
// Everything here only looks; the commands in main.cpp do the posting.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace driver {

struct TopLevelWindow {
  HWND hwnd = nullptr;
  std::string className;
  std::string title;
  bool visible = false;
  DWORD processId = 0;
};

struct ChildWindow {
  HWND hwnd = nullptr;
  int id = 0;
  std::string className;
  bool visible = false;
};

// Every top-level window of this thread's desktop, in z-order.
std::vector<TopLevelWindow> ListTopLevelWindows();

// The first top-level window (visible or hidden) whose title equals `title`
// exactly, case included; nullptr when there is none.
HWND FindWindowByTitle(const std::string& title);

// Every descendant of `parent`, parents before their children.
std::vector<ChildWindow> ListChildWindows(HWND parent);

// The control with this id: a direct child first, then any descendant (the
// pages of a tab control are child dialogs); nullptr when there is none.
HWND FindControl(HWND parent, int id);

// The text of a window of another process, asked for with WM_GETTEXT so that
// edit controls report what they show. Fails when the window does not answer
// within a few seconds.
std::optional<std::string> ReadWindowText(HWND hwnd);

// The visible message boxes ("#32770" dialogs holding a message text), in
// z-order.
std::vector<HWND> VisibleMessageBoxes();

// The first visible message box, optionally with this exact title; nullptr
// when there is none.
HWND FindMessageBox(const std::optional<std::string>& title);

// The title of a top-level window.
std::string WindowTitle(HWND hwnd);

// The text shown by a message box; nullopt when it does not answer.
std::optional<std::string> MessageBoxText(HWND box);

// The icon of a message box: none, one of the system's standard icons, or
// another (an icon of the program's own, or one that cannot be seen).
enum class BoxIcon { None, Information, Exclamation, Stop, Question, Other };

// The icon a message box shows. A box without icon has no icon control, or
// (under Wine) one that holds no icon. An icon handle of another process
// cannot be read, so the icon is told by its pixels on the screen. Waits up
// to `seconds` for the box to paint; a box whose icon stays hidden (under a
// topmost window of the program) is raised above the topmost windows.
BoxIcon MessageBoxIcon(HWND box, double seconds);

// "none", "information", "exclamation", "stop", "question" or "other".
const char* BoxIconName(BoxIcon icon);

// The ids of the visible push buttons of a dialog.
std::vector<int> VisibleButtonIds(HWND dialog);

// Calls `found` every 100 ms until it returns true or `seconds` have passed;
// returns whether it did.
bool WaitUntil(double seconds, const std::function<bool()>& found);

}  // namespace driver
