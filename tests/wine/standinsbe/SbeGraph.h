#pragma once
// What the commands of standinsbe share: building the live chain into the
// stream-buffer sink, adding filters, and the result lines.

#include <windows.h>
#include <dshow.h>
#include <wrl/client.h>

#include <string>

#include "dshow/StreamBufferInterfaces.h"
#include "tests/wine/shared/GraphTestProgram.h"

using Microsoft::WRL::ComPtr;

struct Channel {
  long physical, major, minor;
};

HRESULT AddByClsid(IGraphBuilder* graph, const CLSID& clsid, const wchar_t* name, IBaseFilter** out);
// The first free output of `from` joined to the first free input of `to`.
HRESULT ConnectFilters(IGraphBuilder* graph, IBaseFilter* from, IBaseFilter* to);
// Network provider, tuner, capture, demultiplexer and TIF, tuned to `channel`;
// `step` names what failed.
class AtscTuning;
HRESULT BuildLiveChain(IGraphBuilder* graph, Channel channel, AtscTuning& tuning, IBaseFilter** demux,
                       std::string& step);
HRESULT NewGraph(IGraphBuilder** graph);

// "name=value" lines.
void PrintValue(const char* name, long long value);
// Positions in whole milliseconds.
void PrintPositions(const char* prefix, IStreamBufferMediaSeeking* seeking);

int Record(const char* folder, double seconds, Channel channel, const char* recording);
int Play(const char* file, double seekSeconds);
int Check(const char* file);
int Edges(const char* folder);
