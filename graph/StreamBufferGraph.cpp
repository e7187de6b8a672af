#include "graph/StreamBufferGraph.h"

#include <memory>

#include "core/protocol/RecordingNames.h"
#include "dshow/MediaType.h"
#include "graph/GraphToolkit.h"
#include "graph/StreamBufferKey.h"
#include "graph/StreamBufferNamespace.h"
#include "win/AnsiText.h"
#include "win/HResultMacros.h"
#include "win/InterfaceIds.h"
#include "win/RegistryFolder.h"
#include "win/UniqueHandle.h"

using Microsoft::WRL::ComPtr;

namespace {

const char* ValueName(BufferFolder folder) {
  return folder == BufferFolder::Timeshift ? "Timeshift" : "Record";
}

const GUID* MajorType(PinMedia media) {
  switch (media) {
    case PinMedia::Video: return &MEDIATYPE_Video;
    case PinMedia::Audio: return &MEDIATYPE_Audio;
    case PinMedia::Any: break;
  }
  return nullptr;
}

// The filter on the other side of a connected pin, and the major type the
// pins agreed on.
bool Downstream(IPin* output, ComPtr<IBaseFilter>* filter, GUID* major) {
  ComPtr<IPin> peer;
  if (FAILED(output->ConnectedTo(&peer))) return false;
  AM_MEDIA_TYPE type{};
  if (FAILED(output->ConnectionMediaType(&type))) return false;
  *major = type.majortype;
  dshow::FreeMediaTypeContents(type);
  PIN_INFO info{};
  if (FAILED(peer->QueryPinInfo(&info)) || info.pFilter == nullptr) return false;
  filter->Attach(info.pFilter);  // QueryPinInfo handed out this reference
  return true;
}

}  // namespace

GraphOutcome StreamBufferGraph::StartTimeshift(const StreamBufferRequest& wanted) {
  return Start(wanted, false);
}

GraphOutcome StreamBufferGraph::RecordFromLive(const StreamBufferRequest& wanted) {
  return Start(wanted, true);
}

GraphOutcome StreamBufferGraph::Start(const StreamBufferRequest& wanted, bool recording) {
  request = wanted;
  record = recording;
  const TransitionOptions options =
      StartOptions(request.model, request.videoDecoderName, live.filters.bufferSink != nullptr,
                   live.filters.analyser != nullptr);
  TransitionOutcome done =
      RunTransition(record ? RecordFromLivePlan(options) : StartTimeshiftPlan(options), *this);
  backAtLive = !done.leftGraphsChanged;
  if (!done.leftGraphsChanged) return done.outcome;
  // Half-way: the filters are spread over the graphs. Live television again.
  const TransitionOutcome back =
      RunTransition(ReturnToLivePlan(options.hasCapture, true), *this);
  backAtLive = back.outcome.Succeeded();
  done.outcome.Append(back.outcome);
  return done.outcome;
}

GraphOutcome StreamBufferGraph::ReturnToLive() {
  const bool hasCapture = request.model == nullptr || request.model->hasCaptureFilter;
  return RunTransition(ReturnToLivePlan(hasCapture), *this).outcome;
}

GraphOutcome StreamBufferGraph::StartTimeshiftRecording(const StreamBufferRequest& wanted) {
  const TuningModel* model = request.model;
  request = wanted;
  request.model = model;
  return RunTransition(TimeshiftRecordingPlan(), *this).outcome;
}

