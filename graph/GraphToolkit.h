#pragma once
// The small set of operations every Telvantis graph is built from: add a
// filter by class id or a device by friendly name, connect two filters by
// their first free pins, list the tuner devices. The operations that tell
// the user something return it in their outcome; none opens a window.

#include <windows.h>
#include <dshow.h>

#include <string>
#include <vector>

#include "graph/BdaIds.h"
#include "graph/GraphOutcome.h"
#include "core/tuning/TuningModel.h"

inline constexpr std::size_t kMaxTunerDevices = 20;

// The name under which a device of each role is added to a graph:
// "BDATunerDemod", "TSCapture", "Video Decoder", "Audio Decoder".
const wchar_t* RoleFilterName(FilterRole role);

// Creates the class in process and adds it to the graph under `name`. The
// filter is handed out only when both steps succeed.
HRESULT AddFilterByClsid(IGraphBuilder* graph, REFCLSID clsid, const wchar_t* name,
                         IBaseFilter** filter);

// Adds the first device of `category` whose friendly name the model accepts
// for `role` (decoders also by their names from decoders.txt). A missing
// model accepts nothing. Fails with VFW_E_NOT_FOUND and no message when no
// device is accepted: the caller names the missing filter. Messages: "CAN'T
// INITIALIZE SYSTEM DEVICE ENUMERATOR", "CAN'T ADD FILTER BY CLSID".
GraphOutcome AddFilterByName(IGraphBuilder* graph, REFGUID category, FilterRole role,
                        const TuningModel* model, const DecoderNames& decoders,
                        IBaseFilter** filter);

// Connects the first free output pin of `upstream` to the first free input
// pin of `downstream` that the graph accepts (intelligent connect). With
// `onlyMajorType`, only output pins offering a media type of that major
// type are tried. Fails with E_FAIL and "COULDN'T CONNECT FILTERS" when no
// pair connects ("CAN'T ENUM OUTPUT/INPUT PINS ON FILTER" when the pins
// cannot be listed).
GraphOutcome ConnectFilters(IGraphBuilder* graph, IBaseFilter* upstream, IBaseFilter* downstream,
                       const GUID* onlyMajorType = nullptr);

// The "FriendlyName" of a device or filter moniker, in the ANSI code page.
HRESULT ReadFriendlyName(IMoniker* moniker, std::string* name);

// The friendly names of the BDA network tuner devices in enumeration order,
// at most kMaxTunerDevices. Leaves the list unchanged when the devices
// cannot be listed ("CAN'T INITIALIZE SYSTEM DEVICE ENUMERATOR").
GraphOutcome EnumerateTunerDevices(std::vector<std::string>* names);
