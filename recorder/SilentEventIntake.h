#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "core/protocol/HandOffFiles.h"
#include "core/time/CivilTime.h"

// How the recorder takes over silentevent.txt at start-up. The file carries
// no date, so its age is judged by its file time: the scheduler writes it
// five seconds before the event and starts the recorder four seconds later
// (later only while an earlier recorder is closing), so a file older than a
// few minutes was left behind by a recorder that never started. Recording it
// now would record an old event at the wrong time: such a file is moved
// aside to silentevent.txt.old and the recorder starts by hand.
struct SilentEventIntake {
  enum class Kind {
    None,     // no file: a recording by hand
    Event,    // a fresh, readable event: a scheduled recording
    TooOld,   // moved aside to silentevent.txt.old
    Damaged,  // unreadable; deleted
  };
  Kind kind = Kind::None;
  std::optional<SilentEventHandOff> event;
  // How long before `now` the scheduler wrote the file: the hand-off, from
  // which the recorder finds the event's end (the file names no start).
  long long writtenSecondsAgo = 0;

  // The oldest hand-off file that is still used.
  static constexpr std::chrono::minutes kMaxAge{3};

  // Reads and deletes (or moves aside) the file. `now` is the file system
  // clock's present time, passed in by the caller.
  static SilentEventIntake Take(const std::filesystem::path& file,
                                std::filesystem::file_time_type now);

  // The local time of the hand-off, given the local time now.
  CivilTime HandedOver(const CivilTime& localNow) const {
    return AddSeconds(localNow, -writtenSecondsAgo);
  }

  // The entry for scheduler.txt when the file was not used, else empty:
  // "OLD SILENTEVENT.TXT NOT USED, MOVED TO SILENTEVENT.TXT.OLD: stamp" or
  // "DAMAGED SILENTEVENT.TXT NOT USED: stamp", with a line feed.
  std::string LogEntry(const CivilTime& now) const;
};
