#include "graph/PlaybackGraphPlan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graph/testing/FakeGraphPlatform.h"

namespace {

using Actions = std::vector<std::string>;
using Messages = std::vector<GraphMessage>;

const DecoderNames kDecodersFile{"Telvantis Test MPEG-2 Video Decoder",
                                 "Telvantis Test AC-3 Audio Decoder"};

GraphMessage Exclamation(const char* text) { return {text, BoxStyle::Exclamation}; }
GraphMessage Plain(const char* text) { return {text, BoxStyle::Plain}; }

const Actions kTsSource{"check file",
                        "add PUSHSOURCE (push source)",
                        "load file",
                        "add Demux (MPEG-2 demultiplexer)",
                        "connect source -> demux",
                        "demux pins"};

Actions Joined(Actions first, const Actions& then) {
  first.insert(first.end(), then.begin(), then.end());
  return first;
}

GraphOutcome RunPlan(PlaybackSource source, int model, const std::optional<DecoderNames>& names,
                     FakeGraphPlatform& platform) {
  return RunGraphPlan(PlaybackGraphPlan(source, model, names), platform);
}

}  // namespace

TEST(PlaybackGraphPlanTest, TransportStreamWithDecodersFileBuildsTheWholeChainAndRuns) {
  FakeGraphPlatform platform;
  const GraphOutcome outcome =
      RunPlan(PlaybackSource::TransportStream, 17, kDecodersFile, platform);
  EXPECT_TRUE(outcome.Succeeded());
  EXPECT_EQ(outcome.messages, Messages{});
  EXPECT_EQ(platform.actions,
            Joined(kTsSource, {"find video decoder", "find audio decoder",
                               "connect demux -> audio decoder", "connect demux -> video decoder",
                               "add VMR (VMR-7)", "set up video renderer",
                               "connect video decoder -> video renderer", "add Sound (DirectSound)",
                               "connect audio decoder -> sound renderer", "media control", "volume",
                               "seeking", "sound clock", "run"}));
  EXPECT_EQ(platform.log, "");  // the players keep no build log
}

TEST(PlaybackGraphPlanTest, StreamBufferWithoutDecodersLetsTheGraphInsertThem) {
  FakeGraphPlatform platform;
  EXPECT_TRUE(RunPlan(PlaybackSource::StreamBuffer, 17, std::nullopt, platform).Succeeded());
  EXPECT_EQ(platform.actions,
            (Actions{"add SOURCE (stream-buffer source)", "buffer source", "load file",
                     "add VMR (VMR-7)", "set up video renderer", "add Sound (DirectSound)",
                     "connect source -> sound renderer (audio)",
                     "connect source -> video renderer (video)", "media control", "volume",
                     "seeking", "run"}));

  // A file that does not load, and a recording without a picture, are not
  // the build's failures: the connections name what is missing.
  FakeGraphPlatform quiet;
  quiet.Fail("load file");
  quiet.Fail("connect source -> video renderer (video)");
  quiet.Fail("volume");
  const GraphOutcome outcome = RunPlan(PlaybackSource::StreamBuffer, 17, std::nullopt, quiet);
  EXPECT_TRUE(outcome.Succeeded());
  EXPECT_EQ(outcome.messages, Messages{});
  EXPECT_EQ(quiet.actions.back(), "run");
}

