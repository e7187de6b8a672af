#include "core/protocol/HandOffFiles.h"

#include <algorithm>
#include <sstream>

#include "core/files/TextFiles.h"

namespace {

bool IsTimeOfDay(int hour, int minute) { return hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59; }

template <typename T>
HandOffRead<T> Take(const std::filesystem::path& file, std::optional<T> (*parse)(std::string_view)) {
  HandOffRead<T> read;
  const auto text = ReadWholeFile(file);
  if (!text) return read;
  read.present = true;
  read.data = parse(*text);
  RemoveFileIfPresent(file);  // read once: a stale hand-off must not fire again
  return read;
}

}  // namespace

SilentEventHandOff SilentEventHandOff::From(const ScheduleEvent& event) {
  return SilentEventHandOff{event.channel1, event.channel2, event.channel3, event.endHour,
                            event.endMinute, event.whenDone, event.folder};
}

RecLiveHandOff RecLiveHandOff::From(const ScheduleEvent& event) {
  return RecLiveHandOff{event.startHour, event.startMinute, event.endHour, event.endMinute,
                        event.whenDone};
}

std::string HandOffFiles::SilentEventText(const SilentEventHandOff& h) {
  std::ostringstream out;
  out << h.channel1 << ' ' << h.channel2 << ' ' << h.channel3 << ' ' << h.endHour << ' '
      << h.endMinute << ' ' << CodeOf(h.whenDone) << '\n'
      << h.folder << '\n';
  return out.str();
}

std::optional<SilentEventHandOff> HandOffFiles::ParseSilentEvent(std::string_view text) {
  std::istringstream in{std::string(text)};
  SilentEventHandOff h;
  int whenDone = 0;
  if (!(in >> h.channel1 >> h.channel2 >> h.channel3 >> h.endHour >> h.endMinute >> whenDone))
    return std::nullopt;
  const auto code = WhenDoneFromCode(whenDone);
  if (!IsTimeOfDay(h.endHour, h.endMinute) || !code) return std::nullopt;
  h.whenDone = *code;
  ReadLimitedLine(in, 10);  // the rest of the number line
  // The folder slot holds 199 characters; a longer line is refused rather
  // than cut to another folder.
  std::string folder;
  std::getline(in, folder);
  while (!folder.empty() && folder.back() == '\r') folder.pop_back();
  if (folder.size() > kMaxEventFolderLength) return std::nullopt;
  h.folder = folder;
  return h;
}

HandOffRead<SilentEventHandOff> HandOffFiles::TakeSilentEvent(const std::filesystem::path& file) {
  return Take<SilentEventHandOff>(file, &ParseSilentEvent);
}

std::string HandOffFiles::RecLiveText(const RecLiveHandOff& h) {
  std::ostringstream out;
  out << h.startHour << ' ' << h.startMinute << ' ' << h.endHour << ' ' << h.endMinute << ' '
      << CodeOf(h.whenDone) << ' ';
  return out.str();
}

std::optional<RecLiveHandOff> HandOffFiles::ParseRecLive(std::string_view text) {
  std::istringstream in{std::string(text)};
  RecLiveHandOff h;
  int whenDone = 0;
  if (!(in >> h.startHour >> h.startMinute >> h.endHour >> h.endMinute >> whenDone))
    return std::nullopt;
  const auto code = WhenDoneFromCode(whenDone);
  if (!IsTimeOfDay(h.startHour, h.startMinute) || !IsTimeOfDay(h.endHour, h.endMinute) || !code)
    return std::nullopt;
  h.whenDone = *code;
  return h;
}

HandOffRead<RecLiveHandOff> HandOffFiles::TakeRecLive(const std::filesystem::path& file) {
  return Take<RecLiveHandOff>(file, &ParseRecLive);
}

int HandOffFiles::ReadDelay(const std::filesystem::path& file) {
  const auto text = ReadWholeFile(file);
  if (!text) return 0;
  std::istringstream in(*text);
  long long seconds = 0;
  if (!(in >> seconds)) return 0;
  return static_cast<int>(std::clamp<long long>(seconds, 0, kMaxDelaySeconds));
}

bool HandOffFiles::WriteDelay(const std::filesystem::path& file, int seconds) {
  return WriteFileAtomically(file, std::to_string(std::clamp(seconds, 0, kMaxDelaySeconds)));
}
