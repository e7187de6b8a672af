#include "graph/LiveGraphPlan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graph/testing/FakeGraphPlatform.h"

namespace {

using Actions = std::vector<std::string>;
using Messages = std::vector<GraphMessage>;

TuningModel Model(int number) {
  const std::optional<TunerNames> tunerFile =
      number == 20 ? std::optional<TunerNames>(
                         TunerNames{"Telvantis Virtual Tuner", "Telvantis Virtual Capture"})
                   : std::nullopt;
  return FindTuningModel(number, tunerFile).value();
}

const DecoderNames kDecodersFile{"Telvantis Test MPEG-2 Video Decoder",
                                 "Telvantis Test AC-3 Audio Decoder"};

const GraphMessage kCouldNotConnect{"COULDN'T CONNECT FILTERS", BoxStyle::Exclamation};

GraphMessage Exclamation(const char* text) { return {text, BoxStyle::Exclamation}; }
GraphMessage Plain(const char* text) { return {text, BoxStyle::Plain}; }

const char kSourceChainLog[] =
    "LOADING ATSC NETWORK PROVIDER\n"
    "LOADING BDA TUNER\n"
    "CONNECTING ATSC NETWORK PROVIDER->BDA TUNER\n\n"
    "LOADING BDA CAPTURE/RECEIVER\n"
    "CONNECTING BDA TUNER->BDA CAPTURE/RECEIVER\n\n"
    "LOADING MPEG2 DEMULTIPLEXER\n"
    "CONNECTING BDA CAPTURE/RECEIVER->MPEG2 DEMULTIPLEXER\n\n"
    "LOADING BDA MPEG2 TRANSPORT STREAM INFORMATION\n"
    "CONNECTING MPEG2 DEMULITPLEXER->BDA MPEG2 TRANSPORT STREAM INFORMATION\n\n";

}  // namespace

TEST(LiveGraphPlanTest, AtiModelAddsItsVendorsDecodersByClassAndStartsTheGraph) {
  const TuningModel model = Model(0);
  FakeGraphPlatform platform;
  const GraphOutcome outcome = RunGraphPlan(LiveGraphPlan(&model, std::nullopt), platform);
  EXPECT_TRUE(outcome.Succeeded());
  EXPECT_EQ(outcome.messages, Messages{});
  EXPECT_EQ(platform.actions,
            (Actions{"add ATSCNetwork (network provider)", "find tuner", "tuning space", "tune",
                     "connect provider -> tuner", "find capture", "connect tuner -> capture",
                     "add Demux (MPEG-2 demultiplexer)", "connect capture -> demux",
                     "add BDA TIF (TIF)", "connect demux -> TIF", "add Video Decoder (ATI video)",
                     "connect demux -> video decoder", "add Audio Decoder (ATI audio)",
                     "connect demux -> audio decoder", "add VMR (VMR-7)",
                     "set up video renderer", "connect video decoder -> video renderer",
                     "add Sound (DirectSound)", "connect audio decoder -> sound renderer",
                     "media control", "volume", "run"}));
  EXPECT_EQ(platform.log, std::string(kSourceChainLog) +
                              "LOADING ATI VIDEO DECODER\n"
                              "CONNECTING MPEG2 DEMULTIPLEXER->VIDEO DECODER\n\n"
                              "LOADING ATI AUDIO DECODER\n"
                              "CONNECTING MPEG2 DEMULTIPLEXER->AUDIO DECODER\n\n"
                              "LOADING VMR\n"
                              "CONNECTING VIDEO DECODER->VMR\n"
                              "\nLOADING DIRECTSOUND RENDERER\n"
                              "CONNECTING AUDIO DECODER->DIRECTSOUND RENDERER\n\n"
                              "TELVANTIS OK\n");
}

