#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/files/ChannelEntry.h"
#include "core/protocol/HandOffFiles.h"
#include "core/tuning/ChannelTuning.h"
#include "core/tuning/TuningModel.h"
#include "recorder/RecorderVariant.h"

// What a silent recorder reads from its working folder at start-up: the
// tuner model (value 1 of config.txt, or 20 whenever tuner.txt is readable),
// the titles and the registry key built from it, and the channel list.
struct RecorderSetup {
  std::optional<TuningModel> model;  // nothing for an unknown model
  std::string ownTitle;              // "Silent Record- " or "Silent Record TS- " + model name
  std::string schedulerTitle;        // the window the reports go to
  std::string recordKey;             // "SOFTWARE\Telvantis\<key name>\Record"
  std::vector<ChannelEntry> channels;

  static RecorderSetup Load(const std::filesystem::path& folder, RecorderVariant variant);
};

// The entry of the channel a scheduled event names, by the schedule's
// channel match rule (the third number may be the negation of the entry's),
// or nothing when the list no longer holds it.
std::optional<std::size_t> EventChannelIndex(const std::vector<ChannelEntry>& channels,
                                             const SilentEventHandOff& event);

// What a scheduled recording tunes: the matching entry's numbers, or, when
// the list no longer holds the channel, the event's own numbers (which came
// from that list when the event was made).
TuneValues EventTuneValues(const std::vector<ChannelEntry>& channels,
                           const SilentEventHandOff& event);
