#include "viewer/timeshift/TimeshiftClock.h"

#include "core/time/TimeTexts.h"

namespace {

// Beyond the delay a skip forward overshoots by this much, so that it lands
// at the live edge whatever the buffer's last position is.
constexpr int kPastLive = 30;

}  // namespace

std::string BehindLiveText(int seconds) {
  if (seconds <= 0) return "00:00:00";
  return "-" + TwoDigitText(seconds / 3600) + ":" + TwoDigitText(seconds / 60 % 60) + ":" +
         TwoDigitText(seconds % 60);
}

void TimeshiftClock::Start(const CivilTime& now) {
  timeshiftStart = now;
  behindLive = 0;
  paused = false;
  bufferFrozen = false;
}

void TimeshiftClock::Stop() {
  behindLive = 0;
  paused = false;
  bufferFrozen = false;
}

void TimeshiftClock::Pause(const CivilTime& now) {
  pauseStart = now;
  paused = true;
}

bool TimeshiftClock::Play(const CivilTime& now) {
  if (!paused) return false;
  paused = false;
  if (bufferFrozen) return false;
  behindLive = BehindLiveWhilePaused(now);
  return true;
}

int TimeshiftClock::BehindLiveWhilePaused(const CivilTime& now) const {
  const long long since = SecondsBetween(pauseStart, now);
  return behindLive + static_cast<int>(since > 0 ? since : 0);
}

void TimeshiftClock::SkipBack(long long positionSeconds, int skipBack) {
  behindLive += positionSeconds > skipBack ? skipBack : static_cast<int>(positionSeconds);
}

void TimeshiftClock::PassTimeHole(int seconds) {
  behindLive = behindLive > seconds ? behindLive - seconds : 0;
}

int TimeshiftClock::SkipForward(int skipForward) {
  if (behindLive > skipForward) {
    behindLive -= skipForward;
    return skipForward;
  }
  behindLive = 0;
  return skipForward + kPastLive;
}

void TimeshiftClock::JumpToStart(const CivilTime& now) {
  const long long since = SecondsBetween(timeshiftStart, now);
  behindLive = static_cast<int>(since > 0 ? since : 0);
}

int TimeshiftClock::JumpToLive() {
  const int seek = behindLive;
  behindLive = 0;
  return seek;
}

bool TimeshiftClock::FrozenQuarterMinute() {
  if (behindLive <= 30) return false;
  behindLive -= 15;
  return true;
}

std::optional<std::string> TimeshiftClock::FrozenSecond() {
  if (behindLive < 1) return std::nullopt;
  const std::string text = "-00:00:" + TwoDigitText(behindLive);
  --behindLive;
  return text;
}