TEST(LiveGraphPlanTest, TunerWithoutCaptureFeedsTheDemultiplexerAndTheGraphInsertsDecoders) {
  const TuningModel model = Model(8);
  FakeGraphPlatform platform;
  EXPECT_TRUE(RunGraphPlan(LiveGraphPlan(&model, std::nullopt), platform).Succeeded());
  EXPECT_EQ(platform.log,
            "LOADING ATSC NETWORK PROVIDER\n"
            "LOADING BDA TUNER\n"
            "CONNECTING ATSC NETWORK PROVIDER->BDA TUNER\n\n"
            "LOADING MPEG2 DEMULTIPLEXER\n"
            "CONNECTING BDA TUNER->MPEG2 DEMULTIPLEXER\n\n"
            "LOADING BDA MPEG2 TRANSPORT STREAM INFORMATION\n"
            "CONNECTING MPEG2 DEMULITPLEXER->BDA MPEG2 TRANSPORT STREAM INFORMATION\n\n"
            "LOADING VMR\n"
            "CONNECTING MPEG2 DEMULTIPLEXER->VMR\n"
            "\nLOADING DIRECTSOUND RENDERER\n"
            "CONNECTING MPEG2 DEMULTIPLEXER->DIRECTSOUND RENDERER\n\n"
            "TELVANTIS OK\n");
  EXPECT_EQ(platform.actions,
            (Actions{"add ATSCNetwork (network provider)", "find tuner", "tuning space", "tune",
                     "connect provider -> tuner", "add Demux (MPEG-2 demultiplexer)",
                     "connect tuner -> demux", "add BDA TIF (TIF)", "connect demux -> TIF",
                     "add VMR (VMR-7)", "set up video renderer", "connect demux -> video renderer",
                     "add Sound (DirectSound)", "connect demux -> sound renderer", "media control",
                     "volume", "run"}));

  // A failing connection: the toolkit's message, then the step's; the log
  // ends at the step announced.
  FakeGraphPlatform failing;
  failing.Fail("connect tuner -> demux", {kCouldNotConnect});
  const GraphOutcome outcome = RunGraphPlan(LiveGraphPlan(&model, std::nullopt), failing);
  EXPECT_EQ(outcome.result, FakeGraphPlatform::kFail);
  EXPECT_EQ(outcome.messages,
            (Messages{kCouldNotConnect, Exclamation("CAN'T CONNECT BDA Tuner to MPEG2 DEMUX")}));
  EXPECT_EQ(failing.actions.back(), "connect tuner -> demux");
  EXPECT_TRUE(failing.log.ends_with("LOADING MPEG2 DEMULTIPLEXER\n"
                                    "CONNECTING BDA TUNER->MPEG2 DEMULTIPLEXER\n\n"));
}

TEST(LiveGraphPlanTest, EachStepEndsTheBuildWithItsOwnTextAndStyle) {
  struct Case {
    int model;
    std::string action;
    GraphMessage message;
  };
  const std::vector<Case> cases{
      {0, "add ATSCNetwork (network provider)", Exclamation("NO ATSC NETWORK PROVIDER")},
      {0, "find tuner", Exclamation("CAN'T LOAD BDA Tuner")},
      {0, "tuning space", Exclamation("CAN'T GET TUNING SPACE")},
      {0, "tune", Exclamation("CAN'T TUNE CHANNEL")},
      {0, "connect provider -> tuner", Exclamation("CAN'T CONNECT NETWORK PROVIDER TO BDA Tuner")},
      {0, "find capture", Exclamation("CAN'T LOAD BDA Capture")},
      {0, "connect tuner -> capture", Exclamation("CAN'T CONNECT BDA Tuner to BDA Capture")},
      {0, "add Demux (MPEG-2 demultiplexer)", Exclamation("CAN'T LOAD MPEG2 DEMULTIPLEXER")},
      {17, "connect capture -> demux",
       Exclamation("CAN'T CONNECT ATI DTV Wonder Digital BDA Capture to MPEG2 DEMUX")},
      {0, "add BDA TIF (TIF)", Exclamation("CAN'T LOAD BDA TIF")},
      {0, "connect demux -> TIF", Exclamation("CAN'T CONNECT MPEG2 DEMUX TO BDATIF")},
      {0, "add Video Decoder (ATI video)", Exclamation("CAN'T LOAD ATI VIDEO DECODER")},
      {0, "connect demux -> video decoder", Exclamation("CAN'T CONNECT DEMUX TO VIDEO DECODER")},
      {0, "add Audio Decoder (ATI audio)", Exclamation("CAN'T LOAD ATI AUDIO DECODER")},
      {0, "connect demux -> audio decoder", Exclamation("CAN'T CONNECT DEMUX TO AUDIO DECODER")},
      {1, "add Video Decoder (Fusion video)", Exclamation("CAN'T LOAD FUSION VIDEO DECODER")},
      {2, "add Audio Decoder (Fusion audio)", Exclamation("CAN'T LOAD FUSION AUDIO DECODER")},
      {0, "set up video renderer", Exclamation("CAN'T INIT VMR7")},
      {17, "connect demux -> video renderer", Plain("CANT CONNECT DEMUX TO VMR")},
      {0, "add Sound (DirectSound)", Exclamation("CAN'T LOAD DIRECTSOUND RENDERER")},
      {0, "connect audio decoder -> sound renderer",
       Exclamation("CAN'T CONNECT AUDIO DECODER TO SOUND RENDERER")},
      {17, "connect demux -> sound renderer", Plain("CANT CONNECT DEMUX TO SOUND")},
      {17, "media control", Exclamation("CAN'T LOAD MEDIA CONTROL")},
      {17, "run", Exclamation("CAN'T RUN FILTER GRAPH")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.action);
    const TuningModel model = Model(c.model);
    FakeGraphPlatform platform;
    platform.Fail(c.action);
    const GraphOutcome outcome = RunGraphPlan(LiveGraphPlan(&model, std::nullopt), platform);
    EXPECT_EQ(outcome.result, FakeGraphPlatform::kFail);
    EXPECT_EQ(outcome.messages, Messages{c.message});
    EXPECT_EQ(platform.actions.back(), c.action);
    EXPECT_FALSE(platform.log.ends_with("TELVANTIS OK\n"));
  }
}

