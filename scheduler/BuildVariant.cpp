#include "scheduler/BuildVariant.h"

// The only place that reads the build's choice: the build compiles this file
// once per executable, with TELVANTIS_SCHEDULER_TS set to 0 or 1.
#ifndef TELVANTIS_SCHEDULER_TS
#error "TELVANTIS_SCHEDULER_TS must be defined by the build (0 or 1)"
#endif

SchedulerVariant BuiltVariant() {
  return TELVANTIS_SCHEDULER_TS ? SchedulerVariant::TransportStream : SchedulerVariant::DvrMs;
}
