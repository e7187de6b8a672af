#pragma once
// Fits a picture into a destination rectangle without changing its shape:
// the largest rectangle of the picture's aspect ratio, centred in the
// destination, as a video renderer does in letter-box mode.

struct BoxRect {
  long left = 0;
  long top = 0;
  long right = 0;
  long bottom = 0;

  long Width() const { return right - left; }
  long Height() const { return bottom - top; }
  bool operator==(const BoxRect&) const = default;
};

// `aspectX`:`aspectY` is the picture's shape (for example 16:9, or its width
// and height in pixels). An empty destination or a shape with a zero side
// gives the destination unchanged.
BoxRect LetterBox(const BoxRect& destination, long aspectX, long aspectY);

// `r`, given on a picture of `from` width x height, on the same picture held
// at `to` size: scaled, then kept within it (a rectangle of a larger picture
// seen before may reach past the new one). Sizes with a zero side give `r`
// unchanged.
BoxRect ScaleToPicture(const BoxRect& r, long fromWidth, long fromHeight, long toWidth,
                       long toHeight);
