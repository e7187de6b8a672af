#include "graph/RecordingGraphPlan.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "graph/LiveGraphPlan.h"

namespace {

using F = PlanFilter;

PlanStep Do(StepAction action, std::optional<GraphMessage> failure) {
  PlanStep step;
  step.action = action;
  step.failure = std::move(failure);
  return step;
}

PlanStep AddByClass(PlanFilter filter, FilterClass filterClass, std::string_view graphName,
                    GraphMessage failure) {
  PlanStep step = Do(StepAction::AddByClass, std::move(failure));
  step.filter = filter;
  step.filterClass = filterClass;
  step.graphName = graphName;
  return step;
}

PlanStep Connect(PlanFilter upstream, PlanFilter downstream, GraphMessage failure,
                 PinKind pins = PinKind::Any) {
  PlanStep step = Do(StepAction::Connect, std::move(failure));
  step.filter = upstream;
  step.downstream = downstream;
  step.pins = pins;
  return step;
}

bool Is(const PlanStep& step, StepAction action, PlanFilter filter,
        PlanFilter downstream = F::None) {
  return step.action == action && step.filter == filter && step.downstream == downstream;
}

// Gives the step the recorder's own text for its failure.
void Retell(GraphPlan& plan, StepAction action, PlanFilter filter, PlanFilter downstream,
            GraphMessage failure) {
  for (PlanStep& step : plan) {
    if (Is(step, action, filter, downstream)) step.failure = failure;
  }
}

// The recorders write no build log.
void Quiet(GraphPlan& plan) {
  for (PlanStep& step : plan) step.log.clear();
  std::erase_if(plan, [](const PlanStep& step) { return step.action == StepAction::LogOnly; });
}

}  // namespace

GraphPlan StreamBufferRecordingPlan(const TuningModel* model) {
  GraphPlan plan = SourceChainPlan(model);
  Quiet(plan);
  const GraphMessage toDemux = Exclaim("CAN'T CONNECT BDA Capture to MPEG2 DEMUX");
  Retell(plan, StepAction::Connect, F::Capture, F::Demultiplexer, toDemux);
  Retell(plan, StepAction::Connect, F::Tuner, F::Demultiplexer, toDemux);
  plan.push_back(AddByClass(F::BufferSink, FilterClass::StreamBufferSink, "SINK", PlainBox("NO SINK")));
  plan.push_back(
      AddByClass(F::Analyser, FilterClass::VideoStreamAnalyser, "VSA", PlainBox("NO VSA")));
  plan.push_back(Connect(F::Demultiplexer, F::Analyser, PlainBox("CANT CONNECT FIRST SINK"),
                         PinKind::Video));
  plan.push_back(Connect(F::Demultiplexer, F::BufferSink, PlainBox("CANT CONNECT FIRST SINK"),
                         PinKind::Audio));
  plan.push_back(Connect(F::Analyser, F::BufferSink, PlainBox("CANT CONNECT VSA TO SINK")));
  plan.push_back(Do(StepAction::QueryBufferSink, PlainBox("CANT QI SBSINK")));
  // The folder and the key: a failure ends the build with no text of its own.
  plan.push_back(Do(StepAction::ConfigureBuffer, std::nullopt));
  plan.push_back(Do(StepAction::QueryMediaControl, Exclaim("CAN'T LOAD MEDIA CONTROL")));
  plan.push_back(Do(StepAction::Run, PlainBox("CANT RUN GRAPH")));
  plan.push_back(Do(StepAction::CreateRecorder, PlainBox("CANT QI RECORDER")));
  plan.push_back(Do(StepAction::StartRecorder, PlainBox("CANT START RECORDER")));
  return plan;
}

GraphPlan TransportStreamRecordingPlan(const TuningModel* model) {
  std::optional<TuningModel> devices;
  if (model != nullptr) devices = TransportStreamRecorderDevices(*model);
  GraphPlan plan = SourceChainPlan(devices ? &*devices : nullptr);
  Quiet(plan);
  // The chain up to the capture filter; the tee comes next.
  const auto capture = std::find_if(plan.begin(), plan.end(), [](const PlanStep& step) {
    return Is(step, StepAction::Connect, F::Tuner, F::Capture);
  });
  if (capture != plan.end()) plan.erase(capture + 1, plan.end());
  // The texts name the filters of the first tuner the program was made for,
  // whatever the model.
  Retell(plan, StepAction::AddByName, F::Tuner, F::None,
         Exclaim("CAN'T LOAD ATI DTV Wonder Digital BDA Tuner"));
  Retell(plan, StepAction::Connect, F::NetworkProvider, F::Tuner,
         Exclaim("CAN'T CONNECT NETWORK PROVIDER TO ATI DTV Wonder Digital BDA Tuner"));
  Retell(plan, StepAction::AddByName, F::Capture, F::None,
         Exclaim("CAN'T LOAD ATI DTV Wonder Digital BDA Capture"));
  Retell(plan, StepAction::Connect, F::Tuner, F::Capture,
         Exclaim("CAN'T CONNECT ATI DTV Wonder Digital BDA Tuner to ATI DTV Wonder Digital BDA "
                 "Capture"));
  plan.push_back(
      AddByClass(F::Tee, FilterClass::InfiniteTee, "Tee", Exclaim("CAN'T ADD INFPINTEE")));
  plan.push_back(Connect(F::Capture, F::Tee, Exclaim("CAN'T CONNECT INFPINTEE")));
  plan.push_back(
      AddByClass(F::Dump, FilterClass::TransportStreamDump, "Dump", Exclaim("CAN'T ADD TSDUMP")));
  plan.push_back(Connect(F::Tee, F::Dump, Exclaim("CAN'T CONNECT TSDUMP")));
  plan.push_back(AddByClass(F::Demultiplexer, FilterClass::Mpeg2Demultiplexer, "Demux",
                            Exclaim("CAN'T LOAD MPEG2 DEMULTIPLEXER")));
  plan.push_back(
      Connect(F::Tee, F::Demultiplexer,
              Exclaim("CAN'T CONNECT ATI DTV Wonder Digital BDA Capture to MPEG2 DEMUX")));
  plan.push_back(AddByClass(F::Tif, FilterClass::TransportInformation, "BDA TIF",
                            Exclaim("CAN'T LOAD BDA TIF")));
  plan.push_back(
      Connect(F::Demultiplexer, F::Tif, Exclaim("CAN'T CONNECT MPEG2 DEMUX TO BDATIF")));
  plan.push_back(Do(StepAction::QueryFileSink, Exclaim("CAN'T QI FILESINKFILTER")));
  plan.push_back(Do(StepAction::SetFileName, Exclaim("CAN'T SETFILENAME")));
  plan.push_back(Do(StepAction::QueryMediaControl, Exclaim("CAN'T LOAD MEDIA CONTROL")));
  plan.push_back(Do(StepAction::Run, PlainBox("CANT RUN GRAPH")));
  return plan;
}

TuningModel TransportStreamRecorderDevices(const TuningModel& model) {
  TuningModel devices = model;
  if (!model.hasCaptureFilter) {
    const std::vector<std::string> names{"DTV-DVB UDXTTM6000 - USB 2.0 ATSC Receiver",
                                         "DTV-DVB UDXTTM6000 Capture"};
    devices.hasCaptureFilter = true;
    devices.tunerNames = names;
    devices.captureNames = names;
  }
  return devices;
}
