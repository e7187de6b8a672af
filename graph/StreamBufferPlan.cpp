#include "graph/StreamBufferPlan.h"

#include <algorithm>

#include "graph/RecordingGraphEvents.h"

#include <utility>

namespace {

using A = TransitionAction;
using F = BufferFilter;
using G = GraphKind;

TransitionStep Step(A action, G graph = G::Live) {
  TransitionStep step;
  step.action = action;
  step.graph = graph;
  return step;
}

TransitionStep Must(TransitionStep step, GraphMessage failure) {
  step.failure = std::move(failure);
  return step;
}

TransitionStep Optional(TransitionStep step) {
  step.goesOn = true;
  return step;
}

TransitionStep OnFilter(A action, G graph, F filter, std::string name = {}) {
  TransitionStep step = Step(action, graph);
  step.filter = filter;
  step.name = std::move(name);
  return step;
}

TransitionStep Connect(G graph, F upstream, F downstream, std::optional<GraphMessage> failure,
                       PinMedia media = PinMedia::Any) {
  TransitionStep step = OnFilter(A::Connect, graph, upstream);
  step.downstream = downstream;
  step.media = media;
  step.failure = std::move(failure);
  return step;
}

TransitionStep InFolder(A action, BufferFolder folder) {
  TransitionStep step = Step(action);
  step.folder = folder;
  return step;
}

// The capture side, with its names in the sink graph and back in the live
// graph.
std::vector<F> CaptureSide(bool hasCapture) {
  if (hasCapture) return {F::NetworkProvider, F::Tuner, F::Capture, F::Demultiplexer, F::Tif};
  return {F::NetworkProvider, F::Tuner, F::Demultiplexer, F::Tif};
}

const char* MovedName(F filter) {
  switch (filter) {
    case F::NetworkProvider: return "ATSC";
    case F::Tuner: return "BDATunerDemod";
    case F::Capture: return "TransportStreamCapture";
    case F::Demultiplexer: return "MPEG2Demux";
    case F::Tif: return "BDATIF";
    case F::VideoDecoder: return "VIDEO DECODER";
    case F::AudioDecoder: return "AUDIO DECODER";
    case F::VideoRenderer: return "VMR";
    case F::SoundRenderer: return "SoundRenderer";
    case F::Sink: return "Sink";
    case F::Analyser: return "VSA";
    case F::Source: return "SOURCE";
  }
  return "";
}

const char* GraphTitle(G graph) {
  switch (graph) {
    case G::Live: return "LIVE";
    case G::Sink: return "SINK";
    case G::Source: return "SOURCE";
  }
  return "";
}

// A moved filter put into `graph` under its name there; the move ends with
// a message when it cannot be.
TransitionStep AddTo(G graph, F filter) {
  TransitionStep step = OnFilter(A::Add, graph, filter, MovedName(filter));
  step.failure = Exclaim(std::string("CAN'T ADD ") + MovedName(filter) + " TO " +
                         GraphTitle(graph) + " GRAPH");
  return step;
}

const std::vector<F> kPlaybackSide{F::VideoDecoder, F::AudioDecoder, F::VideoRenderer,
                                   F::SoundRenderer};

// The tuner chain's connections, the same texts for every model and graph.
void ConnectCaptureSide(TransitionPlan& plan, G graph, bool hasCapture) {
  plan.push_back(Connect(graph, F::NetworkProvider, F::Tuner,
                         Exclaim("CAN'T CONNECT NETWORK PROVIDER TO ATI DTV Wonder Digital BDA Tuner")));
  if (hasCapture) {
    plan.push_back(Connect(
        graph, F::Tuner, F::Capture,
        Exclaim("CAN'T CONNECT ATI DTV Wonder Digital BDA Tuner to ATI DTV Wonder Digital BDA Capture")));
    plan.push_back(Connect(graph, F::Capture, F::Demultiplexer,
                           Exclaim("CAN'T CONNECT ATI DTV Wonder Digital BDA Capture to MPEG2 DEMUX")));
  } else {
    plan.push_back(Connect(graph, F::Tuner, F::Demultiplexer,
                           Exclaim("CAN'T CONNECT ATI DTV Wonder Digital BDA Capture to MPEG2 DEMUX")));
  }
  plan.push_back(Connect(graph, F::Demultiplexer, F::Tif,
                         Exclaim("CAN'T CONNECT MPEG2 DEMUX TO BDATIF")));
}

GraphMessage MissingFolder(BufferFolder folder) {
  return Exclaim(folder == BufferFolder::Timeshift ? "NO TIMESHIFT FOLDER SET: CHOOSE ONE IN SETUP"
                                                   : "NO RECORD FOLDER SET: CHOOSE ONE IN SETUP");
}

void AddRecorderStart(TransitionPlan& plan) {
  plan.push_back(Must(Step(A::QueryRecorder), PlainBox("CANT QI RECORDER")));
  plan.push_back(Must(Step(A::StartRecorder), PlainBox("CANT START")));
}

// Both starts share these steps; `record` picks the differences.
TransitionPlan StartPlan(const TransitionOptions& options, bool record) {
  const BufferFolder folder = record ? BufferFolder::Record : BufferFolder::Timeshift;
  const bool checked = options.sinkExists && !record;
  TransitionPlan plan;
  plan.push_back(Must(InFolder(A::CheckFolder, folder), MissingFolder(folder)));
  plan.push_back(Optional(Step(A::FindDecoders)));

  plan.push_back(Optional(Step(A::StopGraph, G::Live)));
  for (F filter : CaptureSide(options.hasCapture)) {
    plan.push_back(Optional(OnFilter(A::Remove, G::Live, filter)));
  }
  for (F filter : kPlaybackSide) plan.push_back(Optional(OnFilter(A::Remove, G::Live, filter)));

  for (F filter : CaptureSide(options.hasCapture)) plan.push_back(AddTo(G::Sink, filter));
  if (options.sinkExists) {
    plan.push_back(AddTo(G::Sink, F::Sink));
    plan.push_back(AddTo(G::Sink, F::Analyser));
  }
  for (F filter : {F::AudioDecoder, F::VideoDecoder, F::SoundRenderer, F::VideoRenderer}) {
    plan.push_back(AddTo(G::Source, filter));
  }

  ConnectCaptureSide(plan, G::Sink, options.hasCapture);
  if (!options.sinkExists) {
    plan.push_back(Must(OnFilter(A::Create, G::Sink, F::Sink, "SINK"), PlainBox("NO SINK")));
    plan.push_back(Must(OnFilter(A::Create, G::Sink, F::Analyser, "VSA"), PlainBox("NO SINK")));
  }
  const GraphMessage firstSink = PlainBox("CANT CONNECT FIRST SINK");
  plan.push_back(Connect(G::Sink, F::Demultiplexer, F::Analyser, firstSink, PinMedia::Video));
  plan.push_back(Connect(G::Sink, F::Demultiplexer, F::Sink, firstSink, PinMedia::Audio));
  plan.push_back(Connect(G::Sink, F::Analyser, F::Sink, firstSink));

  plan.push_back(checked ? Must(Step(A::QuerySink), PlainBox("CANT QI SBSINK"))
                         : Optional(Step(A::QuerySink)));
  plan.push_back(Must(InFolder(A::Configure, folder), PlainBox("CANT CONFIGURE STREAM BUFFER")));
  // Without a locked profile the source has nothing to read: every start
  // that gets here ends at a failed lock, with its own text.
  plan.push_back(Must(InFolder(A::LockProfile, folder), PlainBox("CANT LOCKPROFILE")));

  // The earlier source goes in both starts: one left behind, unconnected,
  // can keep the source graph from running.
  plan.push_back(Optional(OnFilter(A::Remove, G::Source, F::Source)));
  plan.push_back(Must(OnFilter(A::Create, G::Source, F::Source, "SOURCE"),
                      Exclaim("CAN'T ADD SOURCE FILTER")));
  plan.push_back(Must(Step(A::QuerySource), Exclaim("CAN'T QI SBSOURCE")));
  plan.push_back(Must(InFolder(A::SetStreamSink, folder), Exclaim("CAN'T SETSTREAMSINK")));

  plan.push_back(Connect(G::Source, F::Source, F::AudioDecoder,
                         Exclaim("CAN'T CONNECT SOURCE TO AUDIO DECODER"), PinMedia::Audio));
  plan.push_back(Connect(G::Source, F::Source, F::VideoDecoder,
                         Exclaim("CAN'T CONNECT SOURCE TO VIDEO DECODER"), PinMedia::Video));
  plan.push_back(Connect(G::Source, F::VideoDecoder, F::VideoRenderer,
                         Exclaim("CAN'T CONNECT VIDEO TO VMR7")));
  plan.push_back(Connect(G::Source, F::AudioDecoder, F::SoundRenderer,
                         Exclaim("CAN'T CONNECT AUDIO DECODER TO SOUND RENDERER")));

  const GraphMessage noControl = Exclaim("CAN'T LOAD MEDIA CONTROL");
  plan.push_back(Must(Step(A::QueryMediaControl, G::Sink), noControl));
  plan.push_back(Must(Step(A::QueryMediaControl, G::Source), noControl));
  plan.push_back(Optional(Step(A::QueryBasicAudio, G::Source)));

  const GraphMessage notRunning = Exclaim("CAN'T RUN FILTER GRAPH");
  plan.push_back(Must(Step(A::Run, G::Sink), notRunning));
  if (options.pauseVideoDecoder) plan.push_back(Optional(Step(A::PauseVideoDecoder)));
  plan.push_back(Must(Step(A::Run, G::Source), notRunning));
  if (options.pauseVideoDecoder) plan.push_back(Optional(Step(A::RunVideoDecoder)));

  // The timeshift period keeps a content recording of itself; without it
  // timeshift still works. A recording from live is the point of the move.
  if (record) {
    plan.push_back(Must(InFolder(A::CreateRecorder, folder), PlainBox("CANT CREATE RECORDER")));
    AddRecorderStart(plan);
  } else {
    for (TransitionStep& step : TimeshiftRecordingPlan()) plan.push_back(std::move(step));
  }
  return plan;
}

}  // namespace