TEST(PlaybackGraphPlanTest, VendorDecodersByModelNumberAndTheFusionDecoderHold) {
  const Actions vendorAti{"add Audio Decoder (ATI audio)", "connect source -> audio decoder",
                          "add Video Decoder (ATI video)", "connect source -> video decoder"};
  const Actions rendering{"add VMR (VMR-7)", "set up video renderer",
                          "connect video decoder -> video renderer", "add Sound (DirectSound)",
                          "connect audio decoder -> sound renderer", "media control", "volume",
                          "seeking"};
  const Actions sbeSource{"add SOURCE (stream-buffer source)", "buffer source", "load file"};
  FakeGraphPlatform ati;
  EXPECT_TRUE(RunPlan(PlaybackSource::StreamBuffer, 0, std::nullopt, ati).Succeeded());
  EXPECT_EQ(ati.actions, Joined(Joined(Joined(sbeSource, vendorAti), rendering), {"run"}));

  for (const int model : {1, 2}) {
    FakeGraphPlatform fusion;
    EXPECT_TRUE(RunPlan(PlaybackSource::TransportStream, model, std::nullopt, fusion).Succeeded());
    EXPECT_EQ(fusion.actions,
              Joined(kTsSource,
                     {"add Audio Decoder (Fusion audio)", "connect demux -> audio decoder",
                      "add Video Decoder (Fusion video)", "connect demux -> video decoder",
                      "add VMR (VMR-7)", "set up video renderer",
                      "connect video decoder -> video renderer", "add Sound (DirectSound)",
                      "connect audio decoder -> sound renderer", "media control", "volume",
                      "seeking", "sound clock", "pause video decoder", "run",
                      "run video decoder"}))
        << model;
  }

  // The hold: models 1 and 2 only, with the Fusion decoder named or no
  // video decoder named; a failing hold is no failure of the build.
  EXPECT_TRUE(HoldsVideoDecoder(1, std::nullopt));
  EXPECT_TRUE(HoldsVideoDecoder(2, DecoderNames{"Zulu HDTV DxVA Decoder(BDA)", "any"}));
  EXPECT_TRUE(HoldsVideoDecoder(2, DecoderNames{"", "any"}));
  EXPECT_FALSE(HoldsVideoDecoder(1, kDecodersFile));
  EXPECT_FALSE(HoldsVideoDecoder(0, std::nullopt));
  EXPECT_FALSE(HoldsVideoDecoder(3, DecoderNames{"Zulu HDTV DxVA Decoder(BDA)", "any"}));
  FakeGraphPlatform held;
  held.Fail("pause video decoder");
  held.Fail("run video decoder");
  EXPECT_TRUE(RunPlan(PlaybackSource::StreamBuffer, 2, std::nullopt, held).Succeeded());
}

TEST(PlaybackGraphPlanTest, EachStepEndsTheBuildWithItsOwnTextAndStyle) {
  struct Case {
    PlaybackSource source;
    int model;
    bool decodersFile;
    std::string action;
    GraphMessage message;
  };
  const auto ts = PlaybackSource::TransportStream;
  const auto sbe = PlaybackSource::StreamBuffer;
  const std::vector<Case> cases{
      {ts, 17, true, "check file", Plain("CAN'T READFILE")},
      {ts, 17, true, "add PUSHSOURCE (push source)", Exclamation("CAN'T ADD PUSHSOURCE FILTER")},
      {ts, 17, true, "load file", Plain("CAN'T QI FILESOURCEFILTER")},
      {ts, 17, true, "add Demux (MPEG-2 demultiplexer)",
       Exclamation("CAN'T LOAD MPEG2 DEMULTIPLEXER")},
      {ts, 17, true, "connect source -> demux", Exclamation("CAN'T CONNECT MPEG2 DEMULTIPLEXER")},
      {ts, 17, true, "demux pins", Exclamation("CAN'T CONFIG PINS MPEG2 DEMULTIPLEXER")},
      {sbe, 17, true, "add SOURCE (stream-buffer source)", Exclamation("CAN'T ADD SOURCE FILTER")},
      {sbe, 17, true, "buffer source", Exclamation("CAN'T QI SBSOURCE")},
      {sbe, 17, true, "find video decoder",
       Exclamation("CAN'T LOAD Telvantis Test MPEG-2 Video Decoder")},
      {sbe, 17, true, "find audio decoder",
       Exclamation("CAN'T LOAD Telvantis Test AC-3 Audio Decoder")},
      {ts, 17, true, "connect demux -> audio decoder",
       Exclamation("CAN'T CONNECT SOURCE TO AUDIO DECODER")},
      {sbe, 17, true, "connect source -> video decoder",
       Exclamation("CAN'T CONNECT SOURCE TO VIDEO DECODER")},
      {sbe, 0, false, "add Audio Decoder (ATI audio)", Exclamation("CAN'T LOAD ATI AUDIO DECODER")},
      {sbe, 0, false, "add Video Decoder (ATI video)", Exclamation("CAN'T LOAD ATI VIDEO DECODER")},
      {ts, 1, false, "add Audio Decoder (Fusion audio)",
       Exclamation("CAN'T LOAD FUSION AUDIO DECODER")},
      {ts, 2, false, "add Video Decoder (Fusion video)",
       Exclamation("CAN'T LOAD FUSION VIDEO DECODER")},
      {sbe, 17, true, "set up video renderer", Exclamation("CAN'T INIT VMR7")},
      {sbe, 17, true, "add Sound (DirectSound)", Exclamation("CAN'T LOAD DIRECTSOUND RENDERER")},
      {sbe, 17, true, "connect audio decoder -> sound renderer",
       Exclamation("CAN'T CONNECT AUDIO DECODER TO SOUND RENDERER")},
      {ts, 17, false, "connect demux -> sound renderer (audio)",
       Plain("CANT CONNECT DEMUX TO SOUND")},
      {sbe, 17, true, "media control", Exclamation("CAN'T LOAD MEDIA CONTROL")},
      {ts, 17, true, "seeking", Exclamation("QI MEDIASEEKING")},
      {sbe, 17, true, "seeking", Exclamation("QI MEDIASEEKING")},
      {ts, 17, true, "run", Exclamation("CAN'T RUN FILTER GRAPH")},
  };
  for (const Case& c : cases) {
    FakeGraphPlatform platform;
    platform.Fail(c.action);
    const GraphOutcome outcome = RunGraphPlan(
        PlaybackGraphPlan(c.source, c.model,
                          c.decodersFile ? std::optional(kDecodersFile) : std::nullopt),
        platform);
    EXPECT_EQ(outcome.result, FakeGraphPlatform::kFail) << c.action;
    EXPECT_EQ(outcome.messages, Messages{c.message}) << c.action;
    // The build ends at the failing step: nothing runs after it.
    EXPECT_EQ(platform.actions.back(), c.action) << c.action;
  }
}

