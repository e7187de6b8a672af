// Builds the players' graph by running the playback plan on the platform.
#include <memory>

#include "dshow/StreamBufferInterfaces.h"
#include "graph/PlanExecutor.h"
#include "graph/PlaybackGraph.h"
#include "win/AnsiText.h"
#include "win/HResultMacros.h"
#include "win/InterfaceIds.h"

using Microsoft::WRL::ComPtr;

namespace {

class PlaybackGraphBuilder : private PlanExecutor {
 public:
  PlaybackGraphBuilder(PlaybackGraph& graph, const PlaybackRequest& request)
      : g(graph), request(request) {}

  GraphOutcome Build() {
    const HRESULT created = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER,
                                             IID_PPV_ARGS(g.graph.ReleaseAndGetAddressOf()));
    if (FAILED(created)) return GraphOutcome::Failure(created, Exclaim("CAN'T INITIALIZE FILTER GRAPH"));
    // std::addressof, not &: the & of a ComPtr empties it.
    const PlanFilterSlot slots[] = {
        {PlanFilter::Source, std::addressof(g.source)},
        {PlanFilter::Demultiplexer, std::addressof(g.demux)},
        {PlanFilter::VideoDecoder, std::addressof(g.videoDecoder)},
        {PlanFilter::AudioDecoder, std::addressof(g.audioDecoder)},
        {PlanFilter::VideoRenderer, std::addressof(g.videoRenderer)},
        {PlanFilter::SoundRenderer, std::addressof(g.soundRenderer)},
    };
    const TuningModel anyDevice{};  // decoders are found by the names of decoders.txt alone
    PlanGraph target;
    target.graph = g.graph.Get();
    target.slots = slots;
    target.control = std::addressof(g.control);
    target.model = &anyDevice;
    target.decoders = request.decoders.value_or(DecoderNames{});
    g.holdDecoder = HoldsVideoDecoder(request.modelNumber, request.decoders);
    return RunPlan(PlaybackGraphPlan(request.source, request.modelNumber, request.decoders), target);
  }

 private:
  // GraphPlanPlatform: the players keep no build log.
  void Log(std::string_view) override {}

  GraphOutcome PerformOwn(const PlanStep& step) override {
    // The set-up tells its own failures ("FAILED TO SET WINDOWLESSMODE", ...)
    // before the step's.
    if (step.action == StepAction::SetUpRenderer) {
      return g.renderer.SetUp(g.videoRenderer.Get(), request.videoWindow, request.primaryDisplay,
                              nullptr);
    }
    return GraphOutcome::Result(PerformPlayerStep(step));
  }

  HRESULT PerformPlayerStep(const PlanStep& step) {
    switch (step.action) {
      case StepAction::Remove:
        if (g.videoRenderer) g.graph->RemoveFilter(g.videoRenderer.Get());  // replaced next
        g.videoRenderer.Reset();
        g.renderer.Reset();
        return S_OK;
      case StepAction::QueryBasicAudio:
        return g.graph.As(&g.audio);
      case StepAction::CheckFile:
        return request.fileReadable ? S_OK : E_FAIL;
      case StepAction::QueryBufferSource: {
        ComPtr<IStreamBufferSource> bufferSource;
        return g.source.As(&bufferSource);
      }
      case StepAction::LoadFile:
        RETURN_IF_FAILED(g.source.As(&g.fileSource));
        // A file the source cannot open is told by the source, or named by
        // the connections that follow.
        g.fileSource->Load(Widen(request.file).c_str(), nullptr);
        return S_OK;
      case StepAction::CreateDemuxPins:
        return CreateProgramPins(g, request.videoPid, request.audioPid, request.audioCoding);
      case StepAction::QuerySeeking:
        if (request.source == PlaybackSource::TransportStream) return g.source.As(&g.seeking);
        return QueryBufferSeeking();
      case StepAction::SetSyncSource: {
        ComPtr<IReferenceClock> clock;
        ComPtr<IMediaFilter> graphFilter;
        RETURN_IF_FAILED(g.soundRenderer.As(&clock));
        RETURN_IF_FAILED(g.graph.As(&graphFilter));
        return graphFilter->SetSyncSource(clock.Get());
      }
      case StepAction::PauseVideoDecoder:
        return g.videoDecoder ? decoderHold.Hold(g.videoDecoder.Get()) : E_UNEXPECTED;
      case StepAction::RunVideoDecoder:
        return g.videoDecoder ? decoderHold.Release(g.videoDecoder.Get()) : E_UNEXPECTED;
      default:
        return E_UNEXPECTED;  // the shared steps, and the other graphs'
    }
  }

  HRESULT QueryBufferSeeking() {
    ComPtr<IStreamBufferMediaSeeking> bufferSeeking;
    RETURN_IF_FAILED(g.source.As(&bufferSeeking));
    g.seeking = bufferSeeking;
    return S_OK;
  }

  PlaybackGraph& g;
  const PlaybackRequest& request;
};

}  // namespace

GraphOutcome BuildPlaybackGraph(PlaybackGraph& graph, const PlaybackRequest& request) {
  TearDownPlayback(graph);
  PlaybackGraphBuilder builder(graph, request);
  GraphOutcome outcome = builder.Build();
  if (outcome.Failed()) TearDownPlayback(graph);
  return outcome;
}
