#pragma once
// The borderless, sizable popup the renderer paints into, titled
// "TelvantisPlayVideo". Only its bottom edge resizes it; its picture can be
// dragged, and snaps to the work area's edges; its keys, double clicks and
// closing go to the panel.

#include "win/Window.h"

#include "core/geometry/Geometry.h"

class PlayerVideoHost {
 public:
  virtual bool RepaintVideo(HWND window, HDC dc) = 0;
  // The display's mode changed (WM_DISPLAYCHANGE).
  virtual void OnDisplayModeChanged() = 0;
  virtual void OnVideoResized() = 0;
  virtual void OnVideoCommand(int command) = 0;
  virtual void OnVideoClosed() = 0;
  virtual void OnVideoRightClick() = 0;
  virtual bool IsFullScreen() const = 0;
  virtual Rect SizedVideoRect(const Rect& proposed, const Rect& current, bool bottomEdge) = 0;

 protected:
  ~PlayerVideoHost() = default;
};

class PlayerVideoWindow : public Window<PlayerVideoWindow> {
 public:
  explicit PlayerVideoWindow(PlayerVideoHost& host) : host(host) {}

  bool Create();
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  void Place(const Rect& rect);
  Rect WindowRect() const;
  void SetTopMost(bool on);
  bool TopMost() const { return topMost; }

  // The file dialog is up: the cursor is not hidden then.
  void SetCursorHiding(bool on) { cursorHiding = on; }

  // The cursor is over the panel: it shows, and the idle count that would
  // hide it and raise this window over the panel stops.
  void StopCursorTimer();

 private:
  LRESULT OnPaint();
  LRESULT OnSizing(WPARAM edge, LPARAM lParam);
  LRESULT OnMoving(LPARAM lParam);
  void OnCursorTimer();

  PlayerVideoHost& host;
  bool topMost = false;
  bool cursorHiding = true;
  bool cursorShown = true;
  int idleTicks = 0;
};
