#include "TestGuideFile.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "core/files/DecimalNumber.h"
#include "PsipSerializer.h"

namespace {

constexpr int kMaxStartMinute = 20160;    // two weeks, well inside EIT-127
constexpr int kMaxLengthMinutes = 17476;  // a length in seconds has 20 bits
constexpr int kMaxShowings = 1000;
constexpr int kMaxEventsPerChannel = 0x3FFF;  // event ids have 14 bits
constexpr std::size_t kMaxTitleCharacters = 80;
constexpr std::size_t kMaxTextCharacters = 1000;
constexpr std::string_view kAtForm = "AT START MINUTES LENGTH [EVERY PERIOD TIMES COUNT] TITLE title";

// Reads the words of a line one by one; the rest of the line is taken whole.
class Words {
 public:
  explicit Words(std::string_view line) : rest_(line) {}

  std::string_view Next() {
    SkipBlanks();
    const std::size_t end = std::min(rest_.find_first_of(" \t"), rest_.size());
    const std::string_view word = rest_.substr(0, end);
    rest_.remove_prefix(end);
    return word;
  }
  // A decimal number within the range as the next word.
  std::optional<int> Number(int low, int high) { return DecimalNumber(Next(), low, high); }
  std::string_view Rest() {
    SkipBlanks();
    return rest_;
  }

 private:
  void SkipBlanks() {
    const std::size_t start = rest_.find_first_not_of(" \t");
    rest_.remove_prefix(start == std::string_view::npos ? rest_.size() : start);
  }
  std::string_view rest_;
};

// The line without its line end and trailing blanks.
std::string_view Trimmed(const std::string& line) {
  std::string_view view = line;
  while (!view.empty() && (view.back() == '\r' || view.back() == ' ' || view.back() == '\t')) {
    view.remove_suffix(1);
  }
  return view;
}

// Checks a title or description: UTF-8 of 1 to `most` characters (UTF-16
// units, as it is sent). Empty when it is good, else why not.
std::string CheckText(std::string_view text, std::size_t most, std::string_view what) {
  const auto units = Utf16Units(text);
  if (!units) return std::string(what) + " is not UTF-8 text";
  if (units->empty()) return std::string(what) + " is missing";
  if (units->size() > most) {
    return std::string(what) + " is longer than " + std::to_string(most) + " characters";
  }
  return {};
}

class GuideReader {
 public:
  explicit GuideReader(const std::string& name) : name_(name) {}

  // False, with the problem, at a bad line.
  bool Take(std::string_view line, int number) {
    line_ = number;
    Words words(line);
    const std::string_view keyword = words.Next();
    if (keyword.empty() || keyword.front() == '#') return true;
    if (keyword == "CHANNEL") return TakeChannel(words);
    if (keyword == "AT") return TakeProgramme(words);
    if (keyword == "TEXT") return TakeText(words.Rest());
    return Fail("unknown line; expected CHANNEL, AT or TEXT");
  }

  // The guide once every line is read; false, with the problem, when two
  // programmes of a channel overlap.
  bool Finish(TestGuide& guide) {
    for (TestGuideChannel& channel : guide_.channels) {
      auto& programmes = channel.programmes;
      std::stable_sort(programmes.begin(), programmes.end(),
                       [](const auto& a, const auto& b) { return a.startMinute < b.startMinute; });
      for (std::size_t i = 1; i < programmes.size(); ++i) {
        const TestGuideProgramme& before = programmes[i - 1];
        if (programmes[i].startMinute < before.startMinute + before.lengthMinutes) {
          // Named at the later line of the two.
          const bool laterFirst = before.line > programmes[i].line;
          const TestGuideProgramme& here = laterFirst ? before : programmes[i];
          const TestGuideProgramme& other = laterFirst ? programmes[i] : before;
          line_ = here.line;
          return Fail("the programme at minute " + std::to_string(here.startMinute) +
                      " overlaps the one at minute " + std::to_string(other.startMinute) + " of line " +
                      std::to_string(other.line) + " on channel " + std::to_string(channel.major) + "-" +
                      std::to_string(channel.minor));
        }
      }
    }
    guide = std::move(guide_);
    return true;
  }

  const std::string& Problem() const { return problem_; }

 private:
  bool Fail(const std::string& why) {
    problem_ = name_ + " line " + std::to_string(line_) + ": " + why;
    return false;
  }

