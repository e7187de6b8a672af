#pragma once

#include <windows.h>

// What the video window asks of the control panel: it has no logic of its
// own beyond sizing, and passes every command on.
class VideoWindowHost {
 public:
  virtual void OnVideoResized() = 0;
  virtual bool RepaintVideo(HWND videoWindow, HDC dc) = 0;
  virtual void OnVideoCommand(int command) = 0;
  virtual void OnVideoClosed() = 0;
  // Full screen: the picture is then no handle for moving the window.
  virtual bool IsFullScreen() const = 0;

 protected:
  ~VideoWindowHost() = default;
};
