#include "core/schedule/ScheduleFile.h"

#include <algorithm>
#include <charconv>
#include <sstream>

#include "core/files/TextFiles.h"

namespace {

constexpr int kEventIntegers = 14;

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

std::vector<std::string_view> Tokens(std::string_view line) {
  std::vector<std::string_view> tokens;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\v' || line[i] == '\f')) ++i;
    const std::size_t begin = i;
    while (i < line.size() && !(line[i] == ' ' || line[i] == '\t' || line[i] == '\v' || line[i] == '\f')) ++i;
    if (i > begin) tokens.push_back(line.substr(begin, i - begin));
  }
  return tokens;
}

std::optional<int> ParseInt(std::string_view token) {
  if (!token.empty() && token.front() == '+') token.remove_prefix(1);
  int value = 0;
  const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
  if (error != std::errc() || end != token.data() + token.size() || token.empty()) return std::nullopt;
  return value;
}

// A word of the file and the line (from 0) that holds it.
struct Word {
  std::string_view text;
  std::size_t line = 0;
};

std::vector<Word> WordsFrom(const std::vector<std::string_view>& lines, std::size_t firstLine) {
  std::vector<Word> words;
  for (std::size_t i = firstLine; i < lines.size(); ++i)
    for (std::string_view token : Tokens(lines[i])) words.push_back({token, i});
  return words;
}

// The first word at or after `from` that lies on line `line` or later.
std::size_t FirstWordFromLine(const std::vector<Word>& words, std::size_t from, std::size_t line) {
  while (from < words.size() && words[from].line < line) ++from;
  return from;
}

ScheduleEvent EventFromIntegers(const int (&v)[kEventIntegers], EventCodeNumbers& codes) {
  ScheduleEvent e;
  e.dayOfWeek = v[0]; e.month = v[1]; e.day = v[2]; e.year = v[3];
  e.channel1 = v[4]; e.channel2 = v[5]; e.channel3 = v[6];
  e.startHour = v[7]; e.startMinute = v[8]; e.endHour = v[9]; e.endMinute = v[10];
  codes = EventCodeNumbers{v[11], v[12], v[13]};
  return e;
}

std::string LineMessage(std::size_t lineNumber, const std::string& text) {
  return "SCHEDULE.TXT LINE " + std::to_string(lineNumber) + ": " + text;
}

std::filesystem::path AsideName(const std::filesystem::path& file) {
  std::filesystem::path aside = file;
  aside += ".bad";
  for (int n = 2; std::filesystem::exists(aside) && n < 1000; ++n) {
    aside = file;
    aside += ".bad" + std::to_string(n);
  }
  return aside;
}

}  // namespace

