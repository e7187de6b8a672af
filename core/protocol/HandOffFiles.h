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

// guideevent.txt, guide -> scheduler: the request number on line 1, then the
// event in the layout of schedule.txt (a count line "1", the fourteen
// integers, the folder line), so that one reader and one writer serve both.
// The guide writes it whole and never over an event the scheduler has not
// taken yet: further events wait in the guide's own queue and go one at a
// time, each after the answer to the one before (or after giving up on it).
struct GuideEventHandOff {
  int request = 0;  // 1 to kMaxGuideRequest, chosen by the guide
  ScheduleEvent event;
  friend bool operator==(const GuideEventHandOff&, const GuideEventHandOff&) = default;
};

// guideanswer.txt, scheduler -> guide: the request number on line 1 and on
// line 2 "OK" or the text that refused the event, the scheduler window's own
// message. The answer goes in a file because a registered message carries
// only two integers; the message "TELVANTISSCHED GUIDE ANSWER" carries the
// request number and 1 or 0 as well, so that the guide can drop an answer to
// a request it has given up on without reading the file. Request 0 answers a
// guideevent.txt so damaged that its number could not be read.
struct GuideAnswer {
  int request = 0;
  std::string text;
  bool IsAccepted() const;
  friend bool operator==(const GuideAnswer&, const GuideAnswer&) = default;
};

// What writing guideevent.txt came to. Busy: the scheduler has not taken the
// previous event yet, which stays as it was.
struct GuideOffer {
  enum class Outcome { Written, Busy, Refused, Failed } outcome = Outcome::Failed;
  std::string message;  // Refused and Failed: the text to show
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

  // The guide's hand-off to the scheduler.
  static constexpr int kMaxGuideRequest = 32767;
  static constexpr const char* kGuideAccepted = "OK";
  // A guideevent.txt that does not hold an event (the scheduler's answer).
  static constexpr const char* kDamagedGuideEvent = "THE GUIDE'S EVENT FILE IS DAMAGED: NOTHING WAS SCHEDULED";
  // The guide gives up waiting for an answer after this many seconds; the
  // scheduler answers within a second unless it is blocked or not running.
  static constexpr int kGuideAnswerSeconds = 20;
  // The guide's texts on giving up: the event was taken back unread, or the
  // scheduler took it and its answer did not come.
  static constexpr const char* kGuideNoAnswer = "THE SCHEDULER DID NOT ANSWER: NOTHING WAS SCHEDULED";
  static constexpr const char* kGuideLateAnswer =
      "THE SCHEDULER DID NOT ANSWER IN TIME: SEE ITS LIST WHETHER THE EVENT WAS ADDED";

  // The number after `previous`, from 1 to kMaxGuideRequest and round again.
  static int NextGuideRequest(int previous);

  static std::string GuideEventText(const GuideEventHandOff& handOff);
  static std::optional<GuideEventHandOff> ParseGuideEvent(std::string_view text);
  // Writes the file unless one is still waiting there (Busy). An event whose
  // fields the scheduler could not read back (a folder over 199 characters,
  // an impossible date) is Refused with the reader's message.
  static GuideOffer OfferGuideEvent(const std::filesystem::path& file, const GuideEventHandOff& handOff);
  // The scheduler's read: the file is claimed by renaming it first, so that
  // the guide's next event, written after the claim, is never deleted unread.
  static HandOffRead<GuideEventHandOff> TakeGuideEvent(const std::filesystem::path& file);
  // The guide takes its event back: true when it was still there, unread.
  // Whoever renames the file first owns it, so this and TakeGuideEvent never
  // both get it. The guide also withdraws a file left behind by a viewer that
  // ended while it waited, before it offers its first event.
  static bool WithdrawGuideEvent(const std::filesystem::path& file);
  // Giving up on an answer: withdraws the event and returns the text to show.
  static std::string GiveUpGuideEvent(const std::filesystem::path& file);

  static std::string GuideAnswerText(const GuideAnswer& answer);
  static std::optional<GuideAnswer> ParseGuideAnswer(std::string_view text);
  static bool WriteGuideAnswer(const std::filesystem::path& file, const GuideAnswer& answer);
  static HandOffRead<GuideAnswer> TakeGuideAnswer(const std::filesystem::path& file);

  // delay.txt: one integer without a line feed, 0 to 30. A missing or
  // unreadable file gives 0; a value out of range is brought into it.
  static int ReadDelay(const std::filesystem::path& file);
  static bool WriteDelay(const std::filesystem::path& file, int seconds);
};
