#pragma once
// The steps of telvstandin-bda.dll that a test can make fail by naming them
// in the stand-in settings' "Fail" value (see StandinSettings.h).

#include "standin/shared/StandinSettings.h"

namespace standin {

// Whether the step is to fail; for COM methods, which must not throw (a
// settings read that runs out of memory counts as "no").
inline bool StepFails(const char* step) noexcept {
  try {
    return ShouldFail(step);
  } catch (...) {
    return false;
  }
}

}  // namespace standin

namespace standin::steps {

inline constexpr char kTuningSpacesCreate[] = "TuningSpaces.Create";
inline constexpr char kTuningSpacesEnum[] = "TuningSpaces.get_EnumTuningSpaces";
inline constexpr char kTuningSpacesCount[] = "TuningSpaces.get_Count";
inline constexpr char kTuningSpacesNext[] = "TuningSpaces.Next";
inline constexpr char kTuningSpaceUniqueName[] = "TuningSpace.get_UniqueName";
inline constexpr char kTuningSpaceClone[] = "TuningSpace.Clone";
inline constexpr char kTuningSpaceAtscQuery[] = "TuningSpace.QueryIATSCTuningSpace";
inline constexpr char kTuningSpaceCreateTuneRequest[] = "TuningSpace.CreateTuneRequest";
inline constexpr char kLocatorCreate[] = "Locator.Create";
inline constexpr char kLocatorPhysicalChannel[] = "Locator.put_PhysicalChannel";
inline constexpr char kTuneRequestAtscQuery[] = "TuneRequest.QueryIATSCChannelTuneRequest";
inline constexpr char kTuneRequestChannel[] = "TuneRequest.put_Channel";
inline constexpr char kTuneRequestMinorChannel[] = "TuneRequest.put_MinorChannel";
inline constexpr char kTuneRequestLocator[] = "TuneRequest.put_Locator";
inline constexpr char kTuneRequestQuery[] = "TuneRequest.QueryITuneRequest";
inline constexpr char kProviderCreate[] = "NetworkProvider.Create";
inline constexpr char kProviderTunerQuery[] = "NetworkProvider.QueryITuner";
inline constexpr char kProviderTuneRequest[] = "NetworkProvider.put_TuneRequest";
inline constexpr char kProviderSignalStrength[] = "NetworkProvider.get_SignalStrength";
inline constexpr char kTunerCreate[] = "Tuner.Create";
inline constexpr char kTunerConnect[] = "Tuner.Connect";
inline constexpr char kCaptureCreate[] = "Capture.Create";
inline constexpr char kCaptureConnect[] = "Capture.Connect";

}  // namespace standin::steps
