#pragma once
// A graph build as data: the steps in order, each naming the filters it
// works on, the text it writes to the build log first and the message the
// user gets when it fails. Native tests read the plans; the graph builders
// run them on the platform through GraphPlanPlatform.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/tuning/TuningModel.h"
#include "graph/GraphMessages.h"
#include "graph/GraphOutcome.h"

// The places a plan keeps its filters in.
enum class PlanFilter {
  None,
  NetworkProvider,
  Tuner,
  Capture,
  Demultiplexer,
  Tif,
  VideoDecoder,
  AudioDecoder,
  VideoRenderer,
  SoundRenderer,
  // The recording graphs'.
  Tee,
  Dump,
  BufferSink,
  Analyser,
  // The players'.
  Source,  // the stream-buffer source or the transport-stream push source
};

// The filters a plan creates by class; the platform knows their class ids.
enum class FilterClass {
  NetworkProvider,  // the generic network provider, else the ATSC one
  Mpeg2Demultiplexer,
  TransportInformation,
  AtiVideoDecoder,  // two class ids: the second is tried when the first fails
  AtiAudioDecoder,  // likewise
  FusionVideoDecoder,
  FusionAudioDecoder,
  VideoMixingRenderer,
  DefaultVideoRenderer,
  DirectSoundRenderer,
  InfiniteTee,
  TransportStreamDump,   // the dump filter that writes the stream to a file
  StreamBufferSink,
  VideoStreamAnalyser,
  StreamBufferSource,
  TransportStreamSource,  // the push source that reads a transport-stream file
};

// Which output pins a connection may use.
enum class PinKind { Any, Video, Audio };

enum class StepAction {
  LogOnly,            // only writes its log text
  AddByClass,         // creates `filterClass`, adds it as `filter` named `graphName`
  AddByName,          // adds the device the model accepts for `role` as `filter`
  FindTuningSpace,    // the ATSC tuning space, through the network provider
  Tune,               // tunes the channel the build was asked for
  Connect,            // connects `filter` to `downstream` by their first free pins
  Remove,             // takes `filter` out of the graph and forgets it
  SetUpRenderer,      // puts `filter` in windowless mode in the video window
  QueryMediaControl,  // the graph's media control
  QueryBasicAudio,    // the graph's volume control
  Run,                // runs the graph
  Group,              // runs `steps` as one list (the scope of a fallback)
  // The recording graphs'.
  QueryFileSink,      // the dump filter's file sink
  SetFileName,        // gives the dump filter the recording's name
  QueryBufferSink,    // the stream-buffer sink's own interface
  ConfigureBuffer,    // the stream buffer's folder and registry key
  CreateRecorder,     // a content recorder on the recording's name
  StartRecorder,      // starts it at time 0
  // The players'.
  CheckFile,          // the file could be read for its programs
  QueryBufferSource,  // the stream-buffer source's own interface
  LoadFile,           // the source's file-source interface, and the file loaded into it
  CreateDemuxPins,    // the demultiplexer's video and audio pins, mapped to the first program
  QuerySeeking,       // the source's seeking interface
  SetSyncSource,      // the sound renderer's clock as the graph's clock
  PauseVideoDecoder,  // the video decoder filter itself, held around the run
  RunVideoDecoder,
};

struct PlanStep {
  StepAction action = StepAction::LogOnly;
  std::string log;  // written before the action, with its line feeds; "" writes nothing
  PlanFilter filter = PlanFilter::None;
  PlanFilter downstream = PlanFilter::None;
  PinKind pins = PinKind::Any;  // a connection's output pins
  FilterClass filterClass = FilterClass::NetworkProvider;
  std::string graphName;
  FilterRole role = FilterRole::Tuner;
  // Told the user when the action fails; the build then ends, unless
  // `buildGoesOn`.
  std::optional<GraphMessage> failure;
  bool buildGoesOn = false;
  // When the action fails: run instead of the steps that follow this one in
  // its list, and `failure` is not told.
  std::vector<PlanStep> fallback;
  std::vector<PlanStep> steps;  // a group's steps
};

using GraphPlan = std::vector<PlanStep>;

// What runs a plan on the platform: the build log and the actions.
class GraphPlanPlatform {
 public:
  virtual ~GraphPlanPlatform() = default;
  virtual void Log(std::string_view text) = 0;
  // Does the step's action (never a group's) and reports its result and any
  // messages of its own, such as a connection's "COULDN'T CONNECT FILTERS".
  virtual GraphOutcome Perform(const PlanStep& step) = 0;
};

// Runs the steps in order until one fails without a fallback. The outcome
// holds every message in the order the steps gave them, and the result of
// the failing step (success when the plan ran to its end).
GraphOutcome RunGraphPlan(const GraphPlan& plan, GraphPlanPlatform& platform);