GraphOutcome StreamBufferGraph::Perform(const TransitionStep& step) {
  using A = TransitionAction;
  switch (step.action) {
    case A::CheckFolder: return GraphOutcome::Result(CheckFolder(step.folder));
    case A::FindDecoders: return GraphOutcome::Result(FindDecoders());
    case A::StopGraph:
      if (step.graph == GraphKind::Live && live.control) {
        return GraphOutcome::Result(live.control->Stop());
      }
      if (step.graph == GraphKind::Sink) StopSinkGraph();
      if (step.graph == GraphKind::Source) StopSourceGraph();
      return GraphOutcome::Result(S_OK);
    case A::StopRecorder: StopRecorder(); return GraphOutcome::Result(S_OK);
    case A::Remove: {
      IBaseFilter* filter = Get(step.filter);
      if (filter == nullptr) return GraphOutcome::Result(S_FALSE);
      return GraphOutcome::Result(Graph(step.graph)->RemoveFilter(filter));
    }
    case A::Add: return GraphOutcome::Result(Add(step));
    case A::Create: return GraphOutcome::Result(Create(step));
    case A::Connect: return Connect(step);
    case A::QuerySink:
      if (!live.filters.bufferSink) return GraphOutcome::Result(E_POINTER);
      return GraphOutcome::Result(live.filters.bufferSink.As(&sink));
    case A::Configure: return GraphOutcome::Result(Configure(step.folder));
    case A::LockProfile: return GraphOutcome::Result(LockProfile());
    case A::QuerySource:
      if (!live.filters.bufferSource) return GraphOutcome::Result(E_POINTER);
      return GraphOutcome::Result(live.filters.bufferSource.As(&source));
    case A::SetStreamSink: return GraphOutcome::Result(SetStreamSink());
    case A::QueryMediaControl: return GraphOutcome::Result(QueryMediaControl(step.graph));
    case A::QueryBasicAudio: {
      // Volume and mute act on whichever graph plays the sound.
      ComPtr<IBasicAudio> audio;
      const HRESULT hr = Graph(step.graph)->QueryInterface(IID_PPV_ARGS(&audio));
      if (SUCCEEDED(hr)) live.basicAudio = audio;
      return GraphOutcome::Result(hr);
    }
    case A::ReconnectTables:
      return GraphOutcome::Result(live.tables.IsPresent() ? live.tables.Reconnect(live.graphs.live.Get())
                                                          : S_FALSE);
    case A::Run: {
      IMediaControl* control = step.graph == GraphKind::Live   ? live.control.Get()
                               : step.graph == GraphKind::Sink ? sinkControl.Get()
                                                               : sourceControl.Get();
      return GraphOutcome::Result(decoderHold.RunGraph(control));
    }
    case A::PauseVideoDecoder:
      return GraphOutcome::Result(
          live.filters.videoDecoder ? decoderHold.Hold(live.filters.videoDecoder.Get()) : S_FALSE);
    case A::RunVideoDecoder:
      return GraphOutcome::Result(
          live.filters.videoDecoder ? decoderHold.Release(live.filters.videoDecoder.Get()) : S_FALSE);
    case A::CreateRecorder: return GraphOutcome::Result(CreateRecorder(step.folder));
    case A::QueryRecorder:
      return GraphOutcome::Result(recorderObject ? recorderObject.As(&recorder) : E_POINTER);
    case A::StartRecorder: return GraphOutcome::Result(StartRecorder());
  }
  return GraphOutcome::Result(E_UNEXPECTED);
}

IGraphBuilder* StreamBufferGraph::Graph(GraphKind kind) const {
  switch (kind) {
    case GraphKind::Live: return live.graphs.live.Get();
    case GraphKind::Sink: return live.graphs.sink.Get();
    case GraphKind::Source: return live.graphs.source.Get();
  }
  return nullptr;
}

// std::addressof, not &: the & of a ComPtr empties it.
ComPtr<IBaseFilter>* StreamBufferGraph::Slot(BufferFilter filter) {
  GraphFilters& f = live.filters;
  switch (filter) {
    case BufferFilter::NetworkProvider: return std::addressof(f.networkProvider);
    case BufferFilter::Tuner: return std::addressof(f.tuner);
    case BufferFilter::Capture: return std::addressof(f.capture);
    case BufferFilter::Demultiplexer: return std::addressof(f.demux);
    case BufferFilter::Tif: return std::addressof(f.tif);
    case BufferFilter::VideoDecoder: return std::addressof(f.videoDecoder);
    case BufferFilter::AudioDecoder: return std::addressof(f.audioDecoder);
    case BufferFilter::VideoRenderer: return std::addressof(f.videoRenderer);
    case BufferFilter::SoundRenderer: return std::addressof(f.soundRenderer);
    case BufferFilter::Sink: return std::addressof(f.bufferSink);
    case BufferFilter::Analyser: return std::addressof(f.analyser);
    case BufferFilter::Source: return std::addressof(f.bufferSource);
  }
  return nullptr;
}

