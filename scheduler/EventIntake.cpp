#include "scheduler/EventIntake.h"

#include "core/files/FileNames.h"

namespace EventIntake {

Result Accept(ScheduleList& list, const ScheduleEvent& candidate,
              const std::vector<ChannelEntry>& channels, const CivilTime& now,
              const std::optional<ScheduleEvent>& edited) {
  if (!FindEventChannel(channels, candidate)) return Result{std::nullopt, ScheduleList::kChannelNotListed};
  const ScheduleList::AddResult added =
      edited ? list.ReplaceEdited(*edited, candidate, now) : list.Add(candidate, now);
  return Result{added.index, added.message};
}

std::optional<GuideIntake> TakeGuideEvent(const std::filesystem::path& folder, ScheduleList& list,
                                          const std::vector<ChannelEntry>& channels,
                                          const CivilTime& now) {
  const auto read = HandOffFiles::TakeGuideEvent(folder / FileNames::kGuideEvent);
  if (!read.present) return std::nullopt;
  GuideIntake intake;
  if (!read.data) {
    intake.answer = GuideAnswer{0, HandOffFiles::kDamagedGuideEvent};
  } else {
    const Result result = Accept(list, read.data->event, channels, now);
    intake.index = result.index;
    intake.answer = GuideAnswer{read.data->request,
                                result.index ? HandOffFiles::kGuideAccepted : result.message};
  }
  intake.answerWritten =
      HandOffFiles::WriteGuideAnswer(folder / FileNames::kGuideAnswer, intake.answer);
  return intake;
}

}  // namespace EventIntake
