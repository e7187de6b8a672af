#pragma once

// Settings of the stand-in platform, kept in the registry of the test or demo
// prefix so that every process that loads a stand-in sees them:
//
//   HKEY_CURRENT_USER\Software\Telvantis Standin
//     "Antenna" (string): full path of the virtual antenna file
//     "Fail"    (string): names of the steps that are to fail, separated by
//                         blanks, for example "NetworkProvider.put_TuneRequest"
//     "TuningSpaces" (string): unique names of the system's tuning spaces,
//                         separated by blanks, ":cable" at the end of one
//                         whose input is the cable (empty: none); without
//                         the value the platform's own list
//     "Platform" (string): "Windows7" for the platform of Windows 7 and
//                         later: only the generic network provider is
//                         registered (read when telvstandin-bda.dll is
//                         registered), and the tuning spaces are an ATSC
//                         cable space "ATSCCable" and an ATSC antenna space
//                         "ATSCAntenna"; any other value or none: the older
//                         systems' platform, only the ATSC network provider
//                         and one antenna space "ATSC"
//
// The steps of telvstandin-bda.dll (standin/bda/FailSteps.h):
//   TuningSpaces.Create, TuningSpaces.get_EnumTuningSpaces,
//   TuningSpaces.get_Count, TuningSpaces.Next, TuningSpace.get_UniqueName,
//   TuningSpace.Clone, TuningSpace.QueryIATSCTuningSpace,
//   TuningSpace.CreateTuneRequest, Locator.Create,
//   Locator.put_PhysicalChannel, TuneRequest.QueryIATSCChannelTuneRequest,
//   TuneRequest.put_Channel, TuneRequest.put_MinorChannel,
//   TuneRequest.put_Locator, TuneRequest.QueryITuneRequest,
//   NetworkProvider.Create, NetworkProvider.QueryITuner,
//   NetworkProvider.put_TuneRequest, NetworkProvider.get_SignalStrength,
//   Tuner.Create, Tuner.Connect (its output accepts no type), Capture.Create,
//   Capture.Connect (likewise).
//
// Tests set them with `wine reg add "HKCU\Software\Telvantis Standin" ...`.
// They are read on every call, so a test may change them between steps.

#include <optional>
#include <string>
#include <string_view>

namespace standin {

inline constexpr const char* kSettingsKey = "Software\\Telvantis Standin";

// A string setting of any length; nothing when it is not set or cannot be
// read as a string.
std::optional<std::string> ReadSetting(const char* name);

// The antenna file's path, or an empty text when none is set.
std::string AntennaPath();

// Whether the stand-ins present Windows 7 and later ("Platform" is
// "Windows7") rather than the older systems.
bool IsWindows7Platform();

// Whether the named step is to fail.
bool ShouldFail(std::string_view step);

// Whether `step` is one of the blank-separated names in `failList`.
bool ListNamesStep(std::string_view failList, std::string_view step);

}  // namespace standin
