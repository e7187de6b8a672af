#include "core/protocol/EventLog.h"

#include <system_error>

#include "core/schedule/ScheduleEvent.h"
#include "core/schedule/ScheduleFile.h"
#include "core/files/TextFiles.h"
#include "core/time/TimeTexts.h"

std::string EventLog::AlreadyOpen() { return "TELVANTIS ALREADY OPEN\n"; }

std::string EventLog::OpenedViewer(const CivilTime& now) {
  return "OPEN TELVANTIS: " + LogTimeStamp(now) + "\n";
}

std::string EventLog::CantOpenViewer(const CivilTime& now) {
  return "CANT OPEN: " + LogTimeStamp(now) + "\n";
}

std::string EventLog::EventStarted(EventType type, const CivilTime& now) {
  const char* text = nullptr;
  switch (type) {
    case EventType::RecordLive: text = "RECORD LIVE: "; break;
    case EventType::Timeshift: text = "TIMESHIFT: "; break;
    case EventType::WatchLive: text = "WATCH LIVE: "; break;
    case EventType::RecordSilent: break;  // the recorder logs its own start
  }
  if (text == nullptr) return {};
  return text + LogTimeStamp(now) + "\n\n";
}

std::string EventLog::MissedEvent(const CivilTime& start) {
  return "MISSED EVENT: " + LogTimeStamp(start) + "\n\n";
}

std::string EventLog::MissedByClockChange(const ScheduleEvent& event) {
  return "MISSED (CLOCK CHANGE): " + ScheduleFile::EventLine(event) + "\n\n";
}

std::string EventLog::SilentRecordStarted(const CivilTime& now) {
  return "START SILENT-RECORD: " + LogTimeStamp(now) + "\n";
}

std::string EventLog::SilentRecordStopped(const CivilTime& now) {
  return "STOPPED SILENT-RECORD: " + LogTimeStamp(now) + "\n\n";
}

std::string EventLog::RecordingStopped(int hour, int minute, int second) {
  return "RECORDING STOPPED: " + std::to_string(hour) + ":" + std::to_string(minute) + ":" +
         std::to_string(second) + "\n\n";
}

std::string EventLog::RecordLiveRefused(const CivilTime& now) {
  return "RECORD LIVE REFUSED, ALREADY RECORDING: " + LogTimeStamp(now) + "\n\n";
}

std::string EventLog::RecordLiveEndPassed(const CivilTime& now) {
  return "RECORD LIVE NOT STARTED, END TIME PASSED: " + LogTimeStamp(now) + "\n\n";
}

std::string EventLog::DebugLine(std::size_t eventCount, const CivilTime& now) {
  return "# OF EVENTS: " + std::to_string(eventCount) + "  " + LogTimeStamp(now) + "\n";
}

bool EventLog::Append(const std::filesystem::path& file, const std::string& entry) {
  return AppendToFile(file, entry);
}

bool EventLog::AppendIfPresent(const std::filesystem::path& file, const std::string& line) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) return false;
  return AppendToFile(file, line);
}
