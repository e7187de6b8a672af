#pragma once

#include <vector>

#include "core/files/ChannelEntry.h"
#include "core/guide/GuideProgramme.h"
#include "core/schedule/ScheduleEvent.h"
#include "core/time/LocalZone.h"

// Whether the guide's grid marks a programme as scheduled: some event of the
// schedule on its channel (`channel`, the programme's channels.txt entry,
// matched as the schedule matches channels) runs at the programme's local
// start and over more than half of the programme. A daily or weekly event
// counts on each of its days from its date on.
//
// Covering the start alone is not enough: a recording padded with "End
// late" runs into the next programme, which is not being recorded. Covering
// more than half still marks a recording cut a little short by hand.
bool IsProgrammeScheduled(const GuideProgramme& programme, const ChannelEntry& channel,
                          const std::vector<ScheduleEvent>& events, const LocalZone& zone);
