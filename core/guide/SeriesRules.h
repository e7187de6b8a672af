#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/guide/GuideFile.h"

// series.txt, in the program's folder: the guide's "RECORD SERIES" rules and
// what became of each showing. Plain text, one record per line ended by a
// line feed (a carriage return before it is ignored), words separated by
// single blanks; blank lines are ignored:
//
//   RULE major minor title       a rule: every showing of this exact title
//                                on channel major-minor (0 to 9999 each, as
//                                in guide.txt);
//                                the title is the rest of the line, UTF-8
//   HANDED start                 a showing of the rule above that was handed
//                                to the scheduler (or found already in its
//                                list): its start, seconds since 1970 UTC
//   REFUSED start reason         a showing the scheduler refused, and the
//                                text it gave (the rest of the line)
//
// for example
//   RULE 7 1 News at Six
//   HANDED 1748815200
//   REFUSED 1748901600 START TIME BETWEEN EXISTING TIME
//
// A title or reason cannot hold a line break: its control characters are
// stored as blanks, and a programme's title is compared in the same form.
// Showings that started more than a day ago (kGuideKeepSeconds, as guide.txt
// keeps programmes) are dropped when the rules are planned again.
//
// Reading is lenient: each line that cannot be read (an unknown record, a
// number out of range, a showing before any rule, a repeated rule or
// showing, more than kMaxSeriesRules rules) is left out and reported, and
// everything else is kept. A file with such lines, or larger than
// kMaxSeriesFileBytes (then read as no rules), is first copied whole to
// series.bad, so the user's text is never lost when series.txt is next
// written.

inline constexpr std::size_t kMaxSeriesRules = 100;
inline constexpr std::size_t kMaxSeriesReasonLength = 199;  // bytes; longer reasons are cut
inline constexpr std::uintmax_t kMaxSeriesFileBytes = 4 * 1024 * 1024;

// A showing of a rule, by its start.
struct SeriesShowing {
  std::int64_t startUtc = 0;
  std::string refusal;  // empty: handed over; else why the scheduler refused it

  bool IsRefused() const { return !refusal.empty(); }
  friend bool operator==(const SeriesShowing&, const SeriesShowing&) = default;
};

struct SeriesRule {
  int major = 0;
  int minor = 0;
  std::string title;  // in stored form (see SeriesTitle)
  std::vector<SeriesShowing> showings;  // in start order

  // Whether a programme of this channel and title belongs to the rule.
  bool Covers(int programmeMajor, int programmeMinor, std::string_view programmeTitle) const;
  const SeriesShowing* FindShowing(std::int64_t startUtc) const;

  friend bool operator==(const SeriesRule&, const SeriesRule&) = default;
};

// A title or reason as series.txt holds it: control characters as blanks.
std::string SeriesTitle(std::string_view text);

class SeriesRules {
 public:
  // The refusals of AddRule.
  static constexpr const char* kRuleExists = "THIS SERIES IS ALREADY BEING RECORDED";
  static constexpr const char* kTooManyRules = "CAN'T ADD SERIES: THERE ARE 100 SERIES RULES";
  static constexpr const char* kTitleTooLong = "CAN'T ADD SERIES: THE TITLE IS TOO LONG";
  static constexpr const char* kNoTitle = "CAN'T ADD SERIES: THE PROGRAMME HAS NO TITLE";
  static constexpr const char* kImpossibleChannel = "CAN'T ADD SERIES: IMPOSSIBLE CHANNEL NUMBER";

  SeriesRules() = default;
  explicit SeriesRules(std::vector<SeriesRule> rules) : rules(std::move(rules)) {}

  const std::vector<SeriesRule>& Rules() const { return rules; }

  // Adds a rule for the channel and title; the refusal's text, or nothing.
  std::optional<std::string> AddRule(int major, int minor, std::string_view title);
  bool RemoveRule(std::size_t index);

  // The rule that covers a programme, or nothing.
  SeriesRule* FindRule(int major, int minor, std::string_view title);

  // What became of a showing. Handed over (or found in the schedule): it
  // is not handed again. Refused: listed with the reason, not retried.
  // Forgotten (the guide took it back before the scheduler read it): it is
  // handed again at the next planning. Nothing happens when the rule has
  // been removed meanwhile.
  void RecordHanded(int major, int minor, std::string_view title, std::int64_t startUtc);
  void RecordRefused(int major, int minor, std::string_view title, std::int64_t startUtc,
                     std::string_view reason);
  void Forget(int major, int minor, std::string_view title, std::int64_t startUtc);

  // Drops the showings that started more than a day before `nowUtc`.
  // Returns whether any was dropped.
  bool DropOldShowings(std::int64_t nowUtc);

  struct Contents;
  static Contents Parse(std::string_view text);
  static std::string Format(const std::vector<SeriesRule>& rules);

  // Writes series.txt whole (a temporary file renamed over the old one).
  bool Save(const std::filesystem::path& file) const;

 private:
  std::vector<SeriesRule> rules;
};

struct SeriesRules::Contents {
  std::vector<SeriesRule> rules;
  std::vector<std::string> problems;  // "LINE 3: ..." for each line left out
};

struct LoadedSeries {
  SeriesRules rules;
  std::optional<std::string> notice;  // for the user when the file was damaged
  bool writable = true;  // false when a damaged file could not be copied aside: saving would lose it
};

// Reads series.txt: a missing file is no rules. A damaged one is copied to
// series.bad (replacing an older copy) and its readable rules are kept.
LoadedSeries LoadSeries(const std::filesystem::path& file);
