#pragma once

#include <vector>

#include "core/files/ChannelEntry.h"

// The three numbers a channel is tuned with.
struct TuneValues {
  int physical = -1;
  int major = -1;
  int minor = -1;

  friend bool operator==(const TuneValues&, const TuneValues&) = default;
};

// The major channel sent in a tune request: a minor channel below 2 (0, 1,
// or the -1 of a channel without a minor number) is tuned by its physical
// channel alone and sends -1; from minor 2 upward the major channel is sent.
int RequestedMajorChannel(int major, int minor);

// What the viewer tunes to: the entry at `index`, or, when the list does not
// hold that entry (an empty list on a first run), nothing at all: physical,
// major and minor channel -1, the values of a locator that has not been set,
// which a tuner answers with no signal.
TuneValues ChannelTuneValues(const std::vector<ChannelEntry>& channels, int index);
