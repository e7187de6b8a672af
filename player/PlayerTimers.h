#pragma once
// What the player's two clocks decide on each tick: the picture-size probe
// (timer 1, 500 ms) and the position clock (timer 2, 1 s).

#include "core/geometry/Geometry.h"

// The size probe. The decoder may tell its picture size late, so on each of
// the first seven ticks after a file is opened (or played again from the
// stop) the picture is re-fitted and its size shown; after them only a
// change of the size (a new sequence later in the stream) does that.
class SizeProbe {
 public:
  static constexpr int kFittingTicks = 7;

  void Start() { ticks = 0; }
  // One tick with the renderer's native size: whether to re-fit the picture
  // and show the size.
  bool Tick(Size native);

 private:
  int ticks = 0;
  Size shown;
};

// What the position clock does besides moving the read-out and the slider.
enum class PositionEvent {
  None,
  EndReached,  // stop playback
  AtStart,     // a rewind reached the start: normal rate, play greyed as while playing
};

// The slider's value decides, or the graph's word that every stream has
// played out: a file whose last picture starts before its length never
// brings the slider to its end. A paused player keeps play enabled at any
// position, so pausing in the first thousandth of a file does not leave
// both play and pause greyed.
PositionEvent PositionEventOf(int sliderValue, bool paused, bool completed = false);