ScheduleFile::Contents ScheduleFile::Parse(std::string_view text) {
  Contents contents;
  const auto lines = SplitLines(text);
  std::size_t firstEventLine = 0;
  int count = -1;  // -1: the file has no count line
  if (!lines.empty()) {
    const auto tokens = Tokens(lines[0]);
    const auto value = tokens.size() == 1 ? ParseInt(tokens[0]) : std::nullopt;
    if (value && *value >= 0) {
      count = *value;
      firstEventLine = 1;
    } else {
      contents.problems.push_back(LineMessage(1, "NO EVENT COUNT"));
    }
  }
  // An event is fourteen integers separated by any white space, line feeds
  // included; the rest of the line of the last one is passed over and the
  // next line is the folder. Blank lines between events hold nothing.
  const std::vector<Word> words = WordsFrom(lines, firstEventLine);
  int records = 0;
  std::size_t next = 0;
  while (next < words.size()) {
    const std::size_t lineNumber = words[next].line + 1;
    int v[kEventIntegers];
    std::size_t taken = 0;
    for (; taken < kEventIntegers && next + taken < words.size(); ++taken) {
      const auto value = ParseInt(words[next + taken].text);
      if (!value) break;
      v[taken] = *value;
    }
    if (taken < kEventIntegers) {
      // Not an event: report it and go on from the line after the word that
      // broke it off (or after the last word, at the end of the file).
      const std::size_t stop = std::min(next + taken, words.size() - 1);
      contents.problems.push_back(LineMessage(lineNumber, "NOT AN EVENT, IGNORED"));
      next = FirstWordFromLine(words, stop, words[stop].line + 1);
      continue;
    }
    const std::size_t lastLine = words[next + kEventIntegers - 1].line;
    next += kEventIntegers;
    const bool strayText = next < words.size() && words[next].line == lastLine;
    ++records;
    EventCodeNumbers codes;
    ScheduleEvent event = EventFromIntegers(v, codes);
    if (lastLine + 1 < lines.size()) {
      event.folder = std::string(lines[lastLine + 1]);
    } else {
      contents.problems.push_back(LineMessage(lineNumber, "FOLDER LINE MISSING"));
    }
    next = FirstWordFromLine(words, next, lastLine + 2);
    if (strayText) contents.problems.push_back(LineMessage(lineNumber, "STRAY TEXT AFTER THE EVENT IGNORED"));
    if (auto problem = EventFieldProblem(event, codes)) {
      contents.problems.push_back(LineMessage(lineNumber, *problem + ", EVENT REFUSED"));
      continue;
    }
    // The codes were checked above: each names an entry of its list.
    event.type = *EventTypeFromCode(codes.type);
    event.frequency = *EventFrequencyFromCode(codes.frequency);
    event.whenDone = *WhenDoneFromCode(codes.whenDone);
    const int dayOfWeek = DayOfWeek(EventStart(event));
    if (event.dayOfWeek != dayOfWeek) {
      contents.problems.push_back(LineMessage(lineNumber, "WRONG DAY OF WEEK, TAKEN FROM THE DATE"));
      event.dayOfWeek = dayOfWeek;
    }
    if (contents.events.size() >= ScheduleList::kMaxEvents) {
      contents.problems.push_back(LineMessage(lineNumber, "MORE THAN 50 EVENTS, EVENT REFUSED"));
      continue;
    }
    contents.events.push_back(std::move(event));
  }
  if (count >= 0 && count != records) {
    contents.problems.push_back("SCHEDULE.TXT: THE COUNT SAYS " + std::to_string(count) +
                                " EVENTS, " + std::to_string(records) + " FOUND");
  }
  return contents;
}

std::string ScheduleFile::Format(const std::vector<ScheduleEvent>& events) {
  std::ostringstream out;
  out << events.size() << '\n';
  for (const ScheduleEvent& e : events) out << EventLine(e) << '\n' << e.folder << '\n';
  return out.str();
}

std::string ScheduleFile::EventLine(const ScheduleEvent& e) {
  std::ostringstream out;
  out << e.dayOfWeek << ' ' << e.month << ' ' << e.day << ' ' << e.year << ' ' << e.channel1 << ' '
      << e.channel2 << ' ' << e.channel3 << ' ' << e.startHour << ' ' << e.startMinute << ' '
      << e.endHour << ' ' << e.endMinute << ' ' << CodeOf(e.type) << ' ' << CodeOf(e.frequency)
      << ' ' << CodeOf(e.whenDone);
  return out.str();
}

std::optional<ScheduleFile::Contents> ScheduleFile::Read(const std::filesystem::path& file) {
  const auto text = ReadWholeFile(file);
  if (!text) return std::nullopt;
  return Parse(*text);
}

bool ScheduleFile::Write(const std::filesystem::path& file, const std::vector<ScheduleEvent>& events) {
  if (events.empty()) return RemoveFileIfPresent(file);
  return WriteFileAtomically(file, Format(events));
}

ScheduleFile::LoadResult ScheduleFile::Load(const std::filesystem::path& file, const CivilTime& now) {
  LoadResult result;
  const auto text = ReadWholeFile(file);
  if (!text) return result;  // no file: an empty list
  Contents contents = Parse(*text);
  result.problems = contents.problems;
  if (contents.IsDamaged()) {
    const std::filesystem::path aside = AsideName(file);
    if (!WriteFileAtomically(aside, *text)) {
      // Without a copy the damaged file must not be replaced.
      result.problems.push_back("CAN'T KEEP A COPY OF THE DAMAGED SCHEDULE.TXT: IT IS LEFT AS IT WAS");
      result.list = ScheduleList(std::move(contents.events));
      result.list.CleanUp(now, &result.problems);
      return result;
    }
    result.keptAside = aside;
    result.problems.push_back("THE DAMAGED SCHEDULE.TXT WAS KEPT AS " + aside.filename().string());
  }
  result.list = ScheduleList(std::move(contents.events));
  result.list.CleanUp(now, &result.problems);
  if (!Write(file, result.list.Events()))
    result.problems.push_back("CAN'T WRITE SCHEDULE.TXT");
  return result;
}
