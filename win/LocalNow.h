#pragma once
// The local civil time of the system clock, which the programs give the
// portable clocks and engines as "now".

#include <windows.h>

#include "core/time/CivilTime.h"
#include "win/SystemTimes.h"

inline CivilTime LocalNow() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return ToCivilTime(now);
}
