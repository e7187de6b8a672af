#include "recorder/SilentEventIntake.h"

#include <algorithm>
#include <chrono>
#include <system_error>

#include "core/time/TimeTexts.h"

SilentEventIntake SilentEventIntake::Take(const std::filesystem::path& file,
                                          std::filesystem::file_time_type now) {
  SilentEventIntake intake;
  std::error_code error;
  const auto written = std::filesystem::last_write_time(file, error);
  if (error) return intake;  // no file (or none that can be read): by hand
  if (now - written > kMaxAge) {
    std::filesystem::path aside = file;
    aside += ".old";
    std::filesystem::rename(file, aside, error);  // replaces an older one
    if (error) std::filesystem::remove(file, error);  // never used again either way
    intake.kind = Kind::TooOld;
    return intake;
  }
  HandOffRead<SilentEventHandOff> read = HandOffFiles::TakeSilentEvent(file);
  if (!read.present) return intake;
  if (!read.data) {
    intake.kind = Kind::Damaged;
    return intake;
  }
  intake.kind = Kind::Event;
  intake.event = std::move(read.data);
  // A file time ahead of now (a clock set back meanwhile) counts as now.
  intake.writtenSecondsAgo =
      std::max<long long>(0, std::chrono::duration_cast<std::chrono::seconds>(now - written).count());
  return intake;
}

std::string SilentEventIntake::LogEntry(const CivilTime& now) const {
  switch (kind) {
    case Kind::TooOld:
      return "OLD SILENTEVENT.TXT NOT USED, MOVED TO SILENTEVENT.TXT.OLD: " + LogTimeStamp(now) +
             "\n";
    case Kind::Damaged:
      return "DAMAGED SILENTEVENT.TXT NOT USED: " + LogTimeStamp(now) + "\n";
    case Kind::None:
    case Kind::Event:
      break;
  }
  return {};
}
