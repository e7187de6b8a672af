#pragma once
// Graph building as the suite does it: filters by class id, by friendly name
// or as the first device of a category; connections between the first free
// pins that connect.

#include <windows.h>
#include <strmif.h>

#include <string>

HRESULT AddByClsid(IGraphBuilder* graph, const CLSID& clsid, const wchar_t* name,
                   IBaseFilter** out);
// The first filter of `category` whose friendly name is `friendlyName`.
HRESULT AddByFriendlyName(IGraphBuilder* graph, const GUID& category, const wchar_t* friendlyName,
                          const wchar_t* name, IBaseFilter** out);
HRESULT AddFirstDevice(IGraphBuilder* graph, const GUID& category, const wchar_t* name,
                       IBaseFilter** out);
// The first free output pin of `from` that IGraphBuilder::Connect joins to
// the first free input pin of `to` (intelligent connect included).
HRESULT ConnectFilters(IGraphBuilder* graph, IBaseFilter* from, IBaseFilter* to);
// The names of the filters in the graph, one line each ("filter=NAME").
void PrintFilters(IGraphBuilder* graph);

std::string Narrow(const wchar_t* text);
