#pragma once

#include <windows.h>

#include <optional>

#include "core/geometry/VideoPosition.h"

// What the video window's mouse does, for the control panel to act on.
enum class VideoMouse {
  LeftDoubleClick,   // full screen on or off
  LeftDown,          // the video window is the active one
  RightDown,         // the panel is the active one and comes to the top
  RightDoubleClick,  // park the panel off screen, or bring it back
  SideButton1,       // channel down
  SideButton2,       // channel up
};

// What the video window asks of the control panel: it has no logic of its
// own beyond sizing, the mouse and the cursor, and passes every command on.
class VideoWindowHost {
 public:
  virtual void OnVideoResized() = 0;
  virtual bool RepaintVideo(HWND videoWindow, HDC dc) = 0;
  // The display's mode changed (WM_DISPLAYCHANGE).
  virtual void OnDisplayModeChanged() = 0;
  virtual void OnVideoCommand(int command) = 0;
  virtual void OnVideoClosed() = 0;
  // `onFrame`: on the sizing frame rather than the picture.
  virtual void OnVideoMouse(VideoMouse action, bool onFrame) = 0;
  // The cursor rested three seconds on the picture and was hidden.
  virtual void OnVideoCursorHidden() = 0;
  // Full screen: the picture is then no handle for moving the window.
  virtual bool IsFullScreen() const = 0;
  // The aspect the window keeps while the resize lock is on; nothing while
  // it may be sized freely.
  virtual std::optional<AspectMode> ResizeLock() const = 0;

 protected:
  ~VideoWindowHost() = default;
};
