#pragma once

// Test support: a desktop of named windows, one of them in front, that
// records what is posted to which window.

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/protocol/RemoteMessage.h"

class FakeDesktop : public DesktopWindows {
 public:
  WindowId Open(const std::string& title) {
    WindowId id = nextId++;
    windows[title] = id;
    return id;
  }
  void BringToFront(const std::string& title) { front = windows.at(title); }
  void SetForeground(WindowId window) { front = window; }
  void RefusePosts() { postsFail = true; }

  WindowId FindByTitle(const std::string& title) const override {
    auto it = windows.find(title);
    return it == windows.end() ? kNoWindow : it->second;
  }
  WindowId Foreground() const override { return front; }
  bool Post(WindowId target, const RemoteMessage& message) override {
    if (postsFail) return false;
    posted.emplace_back(TitleOf(target), message);
    return true;
  }

  std::string TitleOf(WindowId window) const {
    for (const auto& [title, id] : windows) {
      if (id == window) return title;
    }
    return "<no window>";
  }

  std::vector<std::pair<std::string, RemoteMessage>> posted;

 private:
  std::map<std::string, WindowId> windows;
  WindowId front = kNoWindow;
  WindowId nextId = 0x100;
  bool postsFail = false;
};
