// Device and filter entries in the system's filter categories, registered
// through the filter mapper under one class id that no server implements:
// they let the programs list tuners, capture devices, decoders and filters
// by name where the machine has none. Nothing ever creates them.
#pragma once

#include <windows.h>

#include <string>

enum class EntryKind { Tuner, Capture, VideoDecoder, AudioDecoder, Filter };

// Adds an entry with this friendly name (replacing one of the same name and
// kind). Tuners and capture devices go to the BDA categories, decoders to the
// DirectShow category with pins that the decoder searches match, plain
// filters to the DirectShow category without pins.
HRESULT RegisterEntry(EntryKind kind, const std::wstring& name);

// Removes our entry of this name and kind; S_FALSE when there is none.
HRESULT UnregisterEntry(EntryKind kind, const std::wstring& name);

// Removes every entry that this tool registered.
HRESULT ClearEntries();
