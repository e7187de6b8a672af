#pragma once

#include <optional>

// The fast-forward and rewind multipliers. Each press doubles its rate, from
// 2 up to 16 and round again (2, 4, 8, 16, 2, ...) and sets the other rate
// back to 1; every other command resets both.
class PlaybackRates {
 public:
  // The rate to play at after a press: the new forward rate, or minus the
  // new reverse rate.
  double FastForward();
  double Rewind();

  // Both rates back to 1; the rate to play at when that changed something
  // (a rate was above 1), else nothing.
  std::optional<double> Reset();

  // Both to 1 whatever they were (the start of the file is reached).
  void Clear() { forward = reverse = 1.0; }

  double Forward() const { return forward; }
  double Reverse() const { return reverse; }

 private:
  static double Next(double rate) { return (rate >= 16.0 ? 1.0 : rate) * 2.0; }

  double forward = 1.0;
  double reverse = 1.0;
};
