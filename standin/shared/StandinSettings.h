#pragma once

// Settings of the stand-in platform, kept in the registry of the test or demo
// prefix so that every process that loads a stand-in sees them:
//
//   HKEY_CURRENT_USER\Software\Telvantis Standin
//     "Antenna" (string): full path of the virtual antenna file
//     "Fail"    (string): names of the steps that are to fail, separated by
//                         blanks, for example "NetworkProvider.put_TuneRequest"
//
// Tests set them with `wine reg add "HKCU\Software\Telvantis Standin" ...`.
// They are read on every call, so a test may change them between steps.

#include <string>
#include <string_view>

namespace standin {

inline constexpr const char* kSettingsKey = "Software\\Telvantis Standin";

// The antenna file's path, or an empty text when none is set.
std::string AntennaPath();

// Whether the named step is to fail.
bool ShouldFail(std::string_view step);

// Whether `step` is one of the blank-separated names in `failList`.
bool ListNamesStep(std::string_view failList, std::string_view step);

}  // namespace standin
