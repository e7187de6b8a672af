#pragma once

#include <cstdint>
#include <string>

// What the remote command message asks of the viewer, in its lParam; wParam
// carries the digit of a digit entry and is 0 otherwise.
enum class ViewerRemoteAction : std::int32_t {
  Digit = 0,
  ChannelUp = 1,
  ChannelDown = 2,
  Recall = 3,
  DisplaySwitch = 10,
};

// The players take the remote command message only as the switch between
// the primary and the secondary display, sent as (0, 0).
enum class PlayerRemoteAction : std::int32_t { DisplaySwitch = 0 };

// A message that a remote-control plug-in posts to a program's control
// window: either a key-down carrying the program's own shortcut letter, so the
// program reacts exactly as to the key, or the remote command message with
// its two small integers.
struct RemoteMessage {
  enum class Kind { KeyDown, RemoteCommand };

  Kind kind = Kind::KeyDown;
  std::uint32_t wParam = 0;  // KeyDown: the upper-case letter's virtual-key code
  std::int32_t lParam = 0;

  static RemoteMessage Key(char letter) { return {Kind::KeyDown, static_cast<std::uint32_t>(letter), 0}; }
  static RemoteMessage Command(std::uint32_t digit, std::int32_t action) {
    return {Kind::RemoteCommand, digit, action};
  }
  static RemoteMessage Command(std::uint32_t digit, ViewerRemoteAction action) {
    return Command(digit, static_cast<std::int32_t>(action));
  }
  static RemoteMessage Command(PlayerRemoteAction action) {
    return Command(0, static_cast<std::int32_t>(action));
  }

  friend bool operator==(const RemoteMessage&, const RemoteMessage&) = default;
};

// The remote command message number: the first application message + 10.
inline constexpr unsigned kRemoteCommandMessage = 0x800A;

// Window identities as the platform hands them out; 0 is no window.
using WindowId = std::uintptr_t;
inline constexpr WindowId kNoWindow = 0;

// What the plug-ins need of the desktop. The plug-ins hold no state: each
// call searches the windows afresh through this interface.
class DesktopWindows {
 public:
  virtual ~DesktopWindows() = default;
  // The top-level window with exactly this title, or kNoWindow.
  virtual WindowId FindByTitle(const std::string& title) const = 0;
  virtual WindowId Foreground() const = 0;
  // Whether the message was queued for the window.
  virtual bool Post(WindowId target, const RemoteMessage& message) = 0;
};
