#pragma once
// Class ids and media types of telvstandin-demux.dll that libstrmiids lacks,
// defined once for the component. The demultiplexer, the analyser and the
// tee use the platform's own class ids (CLSID_MPEG2Demultiplexer,
// CLSID_Mpeg2VideoStreamAnalyzer, CLSID_InfTee from libstrmiids), the
// transport information filter the shared BDA one.

#include <windows.h>

#include "graph/BdaIds.h"

namespace standin {

// The transport-stream subtype that BDA capture filters put out
// (KSDATAFORMAT_SUBTYPE_BDA_MPEG2_TRANSPORT).
inline constexpr GUID kSubtypeBdaMpeg2Transport = {
    0xF4AEB342, 0x0329, 0x4FDD, {0xA8, 0xFD, 0x4A, 0xFF, 0x49, 0x26, 0xC9, 0x78}};

}  // namespace standin
