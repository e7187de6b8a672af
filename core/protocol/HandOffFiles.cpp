#include "core/protocol/HandOffFiles.h"

#include <algorithm>
#include <charconv>
#include <sstream>
#include <system_error>

#include "core/files/TextFiles.h"
#include "core/schedule/ScheduleFile.h"

namespace {

// guideanswer.txt's text line is read into a buffer of this size.
constexpr std::size_t kAnswerLineBuffer = 200;

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

// Claims a hand-off file by renaming it to a name of the claimer's own and
// returns its text (empty when the claimed file cannot be read), or nothing
// when there was no file to claim. A rename either happens whole or not at
// all, so of two programs claiming at once only one gets the file, and a
// file written after the claim is left for the next reader.
std::optional<std::string> Claim(const std::filesystem::path& file, const char* suffix) {
  std::filesystem::path claimed = file;
  claimed += suffix;
  std::error_code error;
  std::filesystem::remove(claimed, error);  // a leftover of an earlier claim; absent is fine
  std::filesystem::rename(file, claimed, error);
  if (error) return std::nullopt;
  auto text = ReadWholeFile(claimed);
  RemoveFileIfPresent(claimed);
  return text.value_or(std::string());
}

// Take for a file that another program may write again at once: claimed first.
template <typename T>
HandOffRead<T> TakeClaimed(const std::filesystem::path& file, std::optional<T> (*parse)(std::string_view)) {
  HandOffRead<T> read;
  const auto text = Claim(file, ".taken");
  if (!text) return read;
  read.present = true;
  read.data = parse(*text);
  return read;
}

// The first line as a number from `lowest` to the largest request number,
// and the text after that line.
std::optional<int> RequestLine(std::string_view& text, int lowest) {
  const std::size_t end = text.find('\n');
  std::string_view line = text.substr(0, end);
  while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  int value = 0;
  const auto [stop, error] = std::from_chars(line.data(), line.data() + line.size(), value);
  if (error != std::errc() || stop != line.data() + line.size()) return std::nullopt;
  if (value < lowest || value > HandOffFiles::kMaxGuideRequest) return std::nullopt;
  text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  return value;
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

int HandOffFiles::NextGuideRequest(int previous) {
  return previous >= 1 && previous < kMaxGuideRequest ? previous + 1 : 1;
}

std::string HandOffFiles::GuideEventText(const GuideEventHandOff& handOff) {
  return std::to_string(handOff.request) + "\n" + ScheduleFile::Format({handOff.event});
}

std::optional<GuideEventHandOff> HandOffFiles::ParseGuideEvent(std::string_view text) {
  GuideEventHandOff handOff;
  const auto request = RequestLine(text, 1);
  if (!request) return std::nullopt;
  handOff.request = *request;
  // The writer is ours: anything the schedule reader has to mend or leave
  // out (a wrong count, a stray line, an impossible field) means damage.
  const ScheduleFile::Contents contents = ScheduleFile::Parse(text);
  if (contents.IsDamaged() || contents.events.size() != 1) return std::nullopt;
  handOff.event = contents.events.front();
  return handOff;
}

GuideOffer HandOffFiles::OfferGuideEvent(const std::filesystem::path& file,
                                         const GuideEventHandOff& handOff) {
  if (auto problem = EventFieldProblem(handOff.event))
    return GuideOffer{GuideOffer::Outcome::Refused, *problem};
  const std::string text = GuideEventText(handOff);
  // What the scheduler would not read back as this very event (a day of
  // week that is not the date's, a line break in the folder) is not sent.
  if (ParseGuideEvent(text) != handOff)
    return GuideOffer{GuideOffer::Outcome::Refused, "THE EVENT CANNOT BE HANDED TO THE SCHEDULER"};
  std::error_code error;
  if (std::filesystem::exists(file, error)) return GuideOffer{GuideOffer::Outcome::Busy, {}};
  if (!WriteFileAtomically(file, text))
    return GuideOffer{GuideOffer::Outcome::Failed, "CAN'T WRITE " + file.filename().string()};
  return GuideOffer{GuideOffer::Outcome::Written, {}};
}

HandOffRead<GuideEventHandOff> HandOffFiles::TakeGuideEvent(const std::filesystem::path& file) {
  return TakeClaimed<GuideEventHandOff>(file, &ParseGuideEvent);
}

bool HandOffFiles::WithdrawGuideEvent(const std::filesystem::path& file) {
  return Claim(file, ".withdrawn").has_value();
}

std::string HandOffFiles::GiveUpGuideEvent(const std::filesystem::path& file) {
  return WithdrawGuideEvent(file) ? kGuideNoAnswer : kGuideLateAnswer;
}

bool GuideAnswer::IsAccepted() const { return text == HandOffFiles::kGuideAccepted; }

std::string HandOffFiles::GuideAnswerText(const GuideAnswer& answer) {
  return std::to_string(answer.request) + "\n" + answer.text + "\n";
}

std::optional<GuideAnswer> HandOffFiles::ParseGuideAnswer(std::string_view text) {
  GuideAnswer answer;
  const auto request = RequestLine(text, 0);
  if (!request) return std::nullopt;
  answer.request = *request;
  std::istringstream in{std::string(text)};
  // The scheduler's messages are short; a longer line is cut.
  auto line = ReadLimitedLine(in, kAnswerLineBuffer);
  // Line ends of either kind, however many: the text is what shows.
  while (line && !line->empty() && line->back() == '\r') line->pop_back();
  if (!line || line->empty()) return std::nullopt;
  answer.text = *line;
  return answer;
}

bool HandOffFiles::WriteGuideAnswer(const std::filesystem::path& file, const GuideAnswer& answer) {
  return WriteFileAtomically(file, GuideAnswerText(answer));
}

HandOffRead<GuideAnswer> HandOffFiles::TakeGuideAnswer(const std::filesystem::path& file) {
  return TakeClaimed<GuideAnswer>(file, &ParseGuideAnswer);
}
