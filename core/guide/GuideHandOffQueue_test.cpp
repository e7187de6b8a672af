#include "core/guide/GuideHandOffQueue.h"

#include <gtest/gtest.h>

#include "core/guide/RecordingPadding.h"
#include "core/testing/FakeGuideScheduler.h"
#include "core/testing/TestFolder.h"
#include "core/testing/UsEasternZone.h"

namespace {

using Kind = GuideHandOffOutcome::Kind;

// Sunday 1 June 2025, 12:00 PM EDT.
const std::int64_t kNow = Utc(2025, 6, 1, 16, 0);

GuideHandOffItem Item(const std::string& title, int hourUtc,
                      GuideHandOffItem::Kind kind = GuideHandOffItem::Kind::Once) {
  static const UsEasternZone zone;
  const GuideProgramme programme{7, 1, 1, Utc(2025, 6, 1, hourUtc, 0), 1800, title, ""};
  const auto recording = PaddedRecordingEvent(programme, {"WAAA", 33, 7, -1}, {}, "", zone);
  return GuideHandOffItem{kind, programme, *recording.event};
}

std::optional<GuideEventHandOff> Waiting(const FakeGuideScheduler& scheduler) {
  return HandOffFiles::TakeGuideEvent(scheduler.EventFile()).data;
}

}  // namespace

TEST(GuideHandOffQueueTest, OffersOneAtATimeInOrderAndReportsEachAnswer) {
  const TestFolder folder;
  FakeGuideScheduler scheduler(folder.Path());
  GuideHandOffQueue queue(scheduler);

  EXPECT_TRUE(queue.Add(Item("News", 20), kNow).empty());
  EXPECT_TRUE(queue.Add(Item("Weather", 21), kNow).empty());
  EXPECT_TRUE(queue.Add(Item("Sports", 22, GuideHandOffItem::Kind::SeriesShowing), kNow).empty());
  EXPECT_EQ(scheduler.posts, 1);
  EXPECT_EQ(queue.Waiting(), 3u);

  // Only the first is written; a timer tick writes nothing more meanwhile.
  const auto first = scheduler.Answer("OK");
  ASSERT_TRUE(first);
  EXPECT_EQ(first->request, 1);
  EXPECT_EQ(first->event.startHour, 15);  // 4:00 PM less a minute
  EXPECT_TRUE(queue.Tick(kNow + 1).empty());
  EXPECT_FALSE(std::filesystem::exists(scheduler.EventFile()));

  const auto accepted = queue.OnAnswer(1, true, kNow + 1);
  ASSERT_EQ(accepted.size(), 1u);
  EXPECT_EQ(accepted[0].kind, Kind::Accepted);
  EXPECT_EQ(accepted[0].item.programme.title, "News");
  const UsEasternZone zone;
  EXPECT_EQ(GuideHandOffText(accepted[0], zone), "RECORDING SCHEDULED: News Sun, Jun 1, 2025 4:00 PM");

  // The answer made way for the next, written at once.
  const auto second = scheduler.Answer("START TIME BETWEEN EXISTING TIME");
  ASSERT_TRUE(second);
  EXPECT_EQ(second->request, 2);
  const auto refused = queue.OnAnswer(2, false, kNow + 2);
  ASSERT_EQ(refused.size(), 1u);
  EXPECT_EQ(refused[0].kind, Kind::Refused);
  EXPECT_EQ(GuideHandOffText(refused[0], zone), "START TIME BETWEEN EXISTING TIME");

  ASSERT_TRUE(scheduler.Answer("END TIME BETWEEN EXISTING TIME"));
  const auto series = queue.OnAnswer(3, false, kNow + 3);
  ASSERT_EQ(series.size(), 1u);
  EXPECT_EQ(series[0].item.kind, GuideHandOffItem::Kind::SeriesShowing);
  EXPECT_EQ(GuideHandOffText(series[0], zone),
            "END TIME BETWEEN EXISTING TIME (Sports Sun, Jun 1, 2025 6:00 PM)");
  EXPECT_EQ(queue.Waiting(), 0u);
  EXPECT_FALSE(queue.IsAwaitingAnswer());
}

TEST(GuideHandOffQueueTest, DropsAnswersToOtherRequests) {
  const TestFolder folder;
  FakeGuideScheduler scheduler(folder.Path());
  GuideHandOffQueue queue(scheduler);
  queue.Add(Item("News", 20), kNow);
  ASSERT_TRUE(scheduler.Answer("OVERLAP"));

  EXPECT_TRUE(queue.OnAnswer(7, true, kNow + 1).empty());
  EXPECT_TRUE(queue.OnAnswer(0, false, kNow + 1).empty());
  EXPECT_TRUE(std::filesystem::exists(scheduler.AnswerFile()));  // left for the awaited answer
  EXPECT_TRUE(queue.IsAwaitingAnswer());

  // A refusal whose file answers another request still refuses, in our words.
  HandOffFiles::WriteGuideAnswer(scheduler.AnswerFile(), GuideAnswer{9, "SOMETHING ELSE"});
  const auto refused = queue.OnAnswer(1, false, kNow + 2);
  ASSERT_EQ(refused.size(), 1u);
  EXPECT_EQ(refused[0].text, "THE SCHEDULER REFUSED THE EVENT");
  // Nothing is awaited any more: a repeated answer changes nothing.
  EXPECT_TRUE(queue.OnAnswer(1, true, kNow + 3).empty());
}

