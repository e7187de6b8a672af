#include "core/tuning/TuningModel.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

struct CatalogueRow {
  const char* titleSuffix;
  const char* registryKeyName;
  std::vector<std::string> tunerNames;
  std::vector<std::string> captureNames;
  DecoderRule decoderRule;
  bool hasCaptureFilter;
  SignalScale signalScale;
  int wakeUpTaskNumber;
};

// Models 0 to 17 in order. Each row: title suffix, registry key name, tuner
// names, capture names, decoder rule, whether a capture filter follows the
// tuner, signal scale, wake-up task number.
const std::array<CatalogueRow, 18>& Catalogue() {
  constexpr auto kGraph = DecoderRule::GraphInserts;
  constexpr auto kPerCent = SignalScale::PerCent;
  static const std::array<CatalogueRow, 18> rows{{
      {"HDTV Wonder", "ATI DTV Wonder Digital BDA Tuner", {"ATI DTV Wonder Digital BDA Tuner"},
       {"ATI DTV Wonder Digital BDA Capture"}, DecoderRule::AtiByClassId, true, SignalScale::AtiDtvWonder, 0},
      {"FusionHDTV", "FusionHDTV, BDA Tuner",
       {"FusionHDTV, BDA Tuner", "FusionHDTV, BDA ATSC Tuner/Demod", "FusionHDTV, BDA Tuner1"},
       {"FusionHDTV, Transport Stream Capture", "FusionHDTV, Transport Stream Capture1"},
       DecoderRule::FusionByClassId, true, SignalScale::FusionHdtv, 1},
      {"FusionHDTV USB", "FusionHDTV USB Tuner", {"Bluebird, BDA Tuner"},
       {"Bluebird, WDM TsCapture"}, DecoderRule::FusionByClassId, true, SignalScale::FusionHdtv, 2},
      {"AVerTVHD A180", "AVerTVHD A180 BDA ATSC Tuner", {"AVerTVHD A180 BDA ATSC Tuner"},
       {"AVerTVHD A180 BDA Digital Capture"}, kGraph, true, kPerCent, 3},
      {"VBox TV Tuner", "VBox TV Tuner", {"VBox TV Tuner (DTF8600)"}, {"VBox Bic951 Capture"},
       kGraph, true, SignalScale::VBox, 4},
      {"VBox TV Tuner", "VBox TV Tuner", {"VBox TV Tuner (DTF8600 - ATSC)"},
       {"VBox Bic951 Capture", "VBox Vb35xx Capture"}, kGraph, true, SignalScale::VBox, 4},
      {"KWorld ATSC 110", "KWorld ATSC 110", {"713x BDA ATSC Tuner"},
       {"713x BDA Digital Capture"}, kGraph, true, kPerCent, 6},
      {"OnAir HDTV GT", "OnAir HDTV GT", {"USB HDTV-GT BDA Tuner (ATSC)"},
       {"USB HDTV-GT AVStream TS Capture"}, kGraph, true, kPerCent, 7},
      {"FujiPlus USB", "FujiPlus USB Tuner", {"DTV-DVB UDXTTM6000 - USB 2.0 ATSC Receiver"}, {},
       kGraph, false, kPerCent, 8},
      {"Artec T14A USB", "Artec T14A Tuner", {"Digital TV Tuner Filter"},
       {"Digital TV Capture Filter"}, kGraph, true, kPerCent, 9},
      // The loader accepts the driver's name with its trailing blank; detection
      // (below) compares without it.
      {"KWorld ATSC 310U", "KWorld ATSC 310U", {"BDA 2881 TVTuner "}, {"BDA 2881 Capture"},
       kGraph, true, kPerCent, 10},
      {"ATI TV Wonder 650", "ATI TV Wonder 650", {"ATI BDA Digital Tuner"},
       {"ATI BDA Digital Capture"}, kGraph, true, kPerCent, 11},
      {"WinTV HVR950", "WinTV HVR950", {"WinTV HVR-980 BDA Tuner"}, {"WinTV HVR-980 BDA Capture"},
       kGraph, true, kPerCent, 12},
      {"PCTV HD Pro", "PCTV HD Pro", {"BDA 2883 TVTuner", "PCTV 330e/800e BDA TVTuner"},
       {"BDA 2883 Capture", "PCTV 330e/800e BDA Capture"}, kGraph, true, kPerCent, 13},
      {"Geniatech U6010A USB", "Geniatech U6010A USB", {"U6000 DTV Tuner"},
       {"U6000 Digital Video"}, kGraph, true, kPerCent, 14},
      {"WinTV HVR1600", "WinTV HVR1600", {"Hauppauge WinTV 418 BDA Tuner"},
       {"Hauppauge WinTV 418 TS Capture"}, kGraph, true, kPerCent, 15},
      {"ADS Instant HDTV", "ADS Instant HDTV", {"ADS Instant HDTV BDA ATSC Tuner"},
       {"ADS Instant HDTV BDA Digital Capture"}, kGraph, true, kPerCent, 16},
      {"Hauppauge WinTV 885", "Hauppauge WinTV 885", {"Hauppauge WinTV 885 BDA Tuner/Demod"},
       {"Hauppauge WinTV 885 TS Capture"}, kGraph, true, kPerCent, 17},
  }};
  return rows;
}