  bool TakeChannel(Words& words) {
    const auto major = words.Number(1, 999);
    const auto minor = words.Number(0, 999);
    if (!major || !minor || !words.Rest().empty()) {
      return Fail("expected CHANNEL MAJOR MINOR (major 1-999, minor 0-999)");
    }
    const auto found = std::find_if(guide_.channels.begin(), guide_.channels.end(), [&](const auto& c) {
      return c.major == *major && c.minor == *minor;
    });
    channel_ = static_cast<std::size_t>(found - guide_.channels.begin());
    if (found == guide_.channels.end()) guide_.channels.push_back({*major, *minor, {}});
    showings_.clear();
    return true;
  }

  bool TakeProgramme(Words& words) {
    if (!channel_) return Fail("AT before any CHANNEL line");
    showings_.clear();
    TestGuideProgramme programme;
    programme.line = line_;
    const auto start = words.Number(0, kMaxStartMinute);
    const bool minutes = words.Next() == "MINUTES";
    const auto length = words.Number(1, kMaxLengthMinutes);
    if (!start || !minutes || !length) {
      return Fail("expected " + std::string(kAtForm) + " (START 0-20160, LENGTH 1-17476)");
    }
    programme.startMinute = *start;
    programme.lengthMinutes = *length;
    int period = 0, count = 1;
    std::string_view keyword = words.Next();
    if (keyword == "EVERY") {
      const auto every = words.Number(1, kMaxStartMinute);
      const bool times = words.Next() == "TIMES";
      const auto showings = words.Number(1, kMaxShowings);
      if (!every || !times || !showings) {
        return Fail("expected EVERY PERIOD TIMES COUNT (PERIOD 1-20160, COUNT 1-1000)");
      }
      if (*every < *length) return Fail("the showings repeat more often than the programme lasts");
      if (*start + (*showings - 1) * *every > kMaxStartMinute) {
        return Fail("the last showing starts after minute 20160");
      }
      period = *every;
      count = *showings;
      keyword = words.Next();
    }
    if (keyword != "TITLE") return Fail("expected " + std::string(kAtForm));
    programme.title = std::string(words.Rest());
    if (const auto why = CheckText(programme.title, kMaxTitleCharacters, "the title"); !why.empty()) {
      return Fail(why);
    }
    auto& programmes = guide_.channels[*channel_].programmes;
    if (programmes.size() + static_cast<std::size_t>(count) > kMaxEventsPerChannel) {
      return Fail("more than 16383 programmes on one channel");
    }
    for (int i = 0; i < count; ++i) {
      programmes.push_back(programme);
      programmes.back().startMinute = *start + i * period;
      showings_.push_back(programmes.size() - 1);
    }
    return true;
  }

  bool TakeText(std::string_view text) {
    if (showings_.empty()) return Fail("TEXT must follow an AT line");
    auto& programmes = guide_.channels[*channel_].programmes;
    if (!programmes[showings_.front()].description.empty()) return Fail("a second TEXT for one programme");
    if (const auto why = CheckText(text, kMaxTextCharacters, "the description"); !why.empty()) {
      return Fail(why);
    }
    for (std::size_t index : showings_) programmes[index].description = std::string(text);
    return true;
  }

  std::string name_;
  TestGuide guide_;
  std::optional<std::size_t> channel_;  // the channel the lines are about
  std::vector<std::size_t> showings_;   // the programmes of the last AT line
  int line_ = 0;
  std::string problem_;
};

}  // namespace

std::optional<TestGuide> ParseGuide(std::istream& text, const std::string& name, std::string& problem) {
  GuideReader reader(name);
  std::string line;
  for (int number = 1; std::getline(text, line); ++number) {
    if (number == 1 && line.starts_with("\xEF\xBB\xBF")) line.erase(0, 3);  // a byte-order mark
    if (!reader.Take(Trimmed(line), number)) {
      problem = reader.Problem();
      return std::nullopt;
    }
  }
  TestGuide guide;
  if (!reader.Finish(guide)) {
    problem = reader.Problem();
    return std::nullopt;
  }
  return guide;
}

std::optional<TestGuide> ReadGuideFile(const std::string& path, std::string& problem) {
  std::error_code error;
  std::ifstream file;
  if (!std::filesystem::is_directory(path, error)) file.open(path, std::ios::binary);
  if (!file.is_open()) {
    problem = "cannot read the guide file " + path;
    return std::nullopt;
  }
  return ParseGuide(file, path, problem);
}
