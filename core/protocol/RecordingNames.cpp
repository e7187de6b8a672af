#include "core/protocol/RecordingNames.h"

#include "core/files/ChannelEntry.h"
#include "core/time/TimeTexts.h"

namespace {

// "<hh><mm><ss><AM|PM>" on the 12-hour clock.
std::string TimePart(const CivilTime& at) {
  return HourText12(at.hour) + TwoDigitText(at.minute) + TwoDigitText(at.second) + AmPm(at.hour);
}

std::string ChannelRecordingName(const std::string& folder, int major, int minor,
                                 const CivilTime& at, const char* extension) {
  return folder + ChannelText(major, minor) + "_" + DayName(DayOfWeek(at)) + MonthName(at.month) +
         std::to_string(at.day) + std::to_string(at.year) + "_" + TimePart(at) + extension;
}

}  // namespace

std::string StubFileName(const std::string& folder, const CivilTime& at) {
  return folder + "stub_" + std::to_string(at.month) + std::to_string(at.day) +
         std::to_string(at.year) + std::to_string(at.hour) + std::to_string(at.minute) +
         std::to_string(at.second) + ".dvr-ms";
}

std::string TimeshiftRecordingName(const std::string& folder, const CivilTime& at) {
  return folder + DayName(DayOfWeek(at)) + "-" + MonthName(at.month) + std::to_string(at.day) +
         "-" + std::to_string(at.year) + "_" + TimePart(at) + ".dvr-ms";
}

std::string ChannelText(int major, int minor) {
  return "Ch" + std::to_string(major) + "-" + std::to_string(DisplayedMinor(minor));
}

std::string LiveRecordingName(const std::string& folder, int major, int minor,
                              const CivilTime& at) {
  return ChannelRecordingName(folder, major, minor, at, ".dvr-ms");
}

std::string TransportStreamRecordingName(const std::string& folder, int major, int minor,
                                         const CivilTime& at) {
  return ChannelRecordingName(folder, major, minor, at, ".ts");
}
