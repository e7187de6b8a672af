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

// The first visible message box (a "#32770" dialog holding a message text),
// optionally with this exact title; nullptr when there is none.
HWND FindMessageBox(const std::optional<std::string>& title);

// The text shown by a message box.
std::string MessageBoxText(HWND box);

// The ids of the visible push buttons of a dialog.
std::vector<int> VisibleButtonIds(HWND dialog);

// Calls `found` every 100 ms until it returns true or `seconds` have passed;
// returns whether it did.
bool WaitUntil(double seconds, const std::function<bool()>& found);

}  // namespace driver
