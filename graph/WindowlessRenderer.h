#pragma once
// The Video Mixing Renderer 7 in windowless mode: it paints into a window of
// ours, on the display we choose, at the rectangle we compute.

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include "core/geometry/Geometry.h"
#include "graph/FirstFailure.h"
#include "graph/GraphOutcome.h"
#include "core/geometry/VideoPosition.h"

class WindowlessRenderer {
 public:
  // Puts the renderer in windowless mode clipped to `videoWindow`, with
  // letter-boxing, on the primary or the secondary display. Each step that
  // fails adds its text (caption "Error"); the outcome fails only when
  // windowless mode cannot be had.
  GraphOutcome SetUp(IBaseFilter* renderer, HWND videoWindow, bool fullScreenOnPrimary,
                     IMediaControl* control);

  // Moves the renderer to the primary display, or to a secondary display
  // when full screen is not on the primary one. A running graph is paused
  // around each change.
  void SelectMonitor(bool fullScreenOnPrimary, IMediaControl* control);

  // Fits the picture into the window's client area for the aspect mode and
  // overscan, remembering the native size. A picture whose size is not yet
  // known is left alone. Called on every tick of a timer, so a renderer that
  // keeps refusing the position is told about ("CAN'T SET VIDEO POSITION")
  // once, and again only after it has once taken a position.
  GraphOutcome SetVideoPosition(HWND videoWindow, AspectMode aspectMode, bool overscan);

  // Asks the renderer to repaint the picture; false without a renderer.
  bool Repaint(HWND videoWindow, HDC dc);

  // Tells the renderer that the display's mode changed (the video window
  // got WM_DISPLAYCHANGE), so that it can rebuild its surfaces for the new
  // mode. The renderer's result; E_UNEXPECTED without a renderer.
  HRESULT DisplayModeChanged();

  bool HasControl() const { return control != nullptr; }
  // The picture size as last placed.
  Size NativeSize() const { return native; }
  // The picture size the renderer reports now ({0, 0} when it cannot tell).
  Size ReportedNativeSize() const;
  bool HasSecondaryMonitor() const { return hasSecondary; }
  Size SecondaryMonitorSize() const { return secondary; }

  // Lets go of the renderer.
  void Reset();

 private:
  Microsoft::WRL::ComPtr<IBaseFilter> renderer;
  Microsoft::WRL::ComPtr<IVMRWindowlessControl> control;
  Size native;
  Size secondary;
  bool hasSecondary = false;
  FirstFailure positionFailure;
};
