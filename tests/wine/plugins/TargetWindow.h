// One window of telvtarget: it takes the title of a viewer or player window
// and writes every key-down and remote command it receives to targets.log as
// "<title>: KEY <letter>" or "<title>: REMOTE <wParam> <lParam>".
#pragma once

#include <windows.h>

#include <string>

class TargetWindow {
 public:
  bool Create(const std::string& title, int index);

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Log(const std::string& line) const;

  HWND hwnd = nullptr;
  std::string title;
};
