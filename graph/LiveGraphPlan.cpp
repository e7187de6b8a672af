#include "graph/LiveGraphPlan.h"

#include <string_view>
#include <utility>

#include "graph/GraphBuildLog.h"

namespace {

using F = PlanFilter;

// A progress text as the build log gets it, with its line feeds; no text
// writes nothing.
std::string Announce(std::string_view text) {
  return text.empty() ? std::string() : GraphBuildLog::Entry(text);
}

PlanStep LogOnly(std::string_view text) {
  PlanStep step;
  step.log = Announce(text);
  return step;
}

PlanStep Do(StepAction action, GraphMessage failure) {
  PlanStep step;
  step.action = action;
  step.failure = std::move(failure);
  return step;
}

PlanStep AddByClass(std::string_view log, PlanFilter filter, FilterClass filterClass,
                    std::string_view graphName, std::optional<GraphMessage> failure) {
  PlanStep step;
  step.action = StepAction::AddByClass;
  step.log = Announce(log);
  step.filter = filter;
  step.filterClass = filterClass;
  step.graphName = graphName;
  step.failure = std::move(failure);
  return step;
}

PlanStep AddByName(std::string_view log, PlanFilter filter, FilterRole role,
                   GraphMessage failure) {
  PlanStep step;
  step.action = StepAction::AddByName;
  step.log = Announce(log);
  step.filter = filter;
  step.role = role;
  step.failure = std::move(failure);
  return step;
}

PlanStep Connect(std::string_view log, PlanFilter upstream, PlanFilter downstream,
                 std::optional<GraphMessage> failure) {
  PlanStep step;
  step.action = StepAction::Connect;
  step.log = Announce(log);
  step.filter = upstream;
  step.downstream = downstream;
  step.failure = std::move(failure);
  return step;
}

PlanStep SetUpRenderer() {
  PlanStep step = Do(StepAction::SetUpRenderer, Exclaim("CAN'T INIT VMR7"));
  step.filter = F::VideoRenderer;
  return step;
}

// The default video renderer in place of the VMR, under `graphName`, and
// the decoder connected to it when `connectDecoder`.
std::vector<PlanStep> DefaultRenderer(std::string_view graphName, bool connectDecoder) {
  std::vector<PlanStep> steps{
      AddByClass("", F::VideoRenderer, FilterClass::DefaultVideoRenderer, graphName,
                 Exclaim("CAN'T LOAD VMR7")),
      SetUpRenderer()};
  if (connectDecoder) {
    steps.push_back(Connect("CONNECTING VIDEO DECODER->DEFAULT VMR", F::VideoDecoder,
                            F::VideoRenderer, Exclaim("CAN'T CONNECT VIDEO TO VMR7")));
  }
  return steps;
}

// The VMR-7 in windowless mode. The default video renderer takes its place
// when the VMR cannot be created ("WMR") or does not take the decoder's
// output (then it is named "VMR").
PlanStep VideoRenderer(bool connectDecoder, bool withDecodersFile) {
  PlanStep group;
  group.action = StepAction::Group;

  PlanStep vmr = AddByClass("LOADING VMR", F::VideoRenderer, FilterClass::VideoMixingRenderer,
                            "VMR", std::nullopt);
  vmr.fallback.push_back(LogOnly("VMR FAILED...LOADING DEFAULT VMR"));
  for (PlanStep& step : DefaultRenderer("WMR", connectDecoder)) {
    vmr.fallback.push_back(std::move(step));
  }
  group.steps.push_back(std::move(vmr));
  group.steps.push_back(SetUpRenderer());

  if (connectDecoder) {
    PlanStep connect =
        Connect("CONNECTING VIDEO DECODER->VMR", F::VideoDecoder, F::VideoRenderer, std::nullopt);
    PlanStep remove;
    remove.action = StepAction::Remove;
    remove.filter = F::VideoRenderer;
    connect.fallback.push_back(std::move(remove));
    connect.fallback.push_back(LogOnly(withDecodersFile
                                           ? "VIDEO DECODER->VMR FAILED...LOADING DEFAULT VMR"
                                           : "VMR FAILED...LOADING DEFAULT VMR"));
    for (PlanStep& step : DefaultRenderer("VMR", true)) connect.fallback.push_back(std::move(step));
    group.steps.push_back(std::move(connect));
  }
  return group;
}

PlanStep SoundRenderer() {
  PlanStep step = AddByClass("LOADING DIRECTSOUND RENDERER", F::SoundRenderer,
                             FilterClass::DirectSoundRenderer, "Sound",
                             Exclaim("CAN'T LOAD DIRECTSOUND RENDERER"));
  step.log.insert(0, "\n");  // a blank line before the sound renderer's steps
  return step;
}

// Without decoders.txt: the tuner vendor's decoders for the models that
// have them; for every other model the demultiplexer goes straight to the
// renderers and the graph inserts the decoders it needs.
void AddModelDecoders(GraphPlan& plan, DecoderRule rule) {
  const bool ownDecoders = rule != DecoderRule::GraphInserts;
  if (ownDecoders) {
    const bool ati = rule == DecoderRule::AtiByClassId;
    plan.push_back(ati ? AddByClass("LOADING ATI VIDEO DECODER", F::VideoDecoder,
                                    FilterClass::AtiVideoDecoder, "Video Decoder",
                                    Exclaim("CAN'T LOAD ATI VIDEO DECODER"))
                       : AddByClass("LOADING FUSIONHDTV VIDEO DECODER", F::VideoDecoder,
                                    FilterClass::FusionVideoDecoder, "Video Decoder",
                                    Exclaim("CAN'T LOAD FUSION VIDEO DECODER")));
    plan.push_back(Connect("CONNECTING MPEG2 DEMULTIPLEXER->VIDEO DECODER", F::Demultiplexer,
                           F::VideoDecoder, Exclaim("CAN'T CONNECT DEMUX TO VIDEO DECODER")));
    plan.push_back(ati ? AddByClass("LOADING ATI AUDIO DECODER", F::AudioDecoder,
                                    FilterClass::AtiAudioDecoder, "Audio Decoder",
                                    Exclaim("CAN'T LOAD ATI AUDIO DECODER"))
                       : AddByClass("LOADING FUSIONHDTV AUDIO DECODER", F::AudioDecoder,
                                    FilterClass::FusionAudioDecoder, "Audio Decoder",
                                    Exclaim("CAN'T LOAD FUSION AUDIO DECODER")));
    plan.push_back(Connect("CONNECTING MPEG2 DEMULTIPLEXER->AUDIO DECODER", F::Demultiplexer,
                           F::AudioDecoder, Exclaim("CAN'T CONNECT DEMUX TO AUDIO DECODER")));
  }
  plan.push_back(VideoRenderer(ownDecoders, false));
  if (!ownDecoders) {
    plan.push_back(Connect("CONNECTING MPEG2 DEMULTIPLEXER->VMR", F::Demultiplexer,
                           F::VideoRenderer, PlainBox("CANT CONNECT DEMUX TO VMR")));
  }
  plan.push_back(SoundRenderer());
  if (ownDecoders) {
    plan.push_back(Connect("CONNECTING AUDIO DECODER->DIRECTSOUND RENDERER", F::AudioDecoder,
                           F::SoundRenderer,
                           Exclaim("CAN'T CONNECT AUDIO DECODER TO SOUND RENDERER")));
  } else {
    plan.push_back(Connect("CONNECTING MPEG2 DEMULTIPLEXER->DIRECTSOUND RENDERER",
                           F::Demultiplexer, F::SoundRenderer,
                           PlainBox("CANT CONNECT DEMUX TO SOUND")));
  }
}

// With decoders.txt: the two decoders it names, for every model.
void AddNamedDecoders(GraphPlan& plan, const DecoderNames& names) {
  plan.push_back(LogOnly("USING DECODERS.TXT OK"));
  plan.push_back(AddByName("LOADING VIDEO DECODER", F::VideoDecoder, FilterRole::VideoDecoder,
                           CantLoadDecoder(names.video)));
  plan.push_back(Connect("CONNECTING MPEG2 DEMULTIPLEXER->VIDEO DECODER", F::Demultiplexer,
                         F::VideoDecoder, Exclaim("CAN'T CONNECT DEMUX TO VIDEO DECODER")));
  plan.push_back(AddByName("LOADING AUDIO DECODER", F::AudioDecoder, FilterRole::AudioDecoder,
                           CantLoadDecoder(names.audio)));
  plan.push_back(Connect("CONNECTING MPEG2 DEMULTIPLEXER->AUDIO DECODER", F::Demultiplexer,
                         F::AudioDecoder, Exclaim("CAN'T CONNECT DEMUX TO AUDIO DECODER")));
  plan.push_back(VideoRenderer(true, true));
  plan.push_back(SoundRenderer());
  plan.push_back(Connect("CONNECTING AUDIO DECODER->DIRECTSOUND RENDERER", F::AudioDecoder,
                         F::SoundRenderer,
                         Exclaim("CAN'T CONNECT AUDIO DECODER TO SOUND RENDERER")));
}

// The media control, the volume control (without it the picture still runs;
// only volume and mute are lost) and the run.
void AddStart(GraphPlan& plan) {
  plan.push_back(Do(StepAction::QueryMediaControl, Exclaim("CAN'T LOAD MEDIA CONTROL")));
  PlanStep volume = Do(StepAction::QueryBasicAudio, Exclaim("CAN'T GET VOLUME"));
  volume.buildGoesOn = true;
  plan.push_back(std::move(volume));
  plan.push_back(Do(StepAction::Run, Exclaim("CAN'T RUN FILTER GRAPH")));
  plan.push_back(LogOnly("TELVANTIS OK"));
}

}  // namespace

