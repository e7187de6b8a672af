#pragma once
// The moves between live television and the stream buffer, as data. The same
// filter objects go from the live graph into the sink graph (the tuner side,
// which feeds the stream-buffer sink) and the source graph (the playback
// side, which the stream-buffer source feeds), and back. Native tests read
// the plans; the stream-buffer graph runs them on the platform.

#include <optional>
#include <string>
#include <vector>

#include "core/tuning/TuningModel.h"
#include "graph/GraphMessages.h"
#include "graph/GraphOutcome.h"

enum class GraphKind { Live, Sink, Source };

// The filters that move, and those of the stream buffer itself.
enum class BufferFilter {
  NetworkProvider,
  Tuner,
  Capture,
  Demultiplexer,
  Tif,
  VideoDecoder,
  AudioDecoder,
  VideoRenderer,
  SoundRenderer,
  Sink,
  Analyser,
  Source,
};

// Which registry value holds the folder a transition writes to.
enum class BufferFolder { Timeshift, Record };

// The pins a connection is limited to. The decoders are connected only from
// outputs of their own major type, so that intelligent connect never builds a
// chain from another output towards them (the guide's whole-packet output of
// the demultiplexer, or the audio output towards the picture decoder).
enum class PinMedia { Any, Video, Audio };

enum class TransitionAction {
  CheckFolder,        // the folder value is there; nothing has moved yet
  FindDecoders,       // the decoders the graph inserted itself, found by their pins
  StopGraph,          // `graph`
  StopRecorder,       // stops a running content recording at once
  Remove,             // takes `filter` out of `graph` (one it is not in is no harm)
  Add,                // puts `filter` into `graph` as `name`
  Create,             // creates `filter` by its class and adds it to `graph` as `name`
  Connect,            // `filter` to `downstream` in `graph`, output pins of `media` only
  QuerySink,          // the sink's IStreamBufferSink
  Configure,          // the configuration object and the sink get `folder`'s key and folder
  LockProfile,        // the sink's profile, locked with a stub file in `folder`
  QuerySource,        // the source's IStreamBufferSource
  SetStreamSink,      // the source reads the sink (else the stub file)
  QueryMediaControl,  // of `graph`
  QueryBasicAudio,    // of `graph`: volume and mute
  ReconnectTables,    // the live graph's table branch, which the demultiplexer's move disconnected
  Run,                // `graph`
  PauseVideoDecoder,  // the decoder filter itself, for decoders that need it
  RunVideoDecoder,
  CreateRecorder,     // a content recording in `folder` under its name
  QueryRecorder,      // the recording's IStreamBufferRecordControl
  StartRecorder,      // starts it at once
};

struct TransitionStep {
  TransitionAction action = TransitionAction::CheckFolder;
  GraphKind graph = GraphKind::Live;
  BufferFilter filter = BufferFilter::NetworkProvider;
  BufferFilter downstream = BufferFilter::NetworkProvider;
  PinMedia media = PinMedia::Any;
  BufferFolder folder = BufferFolder::Timeshift;
  std::string name;  // the filter's name in the graph
  // Told the user when the action fails; the transition then ends, unless
  // `goesOn` (a result the transition does not depend on).
  std::optional<GraphMessage> failure;
  bool goesOn = false;
  // When the action fails: the transition ends here as a success, quietly.
  bool endsQuietly = false;
};

using TransitionPlan = std::vector<TransitionStep>;

struct TransitionOptions {
  bool hasCapture = true;        // false: the tuner feeds the demultiplexer (model 8)
  bool sinkExists = false;       // an earlier transition created the sink and analyser
  bool pauseVideoDecoder = false;  // the decoder is paused and run on its own
};

// The options of a start for the tuner model (none: treated as one with a
// capture filter), the video decoder of decoders.txt (empty without it) and
// the stream buffer's own filters that earlier starts left. The sink and its
// analyser are used again only as a pair: a start that made the one but not
// the other makes both anew, rather than add a filter that is not there.
TransitionOptions StartOptions(const TuningModel* model, const std::string& videoDecoderName,
                               bool hasSink, bool hasAnalyser);

// Into the stream buffer: timeshift (with a content recording of itself in
// the timeshift folder) or a recording into the record folder.
TransitionPlan StartTimeshiftPlan(const TransitionOptions& options);
TransitionPlan RecordFromLivePlan(const TransitionOptions& options);
// The last steps of the timeshift start: the period's own content recording
// in the timeshift folder; timeshift goes on without it when the recording
// cannot be created.
TransitionPlan TimeshiftRecordingPlan();

// Back to live television. `recovering`: after a transition that failed
// half-way, every moved filter is first taken out of all three graphs,
// wherever it was left.
TransitionPlan ReturnToLivePlan(bool hasCapture, bool recovering = false);

// Whether the picture decoder is paused and run on its own after the graphs
// start: models 1 and 2 with the Zulu decoder of decoders.txt, or with none.
bool PausesVideoDecoder(int model, const std::string& videoDecoderName);

class TransitionPlatform {
 public:
  virtual ~TransitionPlatform() = default;
  // Does the step's action and reports its result and any messages of its
  // own, such as a connection's "COULDN'T CONNECT FILTERS".
  virtual GraphOutcome Perform(const TransitionStep& step) = 0;
};

struct TransitionOutcome {
  GraphOutcome outcome;
  // The transition failed after it had started to change the graphs: live
  // television is no longer what runs.
  bool leftGraphsChanged = false;
};

// Runs the steps in order until one fails without `goesOn`.
TransitionOutcome RunTransition(const TransitionPlan& plan, TransitionPlatform& platform);

// Stream-buffer positions, in 100-nanosecond units.
inline constexpr long long kUnitsPerSecond = 10'000'000;
// Where a skip forward of `amount` seeks: from playback's `position`; when
// that cannot be read, to the buffer's `liveEdge` (its latest position),
// the furthest a skip forward can go, rather than from the start of the
// buffer; nowhere when neither is known.
std::optional<long long> PositionAfterSkip(std::optional<long long> position, long long amount,
                                           std::optional<long long> liveEdge);
// A skip back never goes before the start.
long long PositionAfterSkipBack(long long position, long long amount);
// Where playback goes after the source graph's event `code` with its two
// parameters: past a time hole, to the hole's end (never before the
// buffer's `earliest` position), so that the picture does not stand still
// for the hole's length; nowhere for any other event or a hole of no length.
std::optional<long long> PositionAfterEvent(long code, long long param1, long long param2,
                                            long long earliest);