IBaseFilter* StreamBufferGraph::Get(BufferFilter filter) {
  ComPtr<IBaseFilter>* slot = Slot(filter);
  return slot != nullptr ? slot->Get() : nullptr;
}

const std::string& StreamBufferGraph::KeyOf(BufferFolder which) const {
  return which == BufferFolder::Timeshift ? request.timeshiftKey : request.recordKey;
}

// Without its folder value the names would have no folder at all: the move
// is refused before anything stops.
HRESULT StreamBufferGraph::CheckFolder(BufferFolder which) {
  const std::optional<std::string> value = ReadFolderValue(KeyOf(which), ValueName(which));
  if (!value) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  folder = *value;
  return S_OK;
}

// Without decoders.txt most models let the graph insert the decoders between
// the demultiplexer and the renderers; they are the filters on the far side
// of the demultiplexer's video and audio pins. A renderer found there takes
// the stream as it is: no decoder to move.
HRESULT StreamBufferGraph::FindDecoders() {
  GraphFilters& f = live.filters;
  if ((f.videoDecoder && f.audioDecoder) || !f.demux) return S_OK;
  ComPtr<IEnumPins> pins;
  RETURN_IF_FAILED(f.demux->EnumPins(&pins));
  ComPtr<IPin> pin;
  while (pins->Next(1, &pin, nullptr) == S_OK) {
    ComPtr<IBaseFilter> peer;
    GUID major{};
    PIN_DIRECTION direction{};
    if (SUCCEEDED(pin->QueryDirection(&direction)) && direction == PINDIR_OUTPUT &&
        Downstream(pin.Get(), &peer, &major)) {
      if (major == MEDIATYPE_Video && !f.videoDecoder && peer != f.videoRenderer) {
        f.videoDecoder = peer;
      } else if (major == MEDIATYPE_Audio && !f.audioDecoder && peer != f.soundRenderer) {
        f.audioDecoder = peer;
      }
    }
    pin.Reset();
  }
  return S_OK;
}

HRESULT StreamBufferGraph::Add(const TransitionStep& step) {
  IBaseFilter* filter = Get(step.filter);
  if (filter == nullptr) {
    // A decoder the renderer did without; anything else is missing.
    const bool decoder = step.filter == BufferFilter::VideoDecoder ||
                         step.filter == BufferFilter::AudioDecoder;
    return decoder ? S_FALSE : E_POINTER;
  }
  const std::wstring name = Widen(step.name);
  return Graph(step.graph)->AddFilter(filter, name.c_str());
}

HRESULT StreamBufferGraph::Create(const TransitionStep& step) {
  const GUID* clsid = step.filter == BufferFilter::Sink       ? &CLSID_StreamBufferSink
                      : step.filter == BufferFilter::Analyser ? &CLSID_Mpeg2VideoStreamAnalyzer
                                                              : &CLSID_StreamBufferSource;
  const std::wstring name = Widen(step.name);
  return AddFilterByClsid(Graph(step.graph), *clsid, name.c_str(),
                          Slot(step.filter)->ReleaseAndGetAddressOf());
}

// A decoder that is not there is stood in for by its renderer (which took
// the stream straight), and its own connection to the renderer is left out.
GraphOutcome StreamBufferGraph::Connect(const TransitionStep& step) {
  BufferFilter upstream = step.filter;
  BufferFilter downstream = step.downstream;
  if (Get(upstream) == nullptr) {
    if (upstream == BufferFilter::VideoDecoder || upstream == BufferFilter::AudioDecoder) {
      return GraphOutcome::Result(S_FALSE);
    }
  }
  if (Get(downstream) == nullptr) {
    if (downstream == BufferFilter::VideoDecoder) downstream = BufferFilter::VideoRenderer;
    if (downstream == BufferFilter::AudioDecoder) downstream = BufferFilter::SoundRenderer;
  }
  return ConnectFilters(Graph(step.graph), Get(upstream), Get(downstream), MajorType(step.media));
}

