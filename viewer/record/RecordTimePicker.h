#pragma once
// The time pickers and spins of the record dialogs: a picker showing the
// time of day as "hh:mm AM", spins over 0 to a maximum with their numbers
// in the edit field beside them.

#include <windows.h>
#include <commctrl.h>

#include "core/time/CivilTime.h"
#include "win/SystemTimes.h"

inline void PrepareTimePicker(HWND picker) {
  SendMessageA(picker, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>("hh':'mm' 'tt"));
}

inline void SetTimePicker(HWND picker, const CivilTime& time) {
  SYSTEMTIME shown = ToSystemTime(time);
  SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&shown));
}

inline CivilTime TimePickerTime(HWND picker) {
  SYSTEMTIME shown{};
  SendMessageA(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown));
  return ToCivilTime(shown);
}

inline void PrepareSpin(HWND spin, int maximum) {
  SendMessageA(spin, UDM_SETRANGE32, 0, maximum);
  SendMessageA(spin, UDM_SETPOS32, 0, 0);
}

inline void SetSpin(HWND spin, int value) { SendMessageA(spin, UDM_SETPOS32, 0, value); }

// The number in the spin's field (typed or spun), kept within its range.
inline int SpinValue(HWND spin) {
  BOOL failed = FALSE;
  const int value = static_cast<int>(SendMessageA(spin, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
  return failed ? 0 : value;
}
