#pragma once

// Test support: the guide's platform over real hand-off files in a folder,
// with a scheduler whose window comes and goes at the test's word and which
// answers the waiting event when the test says so.

#include <filesystem>
#include <optional>
#include <string>

#include "core/files/FileNames.h"
#include "core/guide/GuideHandOffQueue.h"
#include "core/protocol/HandOffFiles.h"

class FakeGuideScheduler : public GuideHandOffPlatform {
 public:
  explicit FakeGuideScheduler(std::filesystem::path folder) : folder(std::move(folder)) {}

  bool running = true;
  bool startWorks = true;   // StartScheduler succeeds
  int starts = 0;
  int posts = 0;

  std::filesystem::path EventFile() const { return folder / FileNames::kGuideEvent; }
  std::filesystem::path AnswerFile() const { return folder / FileNames::kGuideAnswer; }

  // The scheduler's side: takes guideevent.txt and answers it with `text`
  // ("OK" adds it). The request answered, or nothing when no event waited.
  std::optional<GuideEventHandOff> Answer(const std::string& text) {
    const auto taken = HandOffFiles::TakeGuideEvent(EventFile());
    if (!taken.data) return std::nullopt;
    HandOffFiles::WriteGuideAnswer(AnswerFile(), GuideAnswer{taken.data->request, text});
    return taken.data;
  }

  bool IsSchedulerRunning() override { return running; }
  bool StartScheduler() override {
    ++starts;
    return startWorks;
  }
  GuideOffer WriteOffer(const GuideEventHandOff& handOff) override {
    return HandOffFiles::OfferGuideEvent(EventFile(), handOff);
  }
  bool PostOffer() override {
    ++posts;
    return running;
  }
  HandOffRead<GuideAnswer> TakeAnswer() override { return HandOffFiles::TakeGuideAnswer(AnswerFile()); }
  bool WithdrawOffer() override { return HandOffFiles::WithdrawGuideEvent(EventFile()); }

 private:
  std::filesystem::path folder;
};
