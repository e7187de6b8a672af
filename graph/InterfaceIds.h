#pragma once
// The mingw-w64 headers declare no __uuidof for a few DirectShow interfaces
// that the graph layer queries with ComPtr::As. Their ids come from the
// platform's own library (libstrmiids), as for every other interface; the
// Windows SDK declares them itself.

#include <windows.h>
#include <dshow.h>

#if defined(__MINGW32__)
#define TELVANTIS_UUIDOF_FROM_LIBRARY(type)                                     \
  extern "C++" {                                                                \
  template <> inline const GUID& __mingw_uuidof<type>() { return IID_##type; }  \
  template <> inline const GUID& __mingw_uuidof<type*>() { return IID_##type; } \
  }

TELVANTIS_UUIDOF_FROM_LIBRARY(IBasicAudio)
TELVANTIS_UUIDOF_FROM_LIBRARY(IVMRFilterConfig)
TELVANTIS_UUIDOF_FROM_LIBRARY(IVMRWindowlessControl)
TELVANTIS_UUIDOF_FROM_LIBRARY(IVMRAspectRatioControl)
TELVANTIS_UUIDOF_FROM_LIBRARY(IVMRMonitorConfig)

#undef TELVANTIS_UUIDOF_FROM_LIBRARY
#endif
