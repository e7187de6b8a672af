#include "core/protocol/ProgramProtocol.h"

namespace ProgramProtocol {

bool IsLockSwitch(const std::string& commandLine) { return commandLine == kLockSwitch; }

std::optional<RecorderReport> DecodeRecorderReport(int wParam, int lParam) {
  if (wParam == 1 && lParam == 0) return RecorderReport::StartedByUser;
  if (wParam == 1 && lParam == 1) return RecorderReport::StartedForEvent;
  if (wParam == 0 && lParam == 1) return RecorderReport::Stopped;
  return std::nullopt;
}

void EncodeRecorderReport(RecorderReport report, int& wParam, int& lParam) {
  switch (report) {
    case RecorderReport::StartedByUser: wParam = 1; lParam = 0; break;
    case RecorderReport::StartedForEvent: wParam = 1; lParam = 1; break;
    case RecorderReport::Stopped: wParam = 0; lParam = 1; break;
  }
}

}  // namespace ProgramProtocol

SchedulerVariantNames SchedulerVariantNames::For(SchedulerVariant variant) {
  if (variant == SchedulerVariant::TransportStream) {
    return SchedulerVariantNames{ProgramWindow::SchedulerTs, ProgramWindow::SilentRecorderTs,
                                 "TelvantisSRTS.exe", "TelvantisPlayTS.exe",
                                 "Open Telvantis PlayTS", 200000};
  }
  return SchedulerVariantNames{ProgramWindow::Scheduler, ProgramWindow::SilentRecorder,
                               "TelvantisSR.exe", "TelvantisPlay.exe", "Open Telvantis Play",
                               1000000};
}
