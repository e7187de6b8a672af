#pragma once

#include <string>

#include "core/time/CivilTime.h"
#include "core/tuning/TuningModel.h"

// The two builds of the silent recorder differ in what they record to: a
// stream-buffer recording (TelvantisSR) or the raw transport stream
// (TelvantisSRTS), and so in their window titles, the scheduler they report
// to, the recording's file name and which failures they tell the user even
// when the scheduler started them.
enum class RecorderVariant { DvrMs, TransportStream };

struct RecorderVariantFacts {
  ProgramWindow ownWindow;
  ProgramWindow schedulerWindow;
  bool transportStream;

  static RecorderVariantFacts For(RecorderVariant variant);
};

// The recording's full name: "<folder>Ch<major>-<minor>_<Day><Mon><day><year>_
// <hh><mm><ss><AM|PM>" with ".dvr-ms" or ".ts".
std::string RecordingFileName(RecorderVariant variant, const std::string& folder, int major,
                              int minor, const CivilTime& at);

// Whether a graph message is shown when the scheduler started the recording
// (no one may be at the screen then): only the transport-stream recorder's
// failures of the dump filter and the tee, which mean the recording can never
// work until something is installed.
bool ShownWhenScheduled(RecorderVariant variant, const std::string& message);
