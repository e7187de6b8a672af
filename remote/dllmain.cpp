// The four functions a remote-control host calls. One source serves both
// plug-ins: TELVANTIS_PLAYER_PLUGIN builds the players' plug-in, otherwise the
// viewer's. The plug-ins keep no state; every call searches the windows anew.
#include <windows.h>

#include "remote/RemoteKeyTables.h"
#include "remote/Win32Desktop.h"

#ifdef TELVANTIS_PLAYER_PLUGIN
#include "remote/PlayerRemote.h"
using Remote = PlayerRemote;
constexpr int kKeyMask = kPlayerKeyMask;
#else
#include "remote/ViewerRemote.h"
using Remote = ViewerRemote;
constexpr int kKeyMask = kViewerKeyMask;
#endif

extern "C" {

__declspec(dllexport) int __cdecl WhatKeysDoYouWant() { return kKeyMask; }

__declspec(dllexport) int __cdecl EnumerateProgrammableFunction() { return 0; }

__declspec(dllexport) int __cdecl AreYouInFocus() {
  try {
    Win32Desktop desktop;
    return Remote(desktop).IsInFocus() ? 1 : 0;
  } catch (...) {
    return 0;  // nothing may escape into the host
  }
}

// The first value is the host's own and is not used. The key code and the
// event type are 16-bit values.
__declspec(dllexport) int __cdecl HandleKey(int /*hostValue*/, unsigned short code,
                                            unsigned short eventType) {
  try {
    Win32Desktop desktop;
    return Remote(desktop).HandleKey(code, eventType) ? 1 : 0;
  } catch (...) {
    return 0;  // nothing may escape into the host
  }
}

}  // extern "C"
