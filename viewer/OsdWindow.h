#pragma once
// The on-screen display: one label over the top-left corner of the picture
// for the channel, volume and typed digits.

#include <functional>
#include <string>

#include "win/Dialog.h"
#include "win/UniqueHandle.h"

class OsdWindow : public Dialog<OsdWindow> {
 public:
  OsdWindow();

  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // Shows `text` over the video window's top-left corner in a font that
  // grows with the window; with `transparent` only the text shows.
  void ShowText(const std::string& text, const RECT& videoWindow, bool transparent);
  void Hide();

  // Called when the cursor comes over the caption.
  void OnSetCursor(std::function<void()> handler) { setCursor = std::move(handler); }

 private:
  INT_PTR OnControlColour(HDC dc);

  UniqueGdiObject font;
  UniqueGdiObject background;
  std::function<void()> setCursor;
};
