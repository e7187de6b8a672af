#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/schedule/ScheduleEvent.h"

// The small files in which the scheduler hands an event over to the program
// that carries it out. The writer owns a file until the reader has read it;
// the reader deletes it.

// silentevent.txt, scheduler -> silent recorder: "c1 c2 c3 endH endM whenDone\n"
// then the folder line.
struct SilentEventHandOff {
  int channel1 = 0;
  int channel2 = 0;
  int channel3 = 0;
  int endHour = 0;
  int endMinute = 0;
  WhenDone whenDone = WhenDone::Close;
  std::string folder;

  static SilentEventHandOff From(const ScheduleEvent& event);
  friend bool operator==(const SilentEventHandOff&, const SilentEventHandOff&) = default;
};

// reclive.txt, scheduler -> viewer: five integers each followed by a blank,
// no line feed: start hour, start minute, end hour, end minute, when-done.
struct RecLiveHandOff {
  int startHour = 0;
  int startMinute = 0;
  int endHour = 0;
  int endMinute = 0;
  WhenDone whenDone = WhenDone::Close;

  static RecLiveHandOff From(const ScheduleEvent& event);
  friend bool operator==(const RecLiveHandOff&, const RecLiveHandOff&) = default;
};

// What a reader found: `present` is false when there was no file; `data` is
// empty when the file was there but did not hold what it should (a damaged
// file is deleted all the same, and the caller reports it).
template <typename T>
struct HandOffRead {
  bool present = false;
  std::optional<T> data;
};

class HandOffFiles {
 public:
  static constexpr int kMaxDelaySeconds = 30;

  static std::string SilentEventText(const SilentEventHandOff& handOff);
  static std::optional<SilentEventHandOff> ParseSilentEvent(std::string_view text);
  static HandOffRead<SilentEventHandOff> TakeSilentEvent(const std::filesystem::path& file);

  static std::string RecLiveText(const RecLiveHandOff& handOff);
  static std::optional<RecLiveHandOff> ParseRecLive(std::string_view text);
  static HandOffRead<RecLiveHandOff> TakeRecLive(const std::filesystem::path& file);

  // delay.txt: one integer without a line feed, 0 to 30. A missing or
  // unreadable file gives 0; a value out of range is brought into it.
  static int ReadDelay(const std::filesystem::path& file);
  static bool WriteDelay(const std::filesystem::path& file, int seconds);
};
