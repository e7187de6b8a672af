#pragma once

#include <vector>

#include "core/guide/GuideProgramme.h"
#include "core/ts/GuideEvent.h"
#include "core/ts/VirtualChannelTable.h"

// How the guide takes in what a station broadcasts.

// The station's events as programmes of its channels: each event goes to
// every channel of the station's channel table that carries its source id;
// events of a source id the table does not list are dropped.
std::vector<GuideProgramme> ProgrammesOfStation(const std::vector<GuideEvent>& events,
                                                const Tvct& channels);

// Takes a station's new programmes into the guide, one after another. A new
// programme replaces, on its own channel only:
//  - a programme with the same event id that starts in the same three-hour
//    block (event ids are only unique within one event table, and each
//    table covers one block starting at 0:00, 3:00, 6:00 ... UTC), and
//  - every programme whose time overlaps its own, so that a rescheduled
//    programme never shows twice.
// Programmes of other channels, and of its channel at other times, stay.
void MergeProgrammes(std::vector<GuideProgramme>& guide, const std::vector<GuideProgramme>& fresh);