// The folder goes into the engine's key on every start. The sink reads its
// key once: the platform refuses a second SetHKEY once the sink's profile
// was locked, so a sink that is used again keeps the key it was given.
HRESULT StreamBufferGraph::Configure(BufferFolder which) {
  RETURN_IF_FAILED(CoCreateInstance(CLSID_StreamBufferConfig, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_PPV_ARGS(configure.ReleaseAndGetAddressOf())));
  UniqueHkey key;
  RETURN_IF_FAILED(OpenStreamBufferKey(KeyOf(which), key));
  RETURN_IF_FAILED(HandStreamBufferKey(configure.Get(), key.Get()));
  RETURN_IF_FAILED(UseSessionNamespace(configure.Get()));
  const std::wstring directory = Widen(folder);
  RETURN_IF_FAILED(configure->SetDirectory(directory.c_str()));
  RETURN_HR_IF_NULL(E_POINTER, live.filters.bufferSink.Get());
  if (keyedSink == live.filters.bufferSink) return S_OK;
  RETURN_IF_FAILED(HandStreamBufferKey(live.filters.bufferSink.Get(), key.Get()));
  keyedSink = live.filters.bufferSink;
  return S_OK;
}

HRESULT StreamBufferGraph::LockProfile() {
  RETURN_HR_IF_NULL(E_POINTER, sink.Get());
  stubName = StubFileName(folder, request.now);
  const std::wstring stub = Widen(stubName);
  return sink->LockProfile(stub.c_str());
}

// The source reads the sink directly, or else the profile's stub file.
HRESULT StreamBufferGraph::SetStreamSink() {
  RETURN_HR_IF_NULL(E_POINTER, source.Get());
  if (sink && SUCCEEDED(source->SetStreamSink(sink.Get()))) return S_OK;
  ComPtr<IFileSourceFilter> file;
  RETURN_IF_FAILED(source.As(&file));
  const std::wstring stub = Widen(stubName);
  return file->Load(stub.c_str(), nullptr);
}

HRESULT StreamBufferGraph::QueryMediaControl(GraphKind graph) {
  ComPtr<IMediaControl>& control = graph == GraphKind::Sink ? sinkControl : sourceControl;
  return Graph(graph)->QueryInterface(IID_PPV_ARGS(control.ReleaseAndGetAddressOf()));
}

HRESULT StreamBufferGraph::CreateRecorder(BufferFolder which) {
  RETURN_HR_IF_NULL(E_POINTER, sink.Get());
  std::string name;
  if (which == BufferFolder::Timeshift) {
    // The timeshift folder is read again when the recording is named.
    RETURN_IF_FAILED(CheckFolder(which));
    name = ::TimeshiftRecordingName(folder, request.now);
  } else {
    name = LiveRecordingName(folder, request.major, request.minor, request.now);
  }
  const std::wstring wide = Widen(name);
  recorder.Reset();
  RETURN_IF_FAILED(sink->CreateRecorder(wide.c_str(), kRecordingTypeContent,
                                        recorderObject.ReleaseAndGetAddressOf()));
  (which == BufferFolder::Timeshift ? timeshiftRecordingName : recordingName) = name;
  return S_OK;
}

HRESULT StreamBufferGraph::StartRecorder() {
  RETURN_HR_IF_NULL(E_POINTER, recorder.Get());
  REFERENCE_TIME start = 0;
  return recorder->Start(&start);
}

bool StreamBufferGraph::RecordingHasBegun() {
  if (!recorder) return false;
  HRESULT result = S_OK;
  BOOL started = FALSE, stopped = FALSE;
  return SUCCEEDED(recorder->GetRecordingStatus(&result, &started, &stopped)) && started && !stopped;
}

void StreamBufferGraph::StopRecorder() {
  if (recorder) recorder->Stop(0);  // a recorder that never started has nothing to stop
  recorder.Reset();
  recorderObject.Reset();
}

void StreamBufferGraph::StopSinkGraph() {
  if (sinkControl) sinkControl->Stop();  // stopping a stopped graph is no failure
}

void StreamBufferGraph::StopSourceGraph() {
  if (sourceControl) sourceControl->Stop();  // likewise
}

