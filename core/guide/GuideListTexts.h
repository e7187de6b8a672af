#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/files/ChannelEntry.h"
#include "core/guide/GuideProgramme.h"
#include "core/guide/SeriesRules.h"
#include "core/time/LocalZone.h"

// The texts of the guide window's two lists.

// A start in local time as the lists show it: "Tue Jun 3 7:30 PM".
std::string ListTimeText(std::int64_t utc, const LocalZone& zone);

// A row of the programme list: TIME, LENGTH, TITLE.
struct ProgrammeListRow {
  std::string time;
  std::string length;
  std::string title;
};
ProgrammeListRow ProgrammeListRowOf(const GuideProgramme& programme, const LocalZone& zone);

// A row of the series list. A rule's row shows its channel (the
// channels.txt caption, or the bare number when channels.txt has no such
// channel) and title; each refused showing follows its rule as a row of its
// own, indented, with the scheduler's reason. Every row names its rule, so
// REMOVE SERIES works from any of them.
struct SeriesListRow {
  std::size_t rule = 0;
  std::string channel;
  std::string text;
};
std::vector<SeriesListRow> SeriesListRows(const SeriesRules& series,
                                          const std::vector<ChannelEntry>& channels,
                                          const LocalZone& zone);