TransitionPlan StartTimeshiftPlan(const TransitionOptions& options) {
  return StartPlan(options, false);
}

TransitionPlan RecordFromLivePlan(const TransitionOptions& options) {
  return StartPlan(options, true);
}

TransitionPlan TimeshiftRecordingPlan() {
  TransitionPlan plan;
  TransitionStep create = InFolder(A::CreateRecorder, BufferFolder::Timeshift);
  create.endsQuietly = true;
  plan.push_back(std::move(create));
  AddRecorderStart(plan);
  return plan;
}

TransitionPlan ReturnToLivePlan(bool hasCapture, bool recovering) {
  TransitionPlan plan;
  plan.push_back(Optional(Step(A::StopRecorder)));
  plan.push_back(Optional(Step(A::StopGraph, G::Sink)));
  plan.push_back(Optional(Step(A::StopGraph, G::Source)));
  if (recovering) plan.push_back(Optional(Step(A::StopGraph, G::Live)));

  std::vector<F> sinkSide = CaptureSide(hasCapture);
  sinkSide.push_back(F::Sink);
  sinkSide.push_back(F::Analyser);
  for (F filter : sinkSide) {
    plan.push_back(Optional(OnFilter(A::Remove, G::Sink, filter)));
    if (recovering) plan.push_back(Optional(OnFilter(A::Remove, G::Live, filter)));
  }
  for (F filter : kPlaybackSide) {
    plan.push_back(Optional(OnFilter(A::Remove, G::Source, filter)));
    if (recovering) plan.push_back(Optional(OnFilter(A::Remove, G::Live, filter)));
  }

  for (F filter : CaptureSide(hasCapture)) plan.push_back(AddTo(G::Live, filter));
  for (F filter : {F::AudioDecoder, F::VideoDecoder, F::VideoRenderer, F::SoundRenderer}) {
    plan.push_back(AddTo(G::Live, filter));
  }

  ConnectCaptureSide(plan, G::Live, hasCapture);
  plan.push_back(Connect(G::Live, F::Demultiplexer, F::VideoDecoder,
                         Exclaim("CAN'T CONNECT DEMUX TO VIDEO DECODER"), PinMedia::Video));
  plan.push_back(Connect(G::Live, F::Demultiplexer, F::AudioDecoder,
                         Exclaim("CAN'T CONNECT DEMUX TO AUDIO DECODER"), PinMedia::Audio));
  plan.push_back(Connect(G::Live, F::VideoDecoder, F::VideoRenderer,
                         Exclaim("CAN'T CONNECT VIDEO TO VMR7")));
  plan.push_back(Connect(G::Live, F::AudioDecoder, F::SoundRenderer,
                         Exclaim("CAN'T CONNECT AUDIO DECODER TO SOUND RENDERER")));
  plan.push_back(Optional(Step(A::QueryBasicAudio, G::Live)));
  // The guide is collected again; live television runs without it when the
  // branch cannot be connected.
  plan.push_back(Optional(Step(A::ReconnectTables, G::Live)));
  plan.push_back(Must(Step(A::Run, G::Live), Exclaim("CAN'T RUN FILTER GRAPH")));
  return plan;
}

