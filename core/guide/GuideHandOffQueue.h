#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/guide/GuideProgramme.h"
#include "core/protocol/HandOffFiles.h"
#include "core/schedule/ScheduleEvent.h"
#include "core/time/LocalZone.h"

// The guide's events on their way to the scheduler. They wait here in the
// order they came and go one at a time through guideevent.txt: the next is
// written only after the scheduler answered the one before, or after the
// guide gave up waiting for it. The queue holds every decision (order,
// request numbers, waiting, giving up, starting the scheduler); the program
// does the platform's part through GuideHandOffPlatform and drives the
// queue from its timer and from the scheduler's answer message.

// What an event is for: a one-time RECORD, or a showing of a series rule
// (the rule is the programme's channel and title; the showing its start).
struct GuideHandOffItem {
  enum class Kind { Once, SeriesShowing } kind = Kind::Once;
  GuideProgramme programme;
  ScheduleEvent event;  // the padded recording handed over
};

// What became of an item.
//  Accepted       the scheduler added the event;
//  Refused        the scheduler refused it, or it could not be written as
//                 an event: offering it again would be refused again;
//  NotScheduled   it never reached the scheduler (taken back unread, the
//                 scheduler could not be started, the file not written):
//                 nothing was added, and it may be offered again later;
//  Unknown        the scheduler took it but its answer did not come in time.
struct GuideHandOffOutcome {
  enum class Kind { Accepted, Refused, NotScheduled, Unknown } kind = Kind::NotScheduled;
  GuideHandOffItem item;
  std::string text;  // the scheduler's refusal, or the reason nothing happened
};

// The platform's part: the scheduler's window, its program and the files.
class GuideHandOffPlatform {
 public:
  virtual ~GuideHandOffPlatform() = default;
  // Whether the scheduler's window is there to take an event.
  virtual bool IsSchedulerRunning() = 0;
  // Starts the scheduler; false when it could not even be started.
  virtual bool StartScheduler() = 0;
  // Writes guideevent.txt (HandOffFiles::OfferGuideEvent).
  virtual GuideOffer WriteOffer(const GuideEventHandOff& handOff) = 0;
  // Tells the scheduler that an event waits; false when it could not.
  virtual bool PostOffer() = 0;
  // Takes guideanswer.txt (HandOffFiles::TakeGuideAnswer).
  virtual HandOffRead<GuideAnswer> TakeAnswer() = 0;
  // Takes guideevent.txt back: true when it was still there, unread.
  virtual bool WithdrawOffer() = 0;
};

class GuideHandOffQueue {
 public:
  // How long the queue waits for a started scheduler's window.
  static constexpr std::int64_t kStartSeconds = 30;
  // While an answer is awaited the scheduler is told again this often: a
  // scheduler that is still starting passes the message over, and one that
  // has taken the file already ignores a repeated message.
  static constexpr std::int64_t kRepostSeconds = 5;

  static constexpr const char* kSchedulerNotStarted =
      "THE SCHEDULER COULD NOT BE STARTED: NOTHING WAS SCHEDULED";
  static constexpr const char* kOfferInUse =
      "THE GUIDE'S EVENT FILE IS IN USE: NOTHING WAS SCHEDULED";
  // A refusal whose text could not be read from guideanswer.txt.
  static constexpr const char* kRefusedWithoutText = "THE SCHEDULER REFUSED THE EVENT";

  explicit GuideHandOffQueue(GuideHandOffPlatform& platform) : platform(platform) {}

  // Queues items and offers the first at once when nothing else is awaited.
  // A batch is queued whole first, so a scheduler that cannot be started is
  // asked once for all of them.
  std::vector<GuideHandOffOutcome> Add(GuideHandOffItem item, std::int64_t nowSeconds);
  std::vector<GuideHandOffOutcome> Add(std::vector<GuideHandOffItem> batch, std::int64_t nowSeconds);
  // The timer: offers the next item, gives up on an answer, waits for a
  // starting scheduler.
  std::vector<GuideHandOffOutcome> Tick(std::int64_t nowSeconds);
  // The scheduler's answer message: `request` and whether it was accepted.
  // An answer to any other request than the one awaited is dropped.
  std::vector<GuideHandOffOutcome> OnAnswer(int request, bool accepted, std::int64_t nowSeconds);

  std::size_t Waiting() const { return items.size(); }
  bool IsAwaitingAnswer() const { return state == State::Awaiting; }

 private:
  enum class State { Idle, StartingScheduler, Awaiting };

  void Advance(std::int64_t nowSeconds, std::vector<GuideHandOffOutcome>& outcomes);
  void Offer(std::int64_t nowSeconds, std::vector<GuideHandOffOutcome>& outcomes);
  void Finish(GuideHandOffOutcome::Kind kind, std::string text,
              std::vector<GuideHandOffOutcome>& outcomes);

  GuideHandOffPlatform& platform;
  std::deque<GuideHandOffItem> items;  // the front one is offered or next
  State state = State::Idle;
  int request = 0;              // the last request number used
  std::int64_t deadline = 0;    // of the answer, or of the scheduler's start
  std::int64_t lastPost = 0;
};

// The text for the user: "RECORDING SCHEDULED: <title> <day> <start>" for
// an accepted item; a one-time refusal is the scheduler's own text, a
// series showing's refusal is followed by the showing in parentheses.
std::string GuideHandOffText(const GuideHandOffOutcome& outcome, const LocalZone& zone);
