#pragma once
// A channel number typed on a remote control, one digit at a time: one or
// two digits of the major number and an optional third digit for the minor
// one. The entry ends 1.2 seconds after its first digit (the eighth tick of
// a 150 ms timer; later digits do not restart it).

#include <optional>
#include <string>

struct TypedChannelNumber {
  int major = 0;
  std::optional<int> minor;

  friend bool operator==(const TypedChannelNumber&, const TypedChannelNumber&) = default;
};

class ChannelDigits {
 public:
  // No entry in progress: the next digit starts one (and its timer).
  bool IsIdle() const { return idle; }
  // Whether `digit` would begin an entry (and take the caption over): only
  // a digit 0 to 9 with no entry in progress. Anything else leaves the
  // caption on screen to run its course.
  bool StartsEntry(int digit) const { return idle && IsDigit(digit); }

  // Takes a digit 0 to 9 and gives the caption of what is typed so far
  // ("5", "51", "51-2", "05", "05-2"); nothing for a fourth digit or a value
  // that is no digit, which are ignored.
  std::optional<std::string> Press(int digit);

  // One tick of the entry timer; on the eighth the entry ends and gives the
  // number typed. Without an entry in progress nothing happens.
  std::optional<TypedChannelNumber> Tick();

  static constexpr int kTicksToEnd = 8;

 private:
  static bool IsDigit(int value) { return value >= 0 && value <= 9; }

  bool idle = true;
  int ticks = 0;
  int count = 0;  // digits after the first
  int first = -1;
  int second = -1;
  int third = -1;
};
