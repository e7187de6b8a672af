#include "core/guide/GuideListTexts.h"

#include "core/guide/GuideTexts.h"
#include "core/time/TimeTexts.h"

std::string ListTimeText(std::int64_t utc, const LocalZone& zone) {
  const CivilTime local = zone.ToLocal(utc);
  return std::string(DayName(DayOfWeek(local))) + " " + MonthName(local.month) + " " +
         std::to_string(local.day) + " " + ClockText12(local.hour, local.minute);
}

ProgrammeListRow ProgrammeListRowOf(const GuideProgramme& programme, const LocalZone& zone) {
  return {ListTimeText(programme.startUtc, zone), ProgrammeLengthText(programme.lengthSeconds),
          programme.title};
}

namespace {

std::string RuleChannelText(const SeriesRule& rule, const std::vector<ChannelEntry>& channels) {
  for (const ChannelEntry& channel : channels) {
    if (channel.major == rule.major && (channel.minor == rule.minor || channel.minor == -rule.minor))
      return ChannelCaption(channel);
  }
  return std::to_string(rule.major) + "-" + std::to_string(rule.minor);
}

}  // namespace

std::vector<SeriesListRow> SeriesListRows(const SeriesRules& series,
                                          const std::vector<ChannelEntry>& channels,
                                          const LocalZone& zone) {
  std::vector<SeriesListRow> rows;
  const std::vector<SeriesRule>& rules = series.Rules();
  for (std::size_t i = 0; i < rules.size(); ++i) {
    rows.push_back({i, RuleChannelText(rules[i], channels), rules[i].title});
    for (const SeriesShowing& showing : rules[i].showings) {
      if (!showing.IsRefused()) continue;
      rows.push_back({i, "", "  refused " + ListTimeText(showing.startUtc, zone) + ": " + showing.refusal});
    }
  }
  return rows;
}
