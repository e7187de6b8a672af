#pragma once
// The rules of the setup window's channel tab: the dialled numbers and
// their spins, the list's cell and hint texts, and the edits of the channel
// list, which stays in ascending order of major, then minor number.

#include <optional>
#include <string>
#include <vector>

#include "core/files/ChannelEntry.h"
#include "core/tuning/ChannelTuning.h"

// The three spins: their ranges and the values of a fresh tab.
struct SpinRange {
  int lowest;
  int highest;
  int fresh;
};
inline constexpr SpinRange kRfSpin{2, 125, 30};
inline constexpr SpinRange kSubChannelSpin{-1, 10, 1};
inline constexpr SpinRange kChannelSpin{2, 69, 2};

// The sub-channel spin skips 0: one step down from 1 gives -1, one step up
// from -1 gives 1. Other steps move by `delta`, kept inside the range.
int StepSubChannel(int position, int delta);

// The NAME a channel number suggests: "CH%i".
std::string SuggestedChannelName(int major);

// The list's cells: CHANNEL "%i-%i" (major, minor), or "%i-(%i)" when the
// minor is -1; RF CHANNEL "%i".
std::string ChannelCellText(const ChannelEntry& channel);
std::string RfCellText(const ChannelEntry& channel);

// The hint labels: "major-minor / rf" ("major-(minor) / rf" for a minor
// of -1), and the same followed by " --->" for the row that UPDATE replaces.
std::string ChannelHintText(int major, int minor, int physical);
std::string UpdateHintText(const ChannelEntry& channel);

// The channel list while the setup window edits it.
class ChannelListEdit {
 public:
  explicit ChannelListEdit(std::vector<ChannelEntry> channels) : channels(std::move(channels)) {}

  const std::vector<ChannelEntry>& Channels() const { return channels; }
  bool IsFull() const { return channels.size() >= kMaxChannels; }

  // Inserts the entry before the first one with a larger major number, or
  // with the same major and a larger minor (so after equal ones); its name
  // becomes one word as channels.txt keeps it. The new row's index, or
  // nothing when the list already holds kMaxChannels entries.
  std::optional<int> Add(ChannelEntry entry);

  // Removes a row; later rows move up one place. False for no such row.
  bool Remove(int index);

  // Replaces a row with the entry: the row is removed and the entry added
  // as ADD adds it, at its sorted place (after the rows equal to it in major
  // and minor), twins of other rows included. The entry's new index, or
  // nothing (and the list unchanged) when there is no such row.
  std::optional<int> Update(int index, ChannelEntry entry);

 private:
  std::vector<ChannelEntry> channels;
};

// The current channel after the list was edited: the entry equal to the
// numbers last tuned; failing that the entry before the first one whose
// major number is larger than the last tuned major (-1 when that is the
// first entry); -1 when neither is found.
int FindCurrentAfterEdit(const std::vector<ChannelEntry>& channels, const TuneValues& lastTuned);
