#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/time/CivilTime.h"
#include "core/schedule/ScheduleEvent.h"
#include "core/schedule/ScheduleList.h"

// schedule.txt: the event count on line 1, then per event a line of fourteen
// integers separated by single blanks and a line with its folder. Readers
// take the fourteen integers across any white space, line feeds included.
class ScheduleFile {
 public:
  // What a reader makes of the text: the events it accepts, in file order,
  // and one message per refused event or other damage.
  struct Contents {
    std::vector<ScheduleEvent> events;
    std::vector<std::string> problems;
    bool IsDamaged() const { return !problems.empty(); }
  };

  // Lenient reading: every well-formed event is kept, whatever the count
  // says; impossible events, stray lines and a wrong count are reported.
  static Contents Parse(std::string_view text);

  // The exact file layout.
  static std::string Format(const std::vector<ScheduleEvent>& events);
  // One event's line of fourteen integers, without its line feed.
  static std::string EventLine(const ScheduleEvent& event);

  // Nothing when the file cannot be opened.
  static std::optional<Contents> Read(const std::filesystem::path& file);

  // Rewrites the file whole; an empty list deletes it instead.
  static bool Write(const std::filesystem::path& file, const std::vector<ScheduleEvent>& events);

  // Start-up load: read, keep a damaged file aside (file + ".bad", or
  // ".bad2" ... when that exists), clean up past events, rewrite.
  struct LoadResult {
    ScheduleList list;
    std::vector<std::string> problems;          // to show the user
    std::optional<std::filesystem::path> keptAside;
  };
  static LoadResult Load(const std::filesystem::path& file, const CivilTime& now);
};
