#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/files/ChannelEntry.h"
#include "core/guide/GuideProgramme.h"

// The guide window's view of one channel row: which programmes of the guide
// belong to a channels.txt entry, and how a selection moves over them. The
// programmes are named by their index in the guide.

// Whether the programme is on the channel: the same major number, and the
// same minor number or its negation (an entry without a minor number, -1,
// is the station's channel 1), as the schedule's channel rule reads them.
bool IsOnChannel(const GuideProgramme& programme, const ChannelEntry& channel);

// The channel's programmes in start order (the guide's order among equals).
std::vector<std::size_t> ChannelProgrammes(const std::vector<GuideProgramme>& guide,
                                           const ChannelEntry& channel);

// The channel's programme that runs at the instant (from its start up to,
// not including, its end), or nothing.
std::optional<std::size_t> ChannelProgrammeAt(const std::vector<GuideProgramme>& guide,
                                              const ChannelEntry& channel, std::int64_t utc);

// Where a selection goes when it moves to another channel row: the
// programme that runs at `utc` there, else the first that starts after it
// and before `untilUtc`, else nothing.
std::optional<std::size_t> ChannelProgrammeNear(const std::vector<GuideProgramme>& guide,
                                                const ChannelEntry& channel, std::int64_t utc,
                                                std::int64_t untilUtc);

// The programme before (step -1) or after (step +1) `current` on its
// channel, or nothing at either end or when `current` is not on it.
std::optional<std::size_t> NeighbourProgramme(const std::vector<GuideProgramme>& guide,
                                              const ChannelEntry& channel, std::size_t current,
                                              int step);

// The same programme in a guide read again: the same channel, event id and
// start, else the same channel, start and title (a station may renumber its
// events); nothing when it is gone.
std::optional<std::size_t> FindSameProgramme(const std::vector<GuideProgramme>& guide,
                                             const GuideProgramme& wanted);

// Where the grid starts so that it shows the programme: where it is when it
// shows it already, else a whole number of grid widths from there, never
// before `firstStartUtc` (the current half hour). A programme that ended
// before then leaves the grid at `firstStartUtc`.
std::int64_t GridStartShowing(const GuideProgramme& programme, std::int64_t gridStartUtc,
                              std::int64_t firstStartUtc);
