#pragma once
// The steps of telvstandin-demux.dll that a test can make fail by naming them
// in the stand-in settings' "Fail" value (see StandinSettings.h).

namespace standin::steps {

inline constexpr char kDemuxCreate[] = "Demux.Create";
inline constexpr char kDemuxConnect[] = "Demux.Connect";              // its input pin
inline constexpr char kDemuxConnectOutput[] = "Demux.ConnectOutput";  // any output pin
inline constexpr char kDemuxCreateOutputPin[] = "Demux.CreateOutputPin";
inline constexpr char kDemuxSetOutputPinMediaType[] = "Demux.SetOutputPinMediaType";
inline constexpr char kDemuxDeleteOutputPin[] = "Demux.DeleteOutputPin";
inline constexpr char kDemuxMapPid[] = "Demux.MapPID";
inline constexpr char kDemuxUnmapPid[] = "Demux.UnmapPID";
inline constexpr char kDemuxEnumPidMap[] = "Demux.EnumPIDMap";
inline constexpr char kTifCreate[] = "TIF.Create";
inline constexpr char kTifConnect[] = "TIF.Connect";
inline constexpr char kAnalyzerCreate[] = "Analyzer.Create";
inline constexpr char kAnalyzerConnect[] = "Analyzer.Connect";  // its input pin
inline constexpr char kInfTeeCreate[] = "InfTee.Create";
inline constexpr char kInfTeeConnect[] = "InfTee.Connect";              // its input pin
inline constexpr char kInfTeeConnectOutput[] = "InfTee.ConnectOutput";  // any output pin

}  // namespace standin::steps
