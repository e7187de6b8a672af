#pragma once
// The borderless, resizable popup the video renderer paints into. Its
// picture can be dragged to move it; keys, clicks and closing go to the
// panel. It hides the cursor after three seconds of rest on the picture.

#include "win/Dialog.h"
#include "core/geometry/Geometry.h"
#include "viewer/VideoWindowHost.h"

class VideoWindow : public Dialog<VideoWindow> {
 public:
  explicit VideoWindow(VideoWindowHost& host);

  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // Places the window (a full window rectangle) and shows it.
  void Place(int left, int top, int width, int height, bool topMost);
  void Place(const Rect& rect, bool topMost);
  Rect WindowRect() const;

  // Where the window goes back to when it leaves full screen.
  void SetRestoreRect(const Rect& rect) { restore = rect; }
  const Rect& RestoreRect() const { return restore; }

  // The cursor is wanted elsewhere (the panel, the caption): it shows again
  // and the rest count stops.
  void StopCursorTimer();

 private:
  INT_PTR OnPaint();
  INT_PTR OnHitTest(LPARAM lParam);
  INT_PTR OnGetMinMaxInfo(LPARAM lParam);
  INT_PTR OnSizing(WPARAM edge, LPARAM lParam);
  INT_PTR OnMoving(LPARAM lParam);
  INT_PTR OnSetCursor();
  INT_PTR OnCursorTimer();
  INT_PTR OnSideButton(WPARAM wParam, bool onFrame);
  INT_PTR Mouse(VideoMouse action, bool onFrame);
  INT_PTR Result(LRESULT value);
  void ShowCursorAgain();

  static constexpr UINT_PTR kCursorTimer = 1;
  static constexpr UINT kCursorPeriod = 1000;
  static constexpr int kSecondsToHide = 3;

  VideoWindowHost& host;
  Rect restore{};
  bool cursorVisible = true;
  int idleSeconds = 0;
};