GraphPlan SourceChainPlan(const TuningModel* model) {
  const bool hasCapture = model == nullptr || model->hasCaptureFilter;
  GraphPlan plan{
      AddByClass("LOADING ATSC NETWORK PROVIDER", F::NetworkProvider,
                 FilterClass::NetworkProvider, "ATSCNetwork",
                 Exclaim("NO ATSC NETWORK PROVIDER")),
      AddByName("LOADING BDA TUNER", F::Tuner, FilterRole::Tuner, Exclaim("CAN'T LOAD BDA Tuner")),
      Do(StepAction::FindTuningSpace, Exclaim("CAN'T GET TUNING SPACE")),
      Do(StepAction::Tune, Exclaim("CAN'T TUNE CHANNEL")),
      Connect("CONNECTING ATSC NETWORK PROVIDER->BDA TUNER", F::NetworkProvider, F::Tuner,
              Exclaim("CAN'T CONNECT NETWORK PROVIDER TO BDA Tuner"))};
  if (hasCapture) {
    plan.push_back(AddByName("LOADING BDA CAPTURE/RECEIVER", F::Capture, FilterRole::Capture,
                             Exclaim("CAN'T LOAD BDA Capture")));
    plan.push_back(Connect("CONNECTING BDA TUNER->BDA CAPTURE/RECEIVER", F::Tuner, F::Capture,
                           Exclaim("CAN'T CONNECT BDA Tuner to BDA Capture")));
  }
  plan.push_back(AddByClass("LOADING MPEG2 DEMULTIPLEXER", F::Demultiplexer,
                            FilterClass::Mpeg2Demultiplexer, "Demux",
                            Exclaim("CAN'T LOAD MPEG2 DEMULTIPLEXER")));
  if (hasCapture) {
    // The same text for every model.
    plan.push_back(
        Connect("CONNECTING BDA CAPTURE/RECEIVER->MPEG2 DEMULTIPLEXER", F::Capture,
                F::Demultiplexer,
                Exclaim("CAN'T CONNECT ATI DTV Wonder Digital BDA Capture to MPEG2 DEMUX")));
  } else {
    plan.push_back(Connect("CONNECTING BDA TUNER->MPEG2 DEMULTIPLEXER", F::Tuner,
                           F::Demultiplexer, Exclaim("CAN'T CONNECT BDA Tuner to MPEG2 DEMUX")));
  }
  plan.push_back(AddByClass("LOADING BDA MPEG2 TRANSPORT STREAM INFORMATION", F::Tif,
                            FilterClass::TransportInformation, "BDA TIF",
                            Exclaim("CAN'T LOAD BDA TIF")));
  plan.push_back(Connect("CONNECTING MPEG2 DEMULITPLEXER->BDA MPEG2 TRANSPORT STREAM INFORMATION",
                         F::Demultiplexer, F::Tif, Exclaim("CAN'T CONNECT MPEG2 DEMUX TO BDATIF")));
  return plan;
}

GraphPlan LiveGraphPlan(const TuningModel* model, const std::optional<DecoderNames>& decoders) {
  GraphPlan plan = SourceChainPlan(model);
  if (decoders) {
    AddNamedDecoders(plan, *decoders);
  } else {
    AddModelDecoders(plan, model ? model->decoderRule : DecoderRule::GraphInserts);
  }
  AddStart(plan);
  return plan;
}
