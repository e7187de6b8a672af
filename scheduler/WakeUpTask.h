#pragma once

#include <string>

#include "core/time/CivilTime.h"

// Moves the trigger of the wake-up task that the user set up in the task
// scheduler: one run at `trigger`, disabled when `enabled` is false. A task
// that does not exist is left alone. False when the task could not be updated.
bool UpdateWakeUpTask(const std::string& taskName, bool enabled, const CivilTime& trigger);