HRESULT StreamBufferGraph::Seeking(ComPtr<IStreamBufferMediaSeeking>* seeking) {
  RETURN_HR_IF_NULL(E_POINTER, live.filters.bufferSource.Get());
  return live.filters.bufferSource.As(seeking);
}

HRESULT StreamBufferGraph::Position(long long* position) {
  RETURN_HR_IF_NULL(E_POINTER, position);
  *position = 0;
  ComPtr<IStreamBufferMediaSeeking> seeking;
  RETURN_IF_FAILED(Seeking(&seeking));
  LONGLONG current = 0;
  RETURN_IF_FAILED(seeking->GetCurrentPosition(&current));
  *position = current;
  return S_OK;
}

// The latest position the buffer holds: live.
HRESULT StreamBufferGraph::LiveEdge(long long* latest) {
  RETURN_HR_IF_NULL(E_POINTER, latest);
  *latest = 0;
  ComPtr<IStreamBufferMediaSeeking> seeking;
  RETURN_IF_FAILED(Seeking(&seeking));
  LONGLONG earliest = 0;
  LONGLONG last = 0;
  RETURN_IF_FAILED(seeking->GetAvailable(&earliest, &last));
  *latest = last;
  return S_OK;
}

HRESULT StreamBufferGraph::SeekTo(long long position) {
  ComPtr<IStreamBufferMediaSeeking> seeking;
  RETURN_IF_FAILED(Seeking(&seeking));
  LONGLONG target = position;
  return seeking->SetPositions(&target, AM_SEEKING_AbsolutePositioning, nullptr,
                               AM_SEEKING_NoPositioning);
}

HRESULT StreamBufferGraph::PausePlayback() {
  RETURN_HR_IF_NULL(E_POINTER, sourceControl.Get());
  return sourceControl->Pause();
}

HRESULT StreamBufferGraph::ResumePlayback() {
  RETURN_HR_IF_NULL(E_POINTER, sourceControl.Get());
  return sourceControl->Run();
}

HRESULT StreamBufferGraph::NotifySourceEvents(HWND window, UINT message) {
  if (window == nullptr) {
    if (sourceEvents) sourceEvents->SetNotifyWindow(0, 0, 0);  // nothing more to a window going away
    sourceEvents.Reset();
    return S_OK;
  }
  IGraphBuilder* graph = Graph(GraphKind::Source);
  RETURN_HR_IF_NULL(E_POINTER, graph);
  // By its IID: mingw-w64 gives IMediaEventEx no __uuidof.
  RETURN_IF_FAILED(graph->QueryInterface(IID_IMediaEventEx,
                                         reinterpret_cast<void**>(sourceEvents.ReleaseAndGetAddressOf())));
  return sourceEvents->SetNotifyWindow(reinterpret_cast<OAHWND>(window), message, 0);
}

// The source reached a stretch of the buffer whose files were deleted while
// playback was paused; without a seek the picture would stand still for the
// hole's length.
long long StreamBufferGraph::PassTimeHoles() {
  if (!sourceEvents) return 0;
  std::optional<long long> target;
  long long skipped = 0;
  long code = 0;
  LONG_PTR first = 0;
  LONG_PTR second = 0;
  while (sourceEvents->GetEvent(&code, &first, &second, 0) == S_OK) {
    LONGLONG earliest = 0;
    LONGLONG latest = 0;
    ComPtr<IStreamBufferMediaSeeking> seeking;
    if (SUCCEEDED(Seeking(&seeking))) seeking->GetAvailable(&earliest, &latest);  // 0 when it cannot tell
    if (const auto past = PositionAfterEvent(code, first, second, earliest)) {
      target = past;
      skipped = second;
    }
    sourceEvents->FreeEventParams(code, first, second);
  }
  if (!target || FAILED(SeekTo(*target))) return 0;
  return skipped;
}

void StreamBufferGraph::Reset() {
  StopRecorder();
  NotifySourceEvents(nullptr, 0);
  configure.Reset();
  keyedSink.Reset();
  sink.Reset();
  source.Reset();
  sinkControl.Reset();
  sourceControl.Reset();
}
