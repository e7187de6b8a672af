#include "graph/FilterClassIds.h"

#include <dshow.h>
#include <uuids.h>

#include "graph/BdaIds.h"

namespace {

// The tuner vendors' own decoders, used when decoders.txt is missing; the
// second id of a pair is tried when the first cannot be created.
constexpr GUID kAtiVideoDecoder[] = {
    {0x3E2C8F5C, 0x0C72, 0x4FD0, {0x87, 0x5F, 0x5E, 0x15, 0x82, 0x9E, 0xE0, 0x51}},
    {0x5CAE8739, 0x5CAA, 0x4484, {0xA0, 0x6A, 0xA8, 0x4C, 0xF8, 0x8E, 0xC0, 0x39}}};
constexpr GUID kAtiAudioDecoder[] = {
    {0xB166AFCB, 0x6A64, 0x4988, {0x96, 0x44, 0x15, 0xB4, 0x40, 0x2C, 0x88, 0xFE}},
    {0xF82C5F48, 0xEB2F, 0x4CFD, {0xA0, 0xCC, 0xA0, 0x5A, 0x97, 0x63, 0xAF, 0xDC}}};
constexpr GUID kFusionVideoDecoder[] = {
    {0xD5B32736, 0x693D, 0x47E8, {0x81, 0xF3, 0xDD, 0xF1, 0xC5, 0x50, 0xC5, 0x80}}};
constexpr GUID kFusionAudioDecoder[] = {
    {0xFA245396, 0x72FC, 0x43F9, {0xBB, 0x91, 0xBB, 0x35, 0x44, 0x49, 0x0C, 0x2D}}};

}  // namespace

std::span<const GUID> ClassIds(FilterClass filterClass) {
  // Windows 7 and later tune every network type through the generic network
  // provider and no longer offer the ATSC one; older systems have only the
  // ATSC provider. Whichever is registered is taken, the generic one first.
  static const GUID kNetworkProviders[] = {kNetworkProviderClsid, CLSID_ATSCNetworkProvider};
  switch (filterClass) {
    case FilterClass::NetworkProvider: return kNetworkProviders;
    case FilterClass::Mpeg2Demultiplexer: return {&CLSID_MPEG2Demultiplexer, 1};
    case FilterClass::TransportInformation: return {&kBdaTransportInformationFilterClsid, 1};
    case FilterClass::AtiVideoDecoder: return kAtiVideoDecoder;
    case FilterClass::AtiAudioDecoder: return kAtiAudioDecoder;
    case FilterClass::FusionVideoDecoder: return kFusionVideoDecoder;
    case FilterClass::FusionAudioDecoder: return kFusionAudioDecoder;
    case FilterClass::VideoMixingRenderer: return {&CLSID_VideoMixingRenderer, 1};
    case FilterClass::DefaultVideoRenderer: return {&CLSID_VideoRendererDefault, 1};
    case FilterClass::DirectSoundRenderer: return {&CLSID_DSoundRender, 1};
    case FilterClass::InfiniteTee: return {&CLSID_InfTee, 1};
    case FilterClass::TransportStreamDump: return {&kTransportStreamDumpClsid, 1};
    case FilterClass::StreamBufferSink: return {&CLSID_StreamBufferSink, 1};
    case FilterClass::VideoStreamAnalyser: return {&kVideoStreamAnalyserClsid, 1};
    case FilterClass::StreamBufferSource: return {&CLSID_StreamBufferSource, 1};
    case FilterClass::TransportStreamSource: return {&kTransportStreamSourceClsid, 1};
  }
  return {};
}

const GUID& RoleCategory(FilterRole role) {
  switch (role) {
    case FilterRole::Tuner: return kBdaNetworkTunerCategory;
    case FilterRole::Capture: return kBdaReceiverComponentCategory;
    case FilterRole::VideoDecoder:
    case FilterRole::AudioDecoder: break;
  }
  return CLSID_LegacyAmFilterCategory;
}