struct DetectionName {
  const char* name;
  int model;
};

// In detection order; the first equal name wins.
constexpr std::array<DetectionName, 21> kDetectionNames{{
    {"ATI DTV Wonder Digital BDA Tuner", 0},
    {"FusionHDTV, BDA ATSC Tuner/Demod", 1},
    {"FusionHDTV, BDA Tuner1", 1},
    {"FusionHDTV, BDA Tuner", 1},
    {"Bluebird, BDA Tuner", 2},
    {"AVerTVHD A180 BDA ATSC Tuner", 3},
    {"VBox TV Tuner (DTF8600)", 4},
    {"VBox TV Tuner (DTF8600 - ATSC)", 5},
    {"713x BDA ATSC Tuner", 6},
    {"USB HDTV-GT BDA Tuner (ATSC)", 7},
    {"DTV-DVB UDXTTM6000 - USB 2.0 ATSC Receiver", 8},
    {"Digital TV Tuner Filter", 9},
    {"BDA 2881 TVTuner", 10},
    {"ATI BDA Digital Tuner", 11},
    {"WinTV HVR-980 BDA Tuner", 12},
    {"PCTV 330e/800e BDA TVTuner", 13},
    {"BDA 2883 TVTuner", 13},
    {"U6000 DTV Tuner", 14},
    {"Hauppauge WinTV 418 BDA Tuner", 15},
    {"ADS Instant HDTV BDA ATSC Tuner", 16},
    {"Hauppauge WinTV 885 BDA Tuner/Demod", 17},
}};

constexpr const char* kRegistryRoot = "SOFTWARE\\Telvantis\\";

bool Contains(const std::vector<std::string>& names, std::string_view name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

std::optional<TuningModel> FindTuningModel(int model, const std::optional<TunerNames>& tunerFile) {
  if (model == kTunerFileModel) {
    if (!tunerFile) return std::nullopt;
    TuningModel row;
    row.number = kTunerFileModel;
    row.titleSuffix = tunerFile->tuner;
    row.registryKeyName = tunerFile->tuner;
    row.tunerNames = {tunerFile->tuner};
    row.captureNames = {tunerFile->capture};
    row.hasCaptureFilter = true;  // named on the second line of tuner.txt
    row.signalScale = SignalScale::PerCent;
    return row;
  }
  const auto& rows = Catalogue();
  if (model < 0 || model >= static_cast<int>(rows.size())) return std::nullopt;
  const CatalogueRow& source = rows[static_cast<std::size_t>(model)];
  return TuningModel{model,
                     source.titleSuffix,
                     source.registryKeyName,
                     source.tunerNames,
                     source.captureNames,
                     source.decoderRule,
                     source.hasCaptureFilter,
                     source.signalScale,
                     source.wakeUpTaskNumber};
}

std::vector<TuningModel> CatalogueModels() {
  std::vector<TuningModel> models;
  for (int model = 0; model < static_cast<int>(Catalogue().size()); ++model) {
    models.push_back(*FindTuningModel(model, std::nullopt));
  }
  return models;
}

std::optional<int> DetectModel(std::string_view tunerFriendlyName) {
  for (const DetectionName& entry : kDetectionNames) {
    if (tunerFriendlyName == entry.name) return entry.model;
  }
  return std::nullopt;
}

bool AcceptsDevice(const TuningModel& model, std::string_view friendlyName, FilterRole role,
                   const DecoderNames& decoders) {
  if (Contains(model.tunerNames, friendlyName) || Contains(model.captureNames, friendlyName)) {
    return true;
  }
  if (role == FilterRole::VideoDecoder) return friendlyName == decoders.video;
  if (role == FilterRole::AudioDecoder) return friendlyName == decoders.audio;
  return false;
}

std::string SetupDisplayName(const TuningModel& model) { return " " + model.registryKeyName; }

std::string WindowTitle(const TuningModel& model, ProgramWindow window) {
  switch (window) {
    case ProgramWindow::ViewerPanel: return "Telvantis- " + model.titleSuffix;
    case ProgramWindow::ViewerVideo: return "Telvantis Video- " + model.titleSuffix;
    case ProgramWindow::Scheduler: return "Telvantis Scheduler- " + model.titleSuffix;
    case ProgramWindow::SchedulerTs: return "Telvantis Scheduler TS- " + model.titleSuffix;
    case ProgramWindow::SilentRecorder: return "Silent Record- " + model.titleSuffix;
    case ProgramWindow::SilentRecorderTs: return "Silent Record TS- " + model.titleSuffix;
  }
  return {};
}

std::string TimeshiftRegistryKey(const TuningModel& model) {
  return kRegistryRoot + model.registryKeyName + "\\Timeshift";
}

std::string RecordRegistryKey(const TuningModel& model) {
  return kRegistryRoot + model.registryKeyName + "\\Record";
}

std::string WakeUpTaskName(const TuningModel& model) {
  if (model.number == kTunerFileModel) return "Telvantis Standby " + model.titleSuffix;
  return "Telvantis Standby" + std::to_string(model.wakeUpTaskNumber);
}
