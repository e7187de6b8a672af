// Device and filter entries in the system's filter categories, registered
// through the filter mapper under one class id that no server implements:
// they let the programs list tuners, capture devices, decoders and filters
// by name where the machine has none. Nothing ever creates them. Virtual
// tuner and capture devices are entries that point at the stand-in filters
// instead, so that binding them gives a working device.
#pragma once

#include <windows.h>

#include <string>

enum class EntryKind { Tuner, Capture, VideoDecoder, AudioDecoder, Filter };

// Adds an entry with this friendly name (replacing one of the same name and
// kind). Tuners and capture devices go to the BDA categories, decoders to the
// DirectShow category with pins that the decoder searches match, plain
// filters to the DirectShow category without pins.
HRESULT RegisterEntry(EntryKind kind, const std::wstring& name);

// Adds a virtual tuner or capture device with this friendly name: binding
// its entry creates the virtual tuner or capture filter of
// telvstandin-bda.dll. Each call adds one more device, also under a name
// already registered, as a second card of one model would appear.
HRESULT RegisterDeviceEntry(EntryKind kind, const std::wstring& name);

// Removes our entries of this name and kind; S_FALSE when there is none.
HRESULT UnregisterEntry(EntryKind kind, const std::wstring& name);

// Removes every entry that this tool registered.
HRESULT ClearEntries();