TEST(GuideHandOffQueueTest, GivesUpAfterTwentySecondsAndTellsWhetherTheSchedulerHadIt) {
  const TestFolder folder;
  FakeGuideScheduler scheduler(folder.Path());
  GuideHandOffQueue queue(scheduler);
  queue.Add(Item("News", 20, GuideHandOffItem::Kind::SeriesShowing), kNow);
  queue.Add(Item("Weather", 21), kNow);

  // Told again every five seconds while the answer is awaited.
  EXPECT_TRUE(queue.Tick(kNow + 4).empty());
  EXPECT_EQ(scheduler.posts, 1);
  EXPECT_TRUE(queue.Tick(kNow + 5).empty());
  EXPECT_EQ(scheduler.posts, 2);
  EXPECT_TRUE(queue.Tick(kNow + 19).empty());

  // Never read: taken back, nothing scheduled, the next one offered.
  const auto unread = queue.Tick(kNow + 20);
  ASSERT_EQ(unread.size(), 1u);
  EXPECT_EQ(unread[0].kind, Kind::NotScheduled);
  EXPECT_EQ(unread[0].item.programme.title, "News");
  EXPECT_EQ(unread[0].text, "THE SCHEDULER DID NOT ANSWER: NOTHING WAS SCHEDULED");

  // Read by the scheduler, but its answer never came: nobody can say.
  const auto taken = scheduler.Answer("OK");
  ASSERT_TRUE(taken);
  EXPECT_EQ(taken->event.startHour, 16);  // Weather, 5:00 PM less a minute
  const auto late = queue.Tick(kNow + 40);
  ASSERT_EQ(late.size(), 1u);
  EXPECT_EQ(late[0].kind, Kind::Unknown);
  EXPECT_EQ(late[0].text, "THE SCHEDULER DID NOT ANSWER IN TIME: SEE ITS LIST WHETHER THE EVENT WAS ADDED");
  // Its answer, arriving after that, is dropped.
  EXPECT_TRUE(queue.OnAnswer(2, true, kNow + 41).empty());
}

TEST(GuideHandOffQueueTest, StartsAMissingSchedulerOnceAndOffersWhenItsWindowComes) {
  const TestFolder folder;
  FakeGuideScheduler scheduler(folder.Path());
  scheduler.running = false;
  GuideHandOffQueue queue(scheduler);

  EXPECT_TRUE(queue.Add(Item("News", 20), kNow).empty());
  EXPECT_TRUE(queue.Add(Item("Weather", 21), kNow).empty());
  EXPECT_TRUE(queue.Tick(kNow + 10).empty());
  EXPECT_EQ(scheduler.starts, 1);
  EXPECT_FALSE(std::filesystem::exists(scheduler.EventFile()));

  scheduler.running = true;
  EXPECT_TRUE(queue.Tick(kNow + 11).empty());
  const auto offered = Waiting(scheduler);
  ASSERT_TRUE(offered);
  EXPECT_EQ(offered->request, 1);
  EXPECT_EQ(scheduler.starts, 1);

  // A scheduler that never shows its window: every waiting event fails.
  scheduler.running = false;
  queue.OnAnswer(1, true, kNow + 12);  // frees the queue for Weather, which needs a start
  EXPECT_EQ(scheduler.starts, 2);
  EXPECT_TRUE(queue.Tick(kNow + 41).empty());
  queue.Add(Item("Sports", 22), kNow + 41);
  const auto failed = queue.Tick(kNow + 42);
  ASSERT_EQ(failed.size(), 2u);
  EXPECT_EQ(failed[0].item.programme.title, "Weather");
  EXPECT_EQ(failed[1].item.programme.title, "Sports");
  EXPECT_EQ(failed[1].kind, Kind::NotScheduled);
  EXPECT_EQ(failed[1].text, "THE SCHEDULER COULD NOT BE STARTED: NOTHING WAS SCHEDULED");
  EXPECT_EQ(scheduler.starts, 2);

  // A start that fails at once fails the events at once, a batch with one try.
  scheduler.startWorks = false;
  const auto refusedStart = queue.Add({Item("Late Show", 23), Item("Night Show", 23)}, kNow + 50);
  ASSERT_EQ(refusedStart.size(), 2u);
  EXPECT_EQ(refusedStart[1].text, "THE SCHEDULER COULD NOT BE STARTED: NOTHING WAS SCHEDULED");
  EXPECT_EQ(scheduler.starts, 3);
}

TEST(GuideHandOffQueueTest, TakesBackAStaleFileAndRefusesAnEventThatCannotBeWritten) {
  const TestFolder folder;
  FakeGuideScheduler scheduler(folder.Path());
  // Left by a viewer that ended while it waited.
  GuideEventHandOff stale{4, Item("Old", 19).event};
  ASSERT_EQ(HandOffFiles::OfferGuideEvent(scheduler.EventFile(), stale).outcome,
            GuideOffer::Outcome::Written);
  GuideHandOffQueue queue(scheduler);

  EXPECT_TRUE(queue.Add(Item("News", 20), kNow).empty());
  const auto offered = Waiting(scheduler);
  ASSERT_TRUE(offered);
  EXPECT_EQ(offered->request, 1);
  EXPECT_EQ(offered->event.startHour, 15);
  queue.OnAnswer(1, true, kNow + 1);

  // An event the scheduler could not read back is refused here, and the
  // queue goes on with the next.
  GuideHandOffItem impossible = Item("Too Far", 21);
  impossible.event.folder = std::string(200, 'x');
  const auto refused = queue.Add(impossible, kNow + 2);
  ASSERT_EQ(refused.size(), 1u);
  EXPECT_EQ(refused[0].kind, Kind::Refused);
  EXPECT_EQ(refused[0].text, "FOLDER LONGER THAN 199 CHARACTERS");
  EXPECT_TRUE(queue.Add(Item("Weather", 22), kNow + 2).empty());
  const auto next = Waiting(scheduler);
  ASSERT_TRUE(next);
  EXPECT_EQ(next->event.startHour, 17);  // Weather, 6:00 PM less a minute
}