TEST(LiveGraphPlanTest, DecodersFileNamesBothDecodersForAnyModel) {
  const TuningModel model = Model(20);
  FakeGraphPlatform platform;
  EXPECT_TRUE(RunGraphPlan(LiveGraphPlan(&model, kDecodersFile), platform).Succeeded());
  EXPECT_EQ(platform.log, std::string(kSourceChainLog) +
                              "USING DECODERS.TXT OK\n"
                              "LOADING VIDEO DECODER\n"
                              "CONNECTING MPEG2 DEMULTIPLEXER->VIDEO DECODER\n\n"
                              "LOADING AUDIO DECODER\n"
                              "CONNECTING MPEG2 DEMULTIPLEXER->AUDIO DECODER\n\n"
                              "LOADING VMR\n"
                              "CONNECTING VIDEO DECODER->VMR\n"
                              "\nLOADING DIRECTSOUND RENDERER\n"
                              "CONNECTING AUDIO DECODER->DIRECTSOUND RENDERER\n\n"
                              "TELVANTIS OK\n");
  EXPECT_EQ(std::vector<std::string>(platform.actions.begin() + 11, platform.actions.end()),
            (Actions{"find video decoder", "connect demux -> video decoder", "find audio decoder",
                     "connect demux -> audio decoder", "add VMR (VMR-7)", "set up video renderer",
                     "connect video decoder -> video renderer", "add Sound (DirectSound)",
                     "connect audio decoder -> sound renderer", "media control", "volume", "run"}));

  // Even the ATI model takes the file's decoders; a missing one is named.
  const TuningModel ati = Model(0);
  for (const auto& [action, text] :
       {std::pair{"find video decoder", "CAN'T LOAD Telvantis Test MPEG-2 Video Decoder"},
        std::pair{"find audio decoder", "CAN'T LOAD Telvantis Test AC-3 Audio Decoder"}}) {
    FakeGraphPlatform failing;
    failing.Fail(action);
    const GraphOutcome outcome = RunGraphPlan(LiveGraphPlan(&ati, kDecodersFile), failing);
    EXPECT_EQ(outcome.messages, Messages{Exclamation(text)});
    EXPECT_EQ(failing.actions.back(), action);
  }
}

