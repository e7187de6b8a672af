#pragma once

#include "core/protocol/RemoteMessage.h"

// The real desktop: windows found by exact title, the foreground window, and
// messages posted to another program's window.
class Win32Desktop : public DesktopWindows {
 public:
  WindowId FindByTitle(const std::string& title) const override;
  WindowId Foreground() const override;
  bool Post(WindowId target, const RemoteMessage& message) override;
};
