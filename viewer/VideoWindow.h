#pragma once
// The borderless, resizable popup the video renderer paints into. Its
// client area can be dragged to move it; keys and closing go to the panel.

#include "win/Dialog.h"
#include "viewer/VideoWindowHost.h"

class VideoWindow : public Dialog<VideoWindow> {
 public:
  explicit VideoWindow(VideoWindowHost& host);

  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // Places the window (a full window rectangle) and shows it.
  void Place(int left, int top, int width, int height, bool topMost);

  // Where the window goes back to when it leaves full screen.
  void SetRestoreRect(const RECT& rect) { restore = rect; }

 private:
  INT_PTR OnPaint();
  INT_PTR OnHitTest(LPARAM lParam);
  INT_PTR OnGetMinMaxInfo(LPARAM lParam);
  INT_PTR Result(LRESULT value);

  VideoWindowHost& host;
  RECT restore{};
};
