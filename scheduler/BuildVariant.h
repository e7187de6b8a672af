#pragma once

#include "core/protocol/ProgramProtocol.h"

// Which scheduler this executable is: TelvantisSched (stream-buffer
// recorder) or TelvantisSchedTS (transport-stream recorder). Chosen when the
// program is built; everything that differs follows from SchedulerVariantNames.
SchedulerVariant BuiltVariant();
