#pragma once
// A platform for graph plans on which every action succeeds except those
// named to fail. It keeps the build log and one line per action performed
// ("add VMR (VMR-7)", "connect demux -> TIF", ...).

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "graph/GraphPlan.h"

class FakeGraphPlatform : public GraphPlanPlatform {
 public:
  std::string log;
  std::vector<std::string> actions;

  // Makes the action fail (E_FAIL) the next time it is performed, with any
  // messages of its own; called twice, the next two times.
  void Fail(const std::string& action, std::vector<GraphMessage> messages = {}) {
    failing[action].push_back(GraphOutcome{kFail, std::move(messages)});
  }

  void Log(std::string_view text) override { log += text; }

  GraphOutcome Perform(const PlanStep& step) override {
    const std::string line = Describe(step);
    actions.push_back(line);
    const auto found = failing.find(line);
    if (found == failing.end() || found->second.empty()) return GraphOutcome{};
    const GraphOutcome outcome = found->second.front();
    found->second.erase(found->second.begin());
    return outcome;
  }

  static constexpr std::int32_t kFail = static_cast<std::int32_t>(0x80004005u);

 private:
  std::map<std::string, std::vector<GraphOutcome>> failing;  // action line -> what it gives

  static std::string Describe(const PlanStep& step) {
    switch (step.action) {
      case StepAction::AddByClass:
        return "add " + step.graphName + " (" + ClassName(step.filterClass) + ")";
      case StepAction::AddByName: return "find " + RoleName(step.role);
      case StepAction::FindTuningSpace: return "tuning space";
      case StepAction::Tune: return "tune";
      case StepAction::Connect:
        return "connect " + FilterName(step.filter) + " -> " + FilterName(step.downstream) +
               PinsName(step.pins);
      case StepAction::Remove: return "remove " + FilterName(step.filter);
      case StepAction::SetUpRenderer: return "set up " + FilterName(step.filter);
      case StepAction::QueryMediaControl: return "media control";
      case StepAction::QueryBasicAudio: return "volume";
      case StepAction::Run: return "run";
      case StepAction::QueryFileSink: return "file sink";
      case StepAction::SetFileName: return "file name";
      case StepAction::QueryBufferSink: return "buffer sink";
      case StepAction::ConfigureBuffer: return "buffer folder";
      case StepAction::CreateRecorder: return "create recorder";
      case StepAction::StartRecorder: return "start recorder";
      case StepAction::CheckFile: return "check file";
      case StepAction::QueryBufferSource: return "buffer source";
      case StepAction::LoadFile: return "load file";
      case StepAction::CreateDemuxPins: return "demux pins";
      case StepAction::QuerySeeking: return "seeking";
      case StepAction::SetSyncSource: return "sound clock";
      case StepAction::PauseVideoDecoder: return "pause video decoder";
      case StepAction::RunVideoDecoder: return "run video decoder";
      case StepAction::LogOnly:
      case StepAction::Group: break;
    }
    return "?";
  }

  static std::string FilterName(PlanFilter filter) {
    switch (filter) {
      case PlanFilter::None: return "none";
      case PlanFilter::NetworkProvider: return "provider";
      case PlanFilter::Tuner: return "tuner";
      case PlanFilter::Capture: return "capture";
      case PlanFilter::Demultiplexer: return "demux";
      case PlanFilter::Tif: return "TIF";
      case PlanFilter::VideoDecoder: return "video decoder";
      case PlanFilter::AudioDecoder: return "audio decoder";
      case PlanFilter::VideoRenderer: return "video renderer";
      case PlanFilter::SoundRenderer: return "sound renderer";
      case PlanFilter::Tee: return "tee";
      case PlanFilter::Dump: return "dump";
      case PlanFilter::BufferSink: return "sink";
      case PlanFilter::Analyser: return "analyser";
      case PlanFilter::Source: return "source";
    }
    return "?";
  }

  static std::string ClassName(FilterClass filterClass) {
    switch (filterClass) {
      case FilterClass::NetworkProvider: return "network provider";
      case FilterClass::Mpeg2Demultiplexer: return "MPEG-2 demultiplexer";
      case FilterClass::TransportInformation: return "TIF";
      case FilterClass::AtiVideoDecoder: return "ATI video";
      case FilterClass::AtiAudioDecoder: return "ATI audio";
      case FilterClass::FusionVideoDecoder: return "Fusion video";
      case FilterClass::FusionAudioDecoder: return "Fusion audio";
      case FilterClass::VideoMixingRenderer: return "VMR-7";
      case FilterClass::DefaultVideoRenderer: return "default video renderer";
      case FilterClass::DirectSoundRenderer: return "DirectSound";
      case FilterClass::InfiniteTee: return "infinite tee";
      case FilterClass::TransportStreamDump: return "dump filter";
      case FilterClass::StreamBufferSink: return "stream-buffer sink";
      case FilterClass::VideoStreamAnalyser: return "analyser";
      case FilterClass::StreamBufferSource: return "stream-buffer source";
      case FilterClass::TransportStreamSource: return "push source";
    }
    return "?";
  }

  static std::string PinsName(PinKind pins) {
    switch (pins) {
      case PinKind::Any: break;
      case PinKind::Video: return " (video)";
      case PinKind::Audio: return " (audio)";
    }
    return "";
  }

  static std::string RoleName(FilterRole role) {
    switch (role) {
      case FilterRole::Tuner: return "tuner";
      case FilterRole::Capture: return "capture";
      case FilterRole::VideoDecoder: return "video decoder";
      case FilterRole::AudioDecoder: return "audio decoder";
    }
    return "?";
  }
};
