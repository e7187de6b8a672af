#include "core/guide/GuideHandOffQueue.h"

#include <utility>

#include "core/guide/GuideTexts.h"
#include "core/time/TimeTexts.h"

std::vector<GuideHandOffOutcome> GuideHandOffQueue::Add(GuideHandOffItem item, std::int64_t nowSeconds) {
  std::vector<GuideHandOffItem> batch;
  batch.push_back(std::move(item));
  return Add(std::move(batch), nowSeconds);
}

std::vector<GuideHandOffOutcome> GuideHandOffQueue::Add(std::vector<GuideHandOffItem> batch,
                                                        std::int64_t nowSeconds) {
  for (GuideHandOffItem& item : batch) items.push_back(std::move(item));
  std::vector<GuideHandOffOutcome> outcomes;
  Advance(nowSeconds, outcomes);
  return outcomes;
}

std::vector<GuideHandOffOutcome> GuideHandOffQueue::Tick(std::int64_t nowSeconds) {
  std::vector<GuideHandOffOutcome> outcomes;
  Advance(nowSeconds, outcomes);
  return outcomes;
}

std::vector<GuideHandOffOutcome> GuideHandOffQueue::OnAnswer(int answered, bool accepted,
                                                             std::int64_t nowSeconds) {
  std::vector<GuideHandOffOutcome> outcomes;
  // An answer to a request given up on (or a stray one) is not ours to take:
  // the file is left for the answer that is awaited, written over it.
  if (state != State::Awaiting || answered != request) return outcomes;
  const HandOffRead<GuideAnswer> answer = platform.TakeAnswer();
  state = State::Idle;
  if (accepted) {
    Finish(GuideHandOffOutcome::Kind::Accepted, HandOffFiles::kGuideAccepted, outcomes);
  } else {
    // The message decides; the file only adds the words, when it is the
    // answer to this very request.
    const bool hasText = answer.data && answer.data->request == request && !answer.data->IsAccepted();
    Finish(GuideHandOffOutcome::Kind::Refused, hasText ? answer.data->text : kRefusedWithoutText,
           outcomes);
  }
  Advance(nowSeconds, outcomes);
  return outcomes;
}

void GuideHandOffQueue::Advance(std::int64_t now, std::vector<GuideHandOffOutcome>& outcomes) {
  for (;;) {
    switch (state) {
      case State::Awaiting:
        if (now >= deadline) {
          // Taken back unread: nothing was added. Gone: the scheduler has it,
          // and only its list can tell.
          const bool withdrawn = platform.WithdrawOffer();
          state = State::Idle;
          Finish(withdrawn ? GuideHandOffOutcome::Kind::NotScheduled : GuideHandOffOutcome::Kind::Unknown,
                 withdrawn ? HandOffFiles::kGuideNoAnswer : HandOffFiles::kGuideLateAnswer, outcomes);
          continue;
        }
        if (now - lastPost >= kRepostSeconds || now < lastPost) {
          (void)platform.PostOffer();  // a lost message is posted again, or the wait ends in a give-up
          lastPost = now;
        }
        return;
      case State::StartingScheduler:
        if (platform.IsSchedulerRunning()) {
          state = State::Idle;
          continue;
        }
        if (now < deadline) return;
        state = State::Idle;
        while (!items.empty()) Finish(GuideHandOffOutcome::Kind::NotScheduled, kSchedulerNotStarted, outcomes);
        return;
      case State::Idle:
        if (items.empty()) return;
        if (!platform.IsSchedulerRunning()) {
          if (!platform.StartScheduler()) {
            while (!items.empty())
              Finish(GuideHandOffOutcome::Kind::NotScheduled, kSchedulerNotStarted, outcomes);
            return;
          }
          state = State::StartingScheduler;
          deadline = now + kStartSeconds;
          return;
        }
        Offer(now, outcomes);
        continue;
    }
  }
}

void GuideHandOffQueue::Offer(std::int64_t now, std::vector<GuideHandOffOutcome>& outcomes) {
  request = HandOffFiles::NextGuideRequest(request);
  const GuideEventHandOff handOff{request, items.front().event};
  GuideOffer offer = platform.WriteOffer(handOff);
  if (offer.outcome == GuideOffer::Outcome::Busy) {
    // Nothing of ours waits there: it is a file left by a viewer that ended
    // while it waited, and nobody will read its answer. Taken back, the
    // name is free for this event.
    (void)platform.WithdrawOffer();  // false: the scheduler took it meanwhile, which frees the name too
    offer = platform.WriteOffer(handOff);
  }
  switch (offer.outcome) {
    case GuideOffer::Outcome::Written:
      state = State::Awaiting;
      deadline = now + HandOffFiles::kGuideAnswerSeconds;
      (void)platform.PostOffer();  // a lost message is posted again while the answer is awaited
      lastPost = now;
      return;
    case GuideOffer::Outcome::Busy:
      Finish(GuideHandOffOutcome::Kind::NotScheduled, kOfferInUse, outcomes);
      return;
    case GuideOffer::Outcome::Refused:
      Finish(GuideHandOffOutcome::Kind::Refused, offer.message, outcomes);
      return;
    case GuideOffer::Outcome::Failed:
      Finish(GuideHandOffOutcome::Kind::NotScheduled, offer.message, outcomes);
      return;
  }
}

void GuideHandOffQueue::Finish(GuideHandOffOutcome::Kind kind, std::string text,
                               std::vector<GuideHandOffOutcome>& outcomes) {
  outcomes.push_back(GuideHandOffOutcome{kind, std::move(items.front()), std::move(text)});
  items.pop_front();
}

std::string GuideHandOffText(const GuideHandOffOutcome& outcome, const LocalZone& zone) {
  const GuideProgramme& programme = outcome.item.programme;
  const CivilTime start = zone.ToLocal(programme.startUtc);
  const std::string showing = programme.title + " " + ProgrammeDayText(programme, zone) + " " +
                              ClockText12(start.hour, start.minute);
  if (outcome.kind == GuideHandOffOutcome::Kind::Accepted) return "RECORDING SCHEDULED: " + showing;
  if (outcome.item.kind == GuideHandOffItem::Kind::Once) return outcome.text;
  return outcome.text + " (" + showing + ")";
}
