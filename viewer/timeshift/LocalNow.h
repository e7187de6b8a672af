#pragma once
// The local civil time, which the portable clocks of timeshift and recording
// are given.

#include <windows.h>

#include "core/time/CivilTime.h"

inline CivilTime LocalNow() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return CivilTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}
