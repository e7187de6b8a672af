#pragma once

#include <string>

#include "core/time/CivilTime.h"

// Names of the recording files. `folder` is used as a plain prefix, exactly as
// stored (it normally ends in a backslash); `at` is the local time when the
// name is made.

// "<folder>stub_<month><day><year><hour><minute><second>.dvr-ms", every number
// without leading zeros, hour 0-23.
std::string StubFileName(const std::string& folder, const CivilTime& at);

// "<folder><Day>-<Mon><day>-<year>_<hh><mm><ss><AM|PM>.dvr-ms".
std::string TimeshiftRecordingName(const std::string& folder, const CivilTime& at);

// "Ch<major>-<minor>", a minor channel below 0 written as 1.
std::string ChannelText(int major, int minor);

// "<folder>Ch<major>-<minor>_<Day><Mon><day><year>_<hh><mm><ss><AM|PM>.dvr-ms".
std::string LiveRecordingName(const std::string& folder, int major, int minor,
                              const CivilTime& at);

// The same as LiveRecordingName with the extension ".ts".
std::string TransportStreamRecordingName(const std::string& folder, int major, int minor,
                                         const CivilTime& at);
