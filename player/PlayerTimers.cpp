#include "player/PlayerTimers.h"

#include "player/PlayerTexts.h"

bool SizeProbe::Tick(Size native) {
  if (ticks < kFittingTicks) ++ticks;
  else if (native == shown) return false;
  shown = native;
  return true;
}

PositionEvent PositionEventOf(int sliderValue, bool paused, bool completed) {
  if (sliderValue >= kSliderRange || completed) return PositionEvent::EndReached;
  if (sliderValue <= 0 && !paused) return PositionEvent::AtStart;
  return PositionEvent::None;
}
