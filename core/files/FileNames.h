#pragma once
// The names of the files that the programs share in their working
// directory. Every program opens them by these bare names; this header is
// their one spelling.

namespace FileNames {

// The shared settings files.
inline constexpr char kConfig[] = "config.txt";
inline constexpr char kTuner[] = "tuner.txt";
inline constexpr char kDecoders[] = "decoders.txt";
inline constexpr char kChannels[] = "channels.txt";
inline constexpr char kChannelVolumes[] = "chvols.txt";

// The schedule, the hand-off files and the logs.
inline constexpr char kSchedule[] = "schedule.txt";
inline constexpr char kRecLive[] = "reclive.txt";
inline constexpr char kSilentEvent[] = "silentevent.txt";
inline constexpr char kDelay[] = "delay.txt";
inline constexpr char kEventLog[] = "scheduler.txt";
inline constexpr char kSchedulerDebugLog[] = "scheddebug.txt";
inline constexpr char kGraphDebugLog[] = "telvdebug.txt";

// The programme guide, its series rules, their damaged copies kept aside,
// and the guide's hand-off of an event to the scheduler and its answer.
inline constexpr char kGuide[] = "guide.txt";
inline constexpr char kDamagedGuide[] = "guide.bad";
inline constexpr char kSeries[] = "series.txt";
inline constexpr char kDamagedSeries[] = "series.bad";
inline constexpr char kGuideEvent[] = "guideevent.txt";
inline constexpr char kGuideAnswer[] = "guideanswer.txt";

// The players' own settings.
inline constexpr char kPlayConfig[] = "playconfig.txt";

}  // namespace FileNames
