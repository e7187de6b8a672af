#include "graph/RecordingGraphPlan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graph/testing/FakeGraphPlatform.h"

namespace {

using Actions = std::vector<std::string>;
using Messages = std::vector<GraphMessage>;

TuningModel Model(int number) { return FindTuningModel(number, std::nullopt).value(); }

const Actions kTsGraph{"add ATSCNetwork (network provider)",
                       "find tuner",
                       "tuning space",
                       "tune",
                       "connect provider -> tuner",
                       "find capture",
                       "connect tuner -> capture",
                       "add Tee (infinite tee)",
                       "connect capture -> tee",
                       "add Dump (dump filter)",
                       "connect tee -> dump",
                       "add Demux (MPEG-2 demultiplexer)",
                       "connect tee -> demux",
                       "add BDA TIF (TIF)",
                       "connect demux -> TIF",
                       "file sink",
                       "file name",
                       "media control",
                       "run"};

TEST(RecordingGraphPlanTest, TransportStreamGraphForEveryModelHasItsCaptureStep) {
  for (int number : {0, 8, 17}) {
    const TuningModel model = Model(number);
    FakeGraphPlatform platform;
    const GraphOutcome outcome = RunGraphPlan(TransportStreamRecordingPlan(&model), platform);
    EXPECT_TRUE(outcome.Succeeded()) << number;
    EXPECT_EQ(platform.actions, kTsGraph) << number;
    EXPECT_EQ(platform.log, "") << number;  // the recorders keep no build log
  }
}

TEST(RecordingGraphPlanTest, TransportStreamFailuresNameTheFirstTunersFilters) {
  const TuningModel model = Model(17);
  const auto failureOf = [&](const std::string& action) {
    FakeGraphPlatform platform;
    platform.Fail(action);
    const GraphOutcome outcome = RunGraphPlan(TransportStreamRecordingPlan(&model), platform);
    EXPECT_TRUE(outcome.Failed()) << action;
    return outcome.messages;
  };
  const auto exclaim = [](const char* text) { return Messages{{text, BoxStyle::Exclamation}}; };
  EXPECT_EQ(failureOf("find tuner"), exclaim("CAN'T LOAD ATI DTV Wonder Digital BDA Tuner"));
  EXPECT_EQ(failureOf("connect provider -> tuner"),
            exclaim("CAN'T CONNECT NETWORK PROVIDER TO ATI DTV Wonder Digital BDA Tuner"));
  EXPECT_EQ(failureOf("find capture"), exclaim("CAN'T LOAD ATI DTV Wonder Digital BDA Capture"));
  EXPECT_EQ(failureOf("connect tuner -> capture"),
            exclaim("CAN'T CONNECT ATI DTV Wonder Digital BDA Tuner to ATI DTV Wonder Digital "
                    "BDA Capture"));
  EXPECT_EQ(failureOf("add Tee (infinite tee)"), exclaim("CAN'T ADD INFPINTEE"));
  EXPECT_EQ(failureOf("connect capture -> tee"), exclaim("CAN'T CONNECT INFPINTEE"));
  EXPECT_EQ(failureOf("add Dump (dump filter)"), exclaim("CAN'T ADD TSDUMP"));
  EXPECT_EQ(failureOf("connect tee -> dump"), exclaim("CAN'T CONNECT TSDUMP"));
  EXPECT_EQ(failureOf("connect tee -> demux"),
            exclaim("CAN'T CONNECT ATI DTV Wonder Digital BDA Capture to MPEG2 DEMUX"));
  EXPECT_EQ(failureOf("file sink"), exclaim("CAN'T QI FILESINKFILTER"));
  EXPECT_EQ(failureOf("file name"), exclaim("CAN'T SETFILENAME"));
  EXPECT_EQ(failureOf("run"), (Messages{{"CANT RUN GRAPH", BoxStyle::Plain}}));
  EXPECT_EQ(failureOf("tune"), exclaim("CAN'T TUNE CHANNEL"));
}

TEST(RecordingGraphPlanTest, ModelEightIsTakenUnderEitherNameByTheTransportStreamRecorder) {
  const TuningModel devices = TransportStreamRecorderDevices(Model(8));
  const DecoderNames none;
  for (const char* name :
       {"DTV-DVB UDXTTM6000 - USB 2.0 ATSC Receiver", "DTV-DVB UDXTTM6000 Capture"}) {
    EXPECT_TRUE(AcceptsDevice(devices, name, FilterRole::Tuner, none)) << name;
    EXPECT_TRUE(AcceptsDevice(devices, name, FilterRole::Capture, none)) << name;
  }
  // Other models keep their own names.
  const TuningModel wonder = TransportStreamRecorderDevices(Model(0));
  EXPECT_EQ(wonder.captureNames, Model(0).captureNames);
}

TEST(RecordingGraphPlanTest, StreamBufferGraph) {
  const TuningModel model = Model(17);
  FakeGraphPlatform platform;
  EXPECT_TRUE(RunGraphPlan(StreamBufferRecordingPlan(&model), platform).Succeeded());
  EXPECT_EQ(platform.actions, (Actions{"add ATSCNetwork (network provider)",
                                       "find tuner",
                                       "tuning space",
                                       "tune",
                                       "connect provider -> tuner",
                                       "find capture",
                                       "connect tuner -> capture",
                                       "add Demux (MPEG-2 demultiplexer)",
                                       "connect capture -> demux",
                                       "add BDA TIF (TIF)",
                                       "connect demux -> TIF",
                                       "add SINK (stream-buffer sink)",
                                       "add VSA (analyser)",
                                       "connect demux -> analyser (video)",
                                       "connect demux -> sink (audio)",
                                       "connect analyser -> sink",
                                       "buffer sink",
                                       "buffer folder",
                                       "media control",
                                       "run",
                                       "create recorder",
                                       "start recorder"}));
  // Model 8: the tuner feeds the demultiplexer, under the recorder's text.
  const TuningModel fuji = Model(8);
  FakeGraphPlatform eight;
  eight.Fail("connect tuner -> demux");
  const GraphOutcome outcome = RunGraphPlan(StreamBufferRecordingPlan(&fuji), eight);
  EXPECT_EQ(outcome.messages,
            (Messages{{"CAN'T CONNECT BDA Capture to MPEG2 DEMUX", BoxStyle::Exclamation}}));
  EXPECT_EQ(eight.actions.end(),
            std::find(eight.actions.begin(), eight.actions.end(), "find capture"));
}

TEST(RecordingGraphPlanTest, StreamBufferFailureTexts) {
  const TuningModel model = Model(3);
  const auto failureOf = [&](const std::string& action) {
    FakeGraphPlatform platform;
    platform.Fail(action);
    return RunGraphPlan(StreamBufferRecordingPlan(&model), platform).messages;
  };
  const auto plain = [](const char* text) { return Messages{{text, BoxStyle::Plain}}; };
  EXPECT_EQ(failureOf("find tuner"), (Messages{{"CAN'T LOAD BDA Tuner", BoxStyle::Exclamation}}));
  EXPECT_EQ(failureOf("add SINK (stream-buffer sink)"), plain("NO SINK"));
  EXPECT_EQ(failureOf("add VSA (analyser)"), plain("NO VSA"));
  EXPECT_EQ(failureOf("connect demux -> analyser (video)"), plain("CANT CONNECT FIRST SINK"));
  EXPECT_EQ(failureOf("connect demux -> sink (audio)"), plain("CANT CONNECT FIRST SINK"));
  EXPECT_EQ(failureOf("connect analyser -> sink"), plain("CANT CONNECT VSA TO SINK"));
  EXPECT_EQ(failureOf("buffer sink"), plain("CANT QI SBSINK"));
  EXPECT_EQ(failureOf("buffer folder"), Messages{});
  EXPECT_EQ(failureOf("run"), plain("CANT RUN GRAPH"));
  EXPECT_EQ(failureOf("create recorder"), plain("CANT QI RECORDER"));
  EXPECT_EQ(failureOf("start recorder"), plain("CANT START RECORDER"));
}

}  // namespace
