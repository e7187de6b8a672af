#pragma once

// The tick counter that the two re-check timers share. Each tick of either
// timer counts; once the counter passes 9 the timer that fired stops and the
// counter starts again, so a check is redone for about ten seconds while a
// registration batch file works.
class RecheckTicks {
 public:
  void Restart() { ticks = 0; }

  // Counts a tick; true when the firing timer is to stop.
  bool Tick() {
    if (++ticks <= kLastTick) return false;
    ticks = 0;
    return true;
  }

 private:
  static constexpr int kLastTick = 9;
  int ticks = 0;
};
