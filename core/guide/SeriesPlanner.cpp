#include "core/guide/SeriesPlanner.h"

#include <algorithm>

const ChannelEntry* FindGuideChannel(const std::vector<ChannelEntry>& channels, int major, int minor) {
  const auto found = std::find_if(channels.begin(), channels.end(), [&](const ChannelEntry& c) {
    return c.major == major && (c.minor == minor || c.minor == -minor);
  });
  return found == channels.end() ? nullptr : &*found;
}

namespace {

bool IsSameRecording(const ScheduleEvent& a, const ScheduleEvent& b) {
  if (a.channel1 != b.channel1 || a.channel2 != b.channel2 ||
      (a.channel3 != b.channel3 && a.channel3 != -b.channel3))
    return false;
  const EventInterval x = IntervalOf(a);
  const EventInterval y = IntervalOf(b);
  return x.start == y.start && x.end == y.end;
}

}  // namespace

SeriesPlanner::SeriesPlanner(std::vector<ChannelEntry> channels, RecordingPadding padding,
                             std::string folder, const LocalZone& zone)
    : channels(std::move(channels)), padding(padding), folder(std::move(folder)), zone(zone) {}

SeriesPlanner::Plan SeriesPlanner::PlanShowings(SeriesRules& rules,
                                                const std::vector<GuideProgramme>& guide,
                                                const std::vector<ScheduleEvent>& schedule,
                                                std::int64_t nowUtc) const {
  Plan plan;
  plan.rulesChanged = rules.DropOldShowings(nowUtc);
  std::vector<const GuideProgramme*> coming;
  for (const GuideProgramme& p : guide)
    if (p.startUtc > nowUtc) coming.push_back(&p);
  std::stable_sort(coming.begin(), coming.end(), [](const GuideProgramme* a, const GuideProgramme* b) {
    return a->startUtc < b->startUtc;
  });
  for (const GuideProgramme* p : coming) {
    const SeriesRule* rule = rules.FindRule(p->major, p->minor, p->title);
    if (!rule || rule->FindShowing(p->startUtc)) continue;
    const ChannelEntry* channel = FindGuideChannel(channels, p->major, p->minor);
    if (!channel) continue;
    const GuideRecording recording = PaddedRecordingEvent(*p, *channel, padding, folder, zone);
    plan.rulesChanged = true;
    if (!recording.event) {
      rules.RecordRefused(p->major, p->minor, p->title, p->startUtc, recording.refusal);
      continue;
    }
    rules.RecordHanded(p->major, p->minor, p->title, p->startUtc);
    const bool scheduled = std::any_of(schedule.begin(), schedule.end(), [&](const ScheduleEvent& e) {
      return IsSameRecording(e, *recording.event);
    });
    if (!scheduled) plan.handOvers.push_back(SeriesHandOver{*p, *recording.event});
  }
  return plan;
}
