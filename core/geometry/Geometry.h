#pragma once

// Plain screen geometry in pixels, free of any platform type.

struct Size {
  int width = 0;
  int height = 0;

  friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }

  friend bool operator==(const Rect&, const Rect&) = default;
};