TEST(LiveGraphPlanTest, DefaultVideoRendererStandsInForTheVmr) {
  // The VMR cannot be created: the default renderer is added as "WMR", and
  // the graph-inserted decoders are connected to it as to the VMR.
  const TuningModel model17 = Model(17);
  FakeGraphPlatform uncreated;
  uncreated.Fail("add VMR (VMR-7)");
  EXPECT_TRUE(RunGraphPlan(LiveGraphPlan(&model17, std::nullopt), uncreated).Succeeded());
  EXPECT_TRUE(uncreated.log.ends_with("CONNECTING MPEG2 DEMULITPLEXER->BDA MPEG2 TRANSPORT STREAM "
                                      "INFORMATION\n\n"
                                      "LOADING VMR\n"
                                      "VMR FAILED...LOADING DEFAULT VMR\n"
                                      "CONNECTING MPEG2 DEMULTIPLEXER->VMR\n"
                                      "\nLOADING DIRECTSOUND RENDERER\n"
                                      "CONNECTING MPEG2 DEMULTIPLEXER->DIRECTSOUND RENDERER\n\n"
                                      "TELVANTIS OK\n"));
  EXPECT_EQ(std::vector<std::string>(uncreated.actions.begin() + 11, uncreated.actions.begin() + 15),
            (Actions{"add VMR (VMR-7)", "add WMR (default video renderer)", "set up video renderer",
                     "connect demux -> video renderer"}));

  // The VMR does not take the decoder's output: it is taken out and the
  // default renderer, named "VMR", is connected instead. The connection's
  // own message is still told.
  const TuningModel model20 = Model(20);
  FakeGraphPlatform refused;
  refused.Fail("connect video decoder -> video renderer", {kCouldNotConnect});
  const GraphOutcome outcome = RunGraphPlan(LiveGraphPlan(&model20, kDecodersFile), refused);
  EXPECT_TRUE(outcome.Succeeded());
  EXPECT_EQ(outcome.messages, Messages{kCouldNotConnect});
  EXPECT_EQ(std::vector<std::string>(refused.actions.begin() + 15, refused.actions.begin() + 22),
            (Actions{"add VMR (VMR-7)", "set up video renderer",
                     "connect video decoder -> video renderer", "remove video renderer",
                     "add VMR (default video renderer)", "set up video renderer",
                     "connect video decoder -> video renderer"}));
  EXPECT_NE(refused.log.find("LOADING VMR\n"
                             "CONNECTING VIDEO DECODER->VMR\n"
                             "VIDEO DECODER->VMR FAILED...LOADING DEFAULT VMR\n"
                             "CONNECTING VIDEO DECODER->DEFAULT VMR\n"
                             "\nLOADING DIRECTSOUND RENDERER\n"),
            std::string::npos);

  // Without decoders.txt the line names no decoder; a default renderer that
  // does not connect either ends the build.
  const TuningModel ati = Model(0);
  FakeGraphPlatform neither;
  neither.Fail("connect video decoder -> video renderer");
  neither.Fail("connect video decoder -> video renderer");
  const GraphOutcome failed = RunGraphPlan(LiveGraphPlan(&ati, std::nullopt), neither);
  EXPECT_EQ(failed.result, FakeGraphPlatform::kFail);
  EXPECT_EQ(failed.messages, Messages{Exclamation("CAN'T CONNECT VIDEO TO VMR7")});
  EXPECT_TRUE(neither.log.ends_with("LOADING VMR\n"
                                    "CONNECTING VIDEO DECODER->VMR\n"
                                    "VMR FAILED...LOADING DEFAULT VMR\n"
                                    "CONNECTING VIDEO DECODER->DEFAULT VMR\n"));

  // The default renderer that cannot be created or set up.
  FakeGraphPlatform noDefault;
  noDefault.Fail("add VMR (VMR-7)");
  noDefault.Fail("add WMR (default video renderer)");
  EXPECT_EQ(RunGraphPlan(LiveGraphPlan(&ati, std::nullopt), noDefault).messages,
            Messages{Exclamation("CAN'T LOAD VMR7")});
  FakeGraphPlatform noSetUp;
  noSetUp.Fail("add VMR (VMR-7)");
  noSetUp.Fail("set up video renderer");
  EXPECT_EQ(RunGraphPlan(LiveGraphPlan(&ati, std::nullopt), noSetUp).messages,
            Messages{Exclamation("CAN'T INIT VMR7")});
  EXPECT_EQ(noSetUp.actions.back(), "set up video renderer");
}

TEST(LiveGraphPlanTest, MissingVolumeControlIsToldAndTheBuildGoesOn) {
  const TuningModel model = Model(17);
  FakeGraphPlatform platform;
  platform.Fail("volume");
  const GraphOutcome started = RunGraphPlan(LiveGraphPlan(&model, std::nullopt), platform);
  EXPECT_TRUE(started.Succeeded());
  EXPECT_EQ(started.messages, Messages{Exclamation("CAN'T GET VOLUME")});
  EXPECT_EQ(platform.actions.back(), "run");
  EXPECT_TRUE(platform.log.ends_with("TELVANTIS OK\n"));

  // Told before a later failure.
  FakeGraphPlatform both;
  both.Fail("volume");
  both.Fail("run");
  const GraphOutcome failed = RunGraphPlan(LiveGraphPlan(&model, std::nullopt), both);
  EXPECT_EQ(failed.result, FakeGraphPlatform::kFail);
  EXPECT_EQ(failed.messages,
            (Messages{Exclamation("CAN'T GET VOLUME"), Exclamation("CAN'T RUN FILTER GRAPH")}));
  EXPECT_FALSE(both.log.ends_with("TELVANTIS OK\n"));
}
