#pragma once
// The class ids behind the filter classes of the graph plans, and the device
// category searched for each role, shared by every builder.

#include <windows.h>

#include <span>

#include "core/tuning/TuningModel.h"
#include "graph/GraphPlan.h"

// The transport-stream dump filter, an outside component the transport-stream
// recorder creates by this id.
inline constexpr CLSID kTransportStreamDumpClsid = {
    0xE212A41C, 0x033F, 0x4541, {0x93, 0xB5, 0x3A, 0x78, 0xB0, 0x39, 0x24, 0x46}};

// The transport-stream push source, an outside component the transport-stream
// player creates by this id.
inline constexpr CLSID kTransportStreamSourceClsid = {
    0xB489920A, 0x10FF, 0x42EF, {0x99, 0xD2, 0xAD, 0x80, 0x52, 0xA5, 0x6C, 0x5A}};

// The MPEG-2 video stream analyser in front of the stream-buffer sink.
inline constexpr CLSID kVideoStreamAnalyserClsid = {
    0x6CFAD761, 0x735D, 0x4AA5, {0x8A, 0xFC, 0xAF, 0x91, 0xA7, 0xD6, 0x1E, 0xBA}};

// The class ids of a filter class, in the order they are tried.
std::span<const GUID> ClassIds(FilterClass filterClass);

// The device category searched for a filter of each role.
const GUID& RoleCategory(FilterRole role);