TEST(PlaybackGraphPlanTest, DefaultRendererTakesTheVmrsPlaceAndGetsTheDecoder) {
  // No VMR: the default renderer as "WMR", connected from the decoder too.
  FakeGraphPlatform noVmr;
  noVmr.Fail("add VMR (VMR-7)");
  EXPECT_TRUE(RunPlan(PlaybackSource::StreamBuffer, 17, kDecodersFile, noVmr).Succeeded());
  EXPECT_EQ(Actions(noVmr.actions.begin() + 7, noVmr.actions.begin() + 11),
            (Actions{"add VMR (VMR-7)", "add WMR (default video renderer)",
                     "set up video renderer", "connect video decoder -> video renderer"}));
  noVmr = FakeGraphPlatform{};
  noVmr.Fail("add VMR (VMR-7)");
  noVmr.Fail("add WMR (default video renderer)");
  EXPECT_EQ(RunPlan(PlaybackSource::StreamBuffer, 17, kDecodersFile, noVmr).messages,
            Messages{Exclamation("CAN'T LOAD VMR7")});

  // The VMR refuses the decoder: it goes, the default renderer named "VMR"
  // gets one more try.
  FakeGraphPlatform refused;
  refused.Fail("connect video decoder -> video renderer", {Exclamation("COULDN'T CONNECT FILTERS")});
  const GraphOutcome retried = RunPlan(PlaybackSource::TransportStream, 17, kDecodersFile, refused);
  EXPECT_TRUE(retried.Succeeded());
  EXPECT_EQ(Actions(refused.actions.begin() + 10, refused.actions.begin() + 17),
            (Actions{"add VMR (VMR-7)", "set up video renderer",
                     "connect video decoder -> video renderer", "remove video renderer",
                     "add VMR (default video renderer)", "set up video renderer",
                     "connect video decoder -> video renderer"}));
  refused = FakeGraphPlatform{};
  refused.Fail("connect video decoder -> video renderer");
  refused.Fail("connect video decoder -> video renderer");
  EXPECT_EQ(RunPlan(PlaybackSource::TransportStream, 17, kDecodersFile, refused).messages,
            Messages{Exclamation("CAN'T CONNECT VIDEO TO VMR7")});

  // Without decoders nothing is connected to the renderer there.
  FakeGraphPlatform bare;
  bare.Fail("add VMR (VMR-7)");
  EXPECT_TRUE(RunPlan(PlaybackSource::TransportStream, 17, std::nullopt, bare).Succeeded());
  EXPECT_EQ(Actions(bare.actions.begin() + 6, bare.actions.begin() + 9),
            (Actions{"add VMR (VMR-7)", "add WMR (default video renderer)",
                     "set up video renderer"}));
}

// Each build starts from the first step: a build that failed leaves nothing
// that a later one skips.
TEST(PlaybackGraphPlanTest, AFailedBuildIsFollowedByAWholeOne) {
  FakeGraphPlatform platform;
  platform.Fail("connect demux -> audio decoder");
  const GraphPlan plan = PlaybackGraphPlan(PlaybackSource::TransportStream, 17, kDecodersFile);
  EXPECT_TRUE(RunGraphPlan(plan, platform).Failed());
  platform.actions.clear();
  EXPECT_TRUE(RunGraphPlan(plan, platform).Succeeded());
  EXPECT_EQ(platform.actions.front(), "check file");
  EXPECT_EQ(platform.actions.back(), "run");
}
