#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/files/TunerFiles.h"

// How the live graph gets its decoders when decoders.txt is missing.
enum class DecoderRule {
  AtiByClassId,     // model 0: the ATI video and audio decoders
  FusionByClassId,  // models 1 and 2: the FusionHDTV decoders
  GraphInserts,     // every other model: the graph inserts decoders itself
};

// How a model reports its signal strength, and so how the raw value becomes
// the per cent figure shown.
enum class SignalScale {
  PerCent,         // the raw value is the figure (most models, and tuner.txt)
  AtiDtvWonder,    // model 0
  FusionHdtv,      // models 1 and 2
  VBox,            // models 4 and 5
};

// The role of a filter being added by friendly name.
enum class FilterRole { Tuner, Capture, VideoDecoder, AudioDecoder };

// The main windows of the suite's programs, which find each other by title.
enum class ProgramWindow {
  ViewerPanel,
  ViewerVideo,
  Scheduler,
  SchedulerTs,
  SilentRecorder,
  SilentRecorderTs,
};

// One row of the tuner model catalogue.
struct TuningModel {
  int number = -1;
  std::string titleSuffix;
  std::string registryKeyName;
  std::vector<std::string> tunerNames;
  std::vector<std::string> captureNames;
  DecoderRule decoderRule = DecoderRule::GraphInserts;
  bool hasCaptureFilter = true;  // false: the tuner feeds the demultiplexer
  SignalScale signalScale = SignalScale::PerCent;
  // The number in the name of the scheduler's wake-up task (models 4 and 5
  // share 4); -1 for a tuner named by tuner.txt, whose task carries its name.
  int wakeUpTaskNumber = -1;
};

inline constexpr int kTunerFileModel = 20;

// The row of a model number: 0 to 17 from the catalogue, 20 built from
// tuner.txt. Nothing for -1, 18, 19, any other number, or model 20 without
// tuner names.
std::optional<TuningModel> FindTuningModel(int model, const std::optional<TunerNames>& tunerFile);

// The rows of the catalogue's own products (models 0 to 17), in model order.
std::vector<TuningModel> CatalogueModels();

// The model of a BDA network tuner by its friendly name (exact,
// case-sensitive, first match in the detection order), or nothing.
std::optional<int> DetectModel(std::string_view tunerFriendlyName);

// Whether a device friendly name is one the row accepts for a filter of the
// given role: any of its tuner or capture names, or the matching decoder
// name of decoders.txt when a decoder is being added.
bool AcceptsDevice(const TuningModel& model, std::string_view friendlyName, FilterRole role,
                   const DecoderNames& decoders);

// The model's name in the setup window's tuner list: the registry key name
// with one leading blank.
std::string SetupDisplayName(const TuningModel& model);

std::string WindowTitle(const TuningModel& model, ProgramWindow window);

// "SOFTWARE\Telvantis\<key name>\Timeshift" and "...\Record".
std::string TimeshiftRegistryKey(const TuningModel& model);
std::string RecordRegistryKey(const TuningModel& model);

// Name of the scheduler's wake-up task: "Telvantis Standby<model>" (models 4
// and 5 share "Telvantis Standby4"), "Telvantis Standby <tuner name>" for 20.
std::string WakeUpTaskName(const TuningModel& model);
