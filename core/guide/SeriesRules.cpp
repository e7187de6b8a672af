#include "core/guide/SeriesRules.h"

#include <algorithm>
#include <cstdint>

#include "core/files/DecimalNumber.h"
#include "core/files/FileNames.h"
#include "core/files/TextFiles.h"

namespace {

constexpr std::string_view kRuleWord = "RULE";
constexpr std::string_view kHandedWord = "HANDED";
constexpr std::string_view kRefusedWord = "REFUSED";

bool IsControl(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }

bool SameStoredText(std::string_view stored, std::string_view raw) {
  if (stored.size() != raw.size()) return false;
  for (std::size_t i = 0; i < raw.size(); ++i)
    if (stored[i] != (IsControl(raw[i]) ? ' ' : raw[i])) return false;
  return true;
}

// The reason cut to its limit, never inside a UTF-8 character.
std::string StoredReason(std::string_view reason) {
  std::string text = SeriesTitle(reason);
  if (text.size() > kMaxSeriesReasonLength) {
    std::size_t cut = kMaxSeriesReasonLength;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    text.resize(cut);
  }
  return text;
}

// The next word of `line` (up to a blank or the end), taken off the line
// with the blank after it.
std::string_view NextWord(std::string_view& line) {
  const std::size_t blank = line.find(' ');
  const std::string_view word = line.substr(0, blank);
  line.remove_prefix(blank == std::string_view::npos ? line.size() : blank + 1);
  return word;
}

// A showing line after its word, or the reason it is not one.
std::optional<std::string> ParseShowing(std::string_view word, std::string_view rest,
                                        SeriesShowing& showing) {
  const std::string_view start = NextWord(rest);
  if (!ReadDecimalNumber<std::int64_t>(start, 0, INT64_MAX, showing.startUtc)) return "NO START TIME";
  if (word == kHandedWord) {
    if (!rest.empty()) return "TEXT AFTER THE START TIME";
    return std::nullopt;
  }
  if (rest.empty()) return "NO REASON";
  showing.refusal = StoredReason(rest);
  return std::nullopt;
}

void InsertShowing(SeriesRule& rule, SeriesShowing showing) {
  const auto at = std::find_if(rule.showings.begin(), rule.showings.end(),
                               [&](const SeriesShowing& s) { return s.startUtc >= showing.startUtc; });
  if (at != rule.showings.end() && at->startUtc == showing.startUtc) {
    *at = std::move(showing);
    return;
  }
  rule.showings.insert(at, std::move(showing));
}

}  // namespace

std::string SeriesTitle(std::string_view text) {
  std::string stored(text);
  std::replace_if(stored.begin(), stored.end(), IsControl, ' ');
  return stored;
}

bool SeriesRule::Covers(int programmeMajor, int programmeMinor, std::string_view programmeTitle) const {
  return major == programmeMajor && minor == programmeMinor && SameStoredText(title, programmeTitle);
}

const SeriesShowing* SeriesRule::FindShowing(std::int64_t startUtc) const {
  const auto found = std::find_if(showings.begin(), showings.end(),
                                  [&](const SeriesShowing& s) { return s.startUtc == startUtc; });
  return found == showings.end() ? nullptr : &*found;
}

std::optional<std::string> SeriesRules::AddRule(int major, int minor, std::string_view title) {
  if (major < 0 || major > kMaxGuideChannelNumber || minor < 0 || minor > kMaxGuideChannelNumber)
    return kImpossibleChannel;
  if (title.empty()) return kNoTitle;
  if (title.size() > kMaxGuideTitleLength) return kTitleTooLong;
  if (FindRule(major, minor, title)) return kRuleExists;
  if (rules.size() >= kMaxSeriesRules) return kTooManyRules;
  rules.push_back(SeriesRule{major, minor, SeriesTitle(title), {}});
  return std::nullopt;
}

bool SeriesRules::RemoveRule(std::size_t index) {
  if (index >= rules.size()) return false;
  rules.erase(rules.begin() + static_cast<std::ptrdiff_t>(index));
  return true;
}

SeriesRule* SeriesRules::FindRule(int major, int minor, std::string_view title) {
  const auto found = std::find_if(rules.begin(), rules.end(),
                                  [&](const SeriesRule& r) { return r.Covers(major, minor, title); });
  return found == rules.end() ? nullptr : &*found;
}

void SeriesRules::RecordHanded(int major, int minor, std::string_view title, std::int64_t startUtc) {
  if (SeriesRule* rule = FindRule(major, minor, title)) InsertShowing(*rule, SeriesShowing{startUtc, {}});
}

void SeriesRules::RecordRefused(int major, int minor, std::string_view title, std::int64_t startUtc,
                                std::string_view reason) {
  // An empty reason would read as "handed": a refusal always says something.
  const std::string stored = reason.empty() ? std::string("REFUSED") : StoredReason(reason);
  if (SeriesRule* rule = FindRule(major, minor, title)) InsertShowing(*rule, SeriesShowing{startUtc, stored});
}

void SeriesRules::Forget(int major, int minor, std::string_view title, std::int64_t startUtc) {
  if (SeriesRule* rule = FindRule(major, minor, title))
    std::erase_if(rule->showings, [&](const SeriesShowing& s) { return s.startUtc == startUtc; });
}

