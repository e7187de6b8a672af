// What the system offers: friendly names of the filters in a device category
// and of the decoders the filter mapper matches. Nothing is instantiated.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Every filter of the category, in the enumerator's order. An empty category
// is S_OK with no names; a failure means the system device enumerator could
// not be created or asked.
HRESULT ListCategoryNames(const GUID& category, std::vector<std::string>* names);

// Filters registered with merit 0x200000 or more that have an input pin of
// the given type and an output pin of the given major type (any subtype).
// Filters whose name cannot be read are skipped.
HRESULT ListDecoderNames(const GUID& inputMajor, const GUID& inputSubtype, const GUID& outputMajor,
                         std::vector<std::string>* names);
