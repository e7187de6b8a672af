#pragma once
// How far the picture runs behind the live broadcast while timeshift is on,
// and how far each transport command moves playback. The panel passes the
// local time in and shows the texts; the engine seeks by the amounts.

#include <optional>
#include <string>

#include "core/time/CivilTime.h"

// "-HH:MM:SS" behind live (each part "0%i" below 10), "00:00:00" at live.
std::string BehindLiveText(int seconds);

class TimeshiftClock {
 public:
  // Seconds behind live (the picture's delay).
  int BehindLive() const { return behindLive; }
  bool Paused() const { return paused; }
  // The buffer stopped filling: its end no longer moves.
  bool BufferFrozen() const { return bufferFrozen; }

  // Timeshift turned on or off: back at live, not paused, filling.
  void Start(const CivilTime& now);
  void Stop();

  // Pause and play. Play adds the time spent paused, unless the buffer is
  // frozen; true when the field is to be shown again.
  void Pause(const CivilTime& now);
  bool Play(const CivilTime& now);
  // While paused: the delay reached by now (timer 5).
  int BehindLiveWhilePaused(const CivilTime& now) const;

  // A skip back of `skipBack` seconds from playback `positionSeconds` into
  // the buffer: the delay grows by the skip, or by the position when the
  // skip reaches past the start.
  void SkipBack(long long positionSeconds, int skipBack);
  // A skip forward: the seconds to seek forward. Within the delay it is the
  // skip; otherwise playback goes 30 seconds past the live edge, which it
  // cannot pass, so it lands at live.
  int SkipForward(int skipForward);
  // To the start of the buffer: the delay becomes the time since timeshift
  // was turned on.
  void JumpToStart(const CivilTime& now);
  // To live: the seconds to seek forward.
  int JumpToLive();
  // Playback skipped a stretch of `seconds` that the buffer no longer holds
  // (a time hole after a long pause): the delay shrinks by as much.
  void PassTimeHole(int seconds);
  // A channel change while timeshifting seeks to live the same way.

  // The buffer stops filling: the delay is now what is left to play, and it
  // shrinks as playback goes on. Timer 6 takes 15 seconds while 31 or more
  // are left (true: keep timer 6); timer 7 then counts the last seconds
  // down: the text to show ("-00:00:SS") and one second less, or nothing
  // once the buffer has played out (stop timer 7, show "00:00:00").
  void FreezeBuffer() { bufferFrozen = true; }
  bool FrozenQuarterMinute();
  std::optional<std::string> FrozenSecond();

 private:
  int behindLive = 0;
  bool paused = false;
  bool bufferFrozen = false;
  CivilTime timeshiftStart;
  CivilTime pauseStart;
};
