#include "recorder/RecorderVariant.h"

#include <array>
#include <string_view>

#include "core/protocol/RecordingNames.h"

RecorderVariantFacts RecorderVariantFacts::For(RecorderVariant variant) {
  if (variant == RecorderVariant::TransportStream) {
    return {ProgramWindow::SilentRecorderTs, ProgramWindow::SchedulerTs, true};
  }
  return {ProgramWindow::SilentRecorder, ProgramWindow::Scheduler, false};
}

std::string RecordingFileName(RecorderVariant variant, const std::string& folder, int major,
                              int minor, const CivilTime& at) {
  return variant == RecorderVariant::TransportStream
             ? TransportStreamRecordingName(folder, major, minor, at)
             : LiveRecordingName(folder, major, minor, at);
}

bool ShownWhenScheduled(RecorderVariant variant, const std::string& message) {
  if (variant != RecorderVariant::TransportStream) return false;
  constexpr std::array<std::string_view, 6> kAlwaysShown{
      "CAN'T ADD INFPINTEE", "CAN'T CONNECT INFPINTEE", "CAN'T ADD TSDUMP",
      "CAN'T CONNECT TSDUMP", "CAN'T QI FILESINKFILTER", "CAN'T SETFILENAME"};
  for (std::string_view shown : kAlwaysShown) {
    if (message == shown) return true;
  }
  return false;
}