bool SeriesRules::DropOldShowings(std::int64_t nowUtc) {
  std::size_t dropped = 0;
  for (SeriesRule& rule : rules)
    dropped += std::erase_if(rule.showings, [&](const SeriesShowing& s) {
      return s.startUtc < nowUtc - kGuideKeepSeconds;
    });
  return dropped > 0;
}

SeriesRules::Contents SeriesRules::Parse(std::string_view text) {
  Contents contents;
  contents.rules.reserve(kMaxSeriesRules);
  SeriesRule* current = nullptr;  // the rule the showing lines belong to
  bool skipping = false;          // the showings of a rule that was left out
  std::size_t number = 0;
  while (!text.empty()) {
    ++number;
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    const auto problem = [&](const std::string& what) {
      contents.problems.push_back("LINE " + std::to_string(number) + ": " + what);
    };
    const std::string_view word = NextWord(line);
    if (word == kRuleWord) {
      SeriesRule rule;
      if (!ReadDecimalNumber(NextWord(line), 0, kMaxGuideChannelNumber, rule.major) ||
          !ReadDecimalNumber(NextWord(line), 0, kMaxGuideChannelNumber, rule.minor) || line.empty()) {
        problem("A RULE WITHOUT ITS CHANNEL OR TITLE, LEFT OUT");
        current = nullptr;
        skipping = true;
        continue;
      }
      rule.title = SeriesTitle(line);
      const auto same = std::find_if(contents.rules.begin(), contents.rules.end(), [&](const SeriesRule& r) {
        return r.major == rule.major && r.minor == rule.minor && r.title == rule.title;
      });
      if (same != contents.rules.end()) {
        problem("THE RULE IS THERE ALREADY, ITS SHOWINGS ARE JOINED");
        current = &*same;
        skipping = false;
      } else if (contents.rules.size() >= kMaxSeriesRules) {
        problem("MORE THAN " + std::to_string(kMaxSeriesRules) + " RULES, LEFT OUT");
        current = nullptr;
        skipping = true;
      } else {
        contents.rules.push_back(std::move(rule));
        current = &contents.rules.back();
        skipping = false;
      }
    } else if (word == kHandedWord || word == kRefusedWord) {
      SeriesShowing showing;
      if (auto wrong = ParseShowing(word, line, showing)) {
        problem(*wrong + ", LEFT OUT");
      } else if (!current) {
        if (!skipping) problem("A SHOWING BEFORE ANY RULE, LEFT OUT");
      } else if (current->FindShowing(showing.startUtc)) {
        problem("THE SHOWING IS THERE ALREADY, LEFT OUT");
      } else {
        InsertShowing(*current, std::move(showing));
      }
    } else {
      problem("NOT A RECORD OF SERIES.TXT, LEFT OUT");
    }
  }
  return contents;
}

std::string SeriesRules::Format(const std::vector<SeriesRule>& rules) {
  std::string out;
  for (const SeriesRule& rule : rules) {
    out += std::string(kRuleWord) + ' ' + std::to_string(rule.major) + ' ' + std::to_string(rule.minor) +
           ' ' + SeriesTitle(rule.title) + '\n';
    for (const SeriesShowing& showing : rule.showings) {
      if (showing.IsRefused()) {
        out += std::string(kRefusedWord) + ' ' + std::to_string(showing.startUtc) + ' ' +
               SeriesTitle(showing.refusal) + '\n';
      } else {
        out += std::string(kHandedWord) + ' ' + std::to_string(showing.startUtc) + '\n';
      }
    }
  }
  return out;
}

bool SeriesRules::Save(const std::filesystem::path& file) const {
  return WriteFileAtomically(file, Format(rules));
}

LoadedSeries LoadSeries(const std::filesystem::path& file) {
  LoadedSeries loaded;
  std::error_code error;
  const bool exists = std::filesystem::exists(file, error);
  if (!exists && !error) return loaded;
  std::vector<std::string> problems;
  std::optional<std::string> text;
  const std::uintmax_t size = std::filesystem::file_size(file, error);
  if (error) {
    problems.push_back("THE FILE CANNOT BE READ");
  } else if (size > kMaxSeriesFileBytes) {
    problems.push_back("LARGER THAN " + std::to_string(kMaxSeriesFileBytes) + " BYTES, READ AS NO RULES");
  } else {
    text = ReadWholeFile(file);
    if (!text) problems.push_back("THE FILE CANNOT BE READ");
  }
  if (text) {
    SeriesRules::Contents contents = SeriesRules::Parse(*text);
    loaded.rules = SeriesRules(std::move(contents.rules));
    problems = std::move(contents.problems);
  }
  if (problems.empty()) return loaded;

  // Kept whole beside it before anything is written over it.
  const std::filesystem::path aside = file.parent_path() / FileNames::kDamagedSeries;
  std::filesystem::copy_file(file, aside, std::filesystem::copy_options::overwrite_existing, error);
  loaded.writable = !error;
  std::string notice = "SERIES.TXT IS DAMAGED (" + problems.front();
  if (problems.size() > 1) notice += ", AND " + std::to_string(problems.size() - 1) + " MORE";
  notice += loaded.writable ? "): IT IS KEPT AS SERIES.BAD AND ITS READABLE RULES ARE USED"
                            : "): IT CANNOT BE COPIED TO SERIES.BAD, SO THE SERIES RULES ARE NOT SAVED";
  loaded.notice = notice;
  return loaded;
}