TransitionOptions StartOptions(const TuningModel* model, const std::string& videoDecoderName,
                               bool hasSink, bool hasAnalyser) {
  TransitionOptions options;
  options.hasCapture = model == nullptr || model->hasCaptureFilter;
  options.sinkExists = hasSink && hasAnalyser;
  options.pauseVideoDecoder = PausesVideoDecoder(model ? model->number : -1, videoDecoderName);
  return options;
}

bool PausesVideoDecoder(int model, const std::string& videoDecoderName) {
  return (model == 1 || model == 2) &&
         (videoDecoderName.empty() || videoDecoderName == "Zulu HDTV DxVA Decoder(BDA)");
}

TransitionOutcome RunTransition(const TransitionPlan& plan, TransitionPlatform& platform) {
  TransitionOutcome result;
  bool changing = false;
  for (const TransitionStep& step : plan) {
    if (step.action != A::CheckFolder && step.action != A::FindDecoders) changing = true;
    const GraphOutcome done = platform.Perform(step);
    result.outcome.Append(done);
    if (done.Succeeded() || step.goesOn) continue;
    if (step.endsQuietly) break;
    if (step.failure) result.outcome.messages.push_back(*step.failure);
    result.outcome.result = done.result;
    result.leftGraphsChanged = changing;
    break;
  }
  return result;
}

std::optional<long long> PositionAfterSkip(std::optional<long long> position, long long amount,
                                           std::optional<long long> liveEdge) {
  if (position) return *position + amount;
  return liveEdge;
}

long long PositionAfterSkipBack(long long position, long long amount) {
  const long long back = position - amount;
  return back < 0 ? 0 : back;
}

std::optional<long long> PositionAfterEvent(long code, long long param1, long long param2,
                                            long long earliest) {
  if (code != graph_events::kStreamBufferTimeHole || param2 <= 0) return std::nullopt;
  constexpr long long kUnitsPerMillisecond = kUnitsPerSecond / 1000;
  const long long end = (param1 < 0 ? 0 : param1) + param2;
  return std::max(end * kUnitsPerMillisecond, earliest);
}
