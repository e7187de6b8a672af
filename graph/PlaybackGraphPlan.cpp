#include "graph/PlaybackGraphPlan.h"

#include <string>
#include <utility>

namespace {

using F = PlanFilter;

constexpr std::string_view kHeldDecoderName = "Zulu HDTV DxVA Decoder(BDA)";

PlanStep Do(StepAction action, std::optional<GraphMessage> failure) {
  PlanStep step;
  step.action = action;
  step.failure = std::move(failure);
  return step;
}

// A step whose failure is not the build's: nothing is told and the build
// goes on.
PlanStep Quietly(StepAction action) {
  PlanStep step = Do(action, std::nullopt);
  step.buildGoesOn = true;
  return step;
}

PlanStep AddByClass(PlanFilter filter, FilterClass filterClass, std::string_view graphName,
                    std::optional<GraphMessage> failure) {
  PlanStep step = Do(StepAction::AddByClass, std::move(failure));
  step.filter = filter;
  step.filterClass = filterClass;
  step.graphName = graphName;
  return step;
}

PlanStep AddByName(PlanFilter filter, FilterRole role, GraphMessage failure) {
  PlanStep step = Do(StepAction::AddByName, std::move(failure));
  step.filter = filter;
  step.role = role;
  return step;
}

PlanStep Connect(PlanFilter upstream, PlanFilter downstream, std::optional<GraphMessage> failure,
                 PinKind pins = PinKind::Any) {
  PlanStep step = Do(StepAction::Connect, std::move(failure));
  step.filter = upstream;
  step.downstream = downstream;
  step.pins = pins;
  return step;
}

PlanStep SetUpRenderer() {
  PlanStep step = Do(StepAction::SetUpRenderer, Exclaim("CAN'T INIT VMR7"));
  step.filter = F::VideoRenderer;
  return step;
}

PlanStep ConnectVideo() {
  return Connect(F::VideoDecoder, F::VideoRenderer, Exclaim("CAN'T CONNECT VIDEO TO VMR7"));
}

void AddSource(GraphPlan& plan, PlaybackSource source) {
  if (source == PlaybackSource::StreamBuffer) {
    plan.push_back(AddByClass(F::Source, FilterClass::StreamBufferSource, "SOURCE",
                              Exclaim("CAN'T ADD SOURCE FILTER")));
    plan.push_back(Do(StepAction::QueryBufferSource, Exclaim("CAN'T QI SBSOURCE")));
    // A file that does not load leaves the source without pins: the
    // connections that follow name the failure.
    plan.push_back(Quietly(StepAction::LoadFile));
    return;
  }
  plan.push_back(Do(StepAction::CheckFile, PlainBox("CAN'T READFILE")));
  plan.push_back(AddByClass(F::Source, FilterClass::TransportStreamSource, "PUSHSOURCE",
                            Exclaim("CAN'T ADD PUSHSOURCE FILTER")));
  // The source tells of a file it cannot open itself.
  plan.push_back(Do(StepAction::LoadFile, PlainBox("CAN'T QI FILESOURCEFILTER")));
  plan.push_back(AddByClass(F::Demultiplexer, FilterClass::Mpeg2Demultiplexer, "Demux",
                            Exclaim("CAN'T LOAD MPEG2 DEMULTIPLEXER")));
  plan.push_back(Connect(F::Source, F::Demultiplexer, Exclaim("CAN'T CONNECT MPEG2 DEMULTIPLEXER")));
  plan.push_back(
      Do(StepAction::CreateDemuxPins, Exclaim("CAN'T CONFIG PINS MPEG2 DEMULTIPLEXER")));
}

// The vendor's decoder pair, each connected right after it is added: audio
// first, then video.
void AddVendorDecoders(GraphPlan& plan, PlanFilter upstream, bool ati) {
  plan.push_back(ati ? AddByClass(F::AudioDecoder, FilterClass::AtiAudioDecoder, "Audio Decoder",
                                  Exclaim("CAN'T LOAD ATI AUDIO DECODER"))
                     : AddByClass(F::AudioDecoder, FilterClass::FusionAudioDecoder,
                                  "Audio Decoder", Exclaim("CAN'T LOAD FUSION AUDIO DECODER")));
  plan.push_back(
      Connect(upstream, F::AudioDecoder, Exclaim("CAN'T CONNECT SOURCE TO AUDIO DECODER")));
  plan.push_back(ati ? AddByClass(F::VideoDecoder, FilterClass::AtiVideoDecoder, "Video Decoder",
                                  Exclaim("CAN'T LOAD ATI VIDEO DECODER"))
                     : AddByClass(F::VideoDecoder, FilterClass::FusionVideoDecoder,
                                  "Video Decoder", Exclaim("CAN'T LOAD FUSION VIDEO DECODER")));
  plan.push_back(
      Connect(upstream, F::VideoDecoder, Exclaim("CAN'T CONNECT SOURCE TO VIDEO DECODER")));
}

// The decoders; false when there are none and the graph inserts its own.
bool AddDecoders(GraphPlan& plan, PlanFilter upstream, int modelNumber,
                 const std::optional<DecoderNames>& decoders) {
  if (decoders) {
    plan.push_back(AddByName(F::VideoDecoder, FilterRole::VideoDecoder, CantLoadDecoder(decoders->video)));
    plan.push_back(AddByName(F::AudioDecoder, FilterRole::AudioDecoder, CantLoadDecoder(decoders->audio)));
    plan.push_back(
        Connect(upstream, F::AudioDecoder, Exclaim("CAN'T CONNECT SOURCE TO AUDIO DECODER")));
    plan.push_back(
        Connect(upstream, F::VideoDecoder, Exclaim("CAN'T CONNECT SOURCE TO VIDEO DECODER")));
    return true;
  }
  if (modelNumber == 0 || modelNumber == 1 || modelNumber == 2) {
    AddVendorDecoders(plan, upstream, modelNumber == 0);
    return true;
  }
  return false;
}

// The VMR-7 in windowless mode. When it cannot be created the default video
// renderer takes its place as "WMR"; when it does not take the decoder's
// output it is taken out and the default renderer, named "VMR", gets one
// more try. With decoders, the video decoder is connected on every path.
PlanStep VideoRenderer(bool withDecoders) {
  PlanStep group;
  group.action = StepAction::Group;

  PlanStep vmr = AddByClass(F::VideoRenderer, FilterClass::VideoMixingRenderer, "VMR", std::nullopt);
  vmr.fallback.push_back(AddByClass(F::VideoRenderer, FilterClass::DefaultVideoRenderer, "WMR",
                                    Exclaim("CAN'T LOAD VMR7")));
  vmr.fallback.push_back(SetUpRenderer());
  if (withDecoders) vmr.fallback.push_back(ConnectVideo());
  group.steps.push_back(std::move(vmr));
  group.steps.push_back(SetUpRenderer());
  if (!withDecoders) return group;

  PlanStep connect = Connect(F::VideoDecoder, F::VideoRenderer, std::nullopt);
  PlanStep remove = Do(StepAction::Remove, std::nullopt);
  remove.filter = F::VideoRenderer;
  connect.fallback.push_back(std::move(remove));
  connect.fallback.push_back(AddByClass(F::VideoRenderer, FilterClass::DefaultVideoRenderer, "VMR",
                                        Exclaim("CAN'T CONNECT VIDEO TO VMR7")));
  connect.fallback.push_back(SetUpRenderer());
  connect.fallback.push_back(ConnectVideo());
  group.steps.push_back(std::move(connect));
  return group;
}

void AddSound(GraphPlan& plan, PlanFilter upstream, bool withDecoders) {
  plan.push_back(AddByClass(F::SoundRenderer, FilterClass::DirectSoundRenderer, "Sound",
                            Exclaim("CAN'T LOAD DIRECTSOUND RENDERER")));
  if (withDecoders) {
    plan.push_back(Connect(F::AudioDecoder, F::SoundRenderer,
                           Exclaim("CAN'T CONNECT AUDIO DECODER TO SOUND RENDERER")));
    return;
  }
  plan.push_back(Connect(upstream, F::SoundRenderer, PlainBox("CANT CONNECT DEMUX TO SOUND"),
                         PinKind::Audio));
  // A recording without a picture still plays its sound.
  PlanStep picture = Connect(upstream, F::VideoRenderer, std::nullopt, PinKind::Video);
  picture.buildGoesOn = true;
  plan.push_back(std::move(picture));
}

// The controls the player works through, then the run. Without the volume
// control only volume and mute are lost. Without a seeking interface the
// player could neither show nor move the position, so the build ends there
// and the half-built graph goes.
void AddStart(GraphPlan& plan, PlaybackSource source, bool hold) {
  plan.push_back(Do(StepAction::QueryMediaControl, Exclaim("CAN'T LOAD MEDIA CONTROL")));
  plan.push_back(Quietly(StepAction::QueryBasicAudio));
  plan.push_back(Do(StepAction::QuerySeeking, Exclaim("QI MEDIASEEKING")));
  if (source == PlaybackSource::TransportStream) plan.push_back(Quietly(StepAction::SetSyncSource));
  if (hold) plan.push_back(Quietly(StepAction::PauseVideoDecoder));
  plan.push_back(Do(StepAction::Run, Exclaim("CAN'T RUN FILTER GRAPH")));
  if (hold) plan.push_back(Quietly(StepAction::RunVideoDecoder));
}

}  // namespace

bool HoldsVideoDecoder(int modelNumber, const std::optional<DecoderNames>& decoders) {
  if (modelNumber != 1 && modelNumber != 2) return false;
  return !decoders || decoders->video.empty() || decoders->video == kHeldDecoderName;
}

GraphPlan PlaybackGraphPlan(PlaybackSource source, int modelNumber,
                            const std::optional<DecoderNames>& decoders) {
  GraphPlan plan;
  AddSource(plan, source);
  const PlanFilter upstream =
      source == PlaybackSource::TransportStream ? F::Demultiplexer : F::Source;
  const bool withDecoders = AddDecoders(plan, upstream, modelNumber, decoders);
  plan.push_back(VideoRenderer(withDecoders));
  AddSound(plan, upstream, withDecoders);
  AddStart(plan, source, HoldsVideoDecoder(modelNumber, decoders));
  return plan;
}
