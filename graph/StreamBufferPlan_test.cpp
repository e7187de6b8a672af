#include "graph/StreamBufferPlan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Lines = std::vector<std::string>;
using Messages = std::vector<GraphMessage>;

constexpr std::int32_t kFail = static_cast<std::int32_t>(0x80004005u);

std::string GraphName(GraphKind graph) {
  switch (graph) {
    case GraphKind::Live: return "live";
    case GraphKind::Sink: return "sink";
    case GraphKind::Source: return "source";
  }
  return "?";
}

std::string FilterName(BufferFilter filter) {
  const char* names[] = {"provider", "tuner", "capture", "demux", "TIF", "video decoder",
                         "audio decoder", "VMR", "sound", "sink", "analyser", "source"};
  return names[static_cast<int>(filter)];
}

std::string FolderName(BufferFolder folder) {
  return folder == BufferFolder::Timeshift ? "timeshift" : "record";
}

// Every action succeeds but the one named to fail; keeps one line per action.
// Or, with `failingCall`, the action at that place in the order.
class FakeTransitionPlatform : public TransitionPlatform {
 public:
  Lines lines;
  std::set<std::string> failing;
  std::optional<size_t> failingCall;

  GraphOutcome Perform(const TransitionStep& step) override {
    const std::string line = Describe(step);
    lines.push_back(line);
    const bool fails = failing.count(line) != 0 || failingCall == lines.size() - 1;
    return GraphOutcome::Result(fails ? kFail : 0);
  }

  static std::string Describe(const TransitionStep& s) {
    const std::string g = GraphName(s.graph);
    const std::string f = FilterName(s.filter);
    switch (s.action) {
      case TransitionAction::CheckFolder: return "check " + FolderName(s.folder);
      case TransitionAction::FindDecoders: return "find decoders";
      case TransitionAction::StopGraph: return "stop " + g;
      case TransitionAction::StopRecorder: return "stop recorder";
      case TransitionAction::Remove: return "remove " + f + " from " + g;
      case TransitionAction::Add: return "add " + f + " to " + g + " as " + s.name;
      case TransitionAction::Create: return "create " + f + " in " + g + " as " + s.name;
      case TransitionAction::Connect: {
        const char* media[] = {"", " (video)", " (audio)"};
        return "connect " + f + " -> " + FilterName(s.downstream) + " in " + g +
               media[static_cast<int>(s.media)];
      }
      case TransitionAction::QuerySink: return "query sink";
      case TransitionAction::Configure: return "configure " + FolderName(s.folder);
      case TransitionAction::LockProfile: return "lock profile " + FolderName(s.folder);
      case TransitionAction::QuerySource: return "query source";
      case TransitionAction::SetStreamSink: return "set stream sink";
      case TransitionAction::QueryMediaControl: return "media control " + g;
      case TransitionAction::QueryBasicAudio: return "volume " + g;
      case TransitionAction::ReconnectTables: return "reconnect tables";
      case TransitionAction::Run: return "run " + g;
      case TransitionAction::PauseVideoDecoder: return "pause video decoder";
      case TransitionAction::RunVideoDecoder: return "run video decoder";
      case TransitionAction::CreateRecorder: return "create recorder " + FolderName(s.folder);
      case TransitionAction::QueryRecorder: return "query recorder";
      case TransitionAction::StartRecorder: return "start recorder";
    }
    return "?";
  }
};

bool Has(const Lines& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

bool Mentions(const Lines& lines, const std::string& word) {
  return std::any_of(lines.begin(), lines.end(),
                     [&](const std::string& l) { return l.find(word) != std::string::npos; });
}

// Also keeps which of the stream buffer's own filters exist: a creation
// makes one, and adding one that was never made fails, as on the platform.
class SinkKeepingPlatform : public FakeTransitionPlatform {
 public:
  bool sink = false;
  bool analyser = false;

  GraphOutcome Perform(const TransitionStep& step) override {
    GraphOutcome done = FakeTransitionPlatform::Perform(step);
    bool* made = step.filter == BufferFilter::Sink       ? &sink
                 : step.filter == BufferFilter::Analyser ? &analyser
                                                          : nullptr;
    if (made == nullptr) return done;
    if (step.action == TransitionAction::Create) *made = done.Succeeded();
    if (step.action == TransitionAction::Add && !*made) done.result = kFail;
    return done;
  }
};

const TransitionOptions kFirstStart{true, false, false};
const TransitionOptions kLaterStart{true, true, false};

}  // namespace

TEST(StreamBufferPlanTest, FirstTimeshiftStartMovesTheFiltersCreatesTheSinkAndRecordsItself) {
  FakeTransitionPlatform platform;
  const TransitionOutcome done = RunTransition(StartTimeshiftPlan(kFirstStart), platform);
  EXPECT_TRUE(done.outcome.Succeeded());
  EXPECT_EQ(done.outcome.messages, Messages{});
  EXPECT_EQ(platform.lines,
            (Lines{"check timeshift", "find decoders", "stop live",
                   "remove provider from live", "remove tuner from live",
                   "remove capture from live", "remove demux from live", "remove TIF from live",
                   "remove video decoder from live", "remove audio decoder from live",
                   "remove VMR from live", "remove sound from live",
                   "add provider to sink as ATSC", "add tuner to sink as BDATunerDemod",
                   "add capture to sink as TransportStreamCapture",
                   "add demux to sink as MPEG2Demux", "add TIF to sink as BDATIF",
                   "add audio decoder to source as AUDIO DECODER",
                   "add video decoder to source as VIDEO DECODER",
                   "add sound to source as SoundRenderer", "add VMR to source as VMR",
                   "connect provider -> tuner in sink", "connect tuner -> capture in sink",
                   "connect capture -> demux in sink", "connect demux -> TIF in sink",
                   "create sink in sink as SINK", "create analyser in sink as VSA",
                   "connect demux -> analyser in sink (video)",
                   "connect demux -> sink in sink (audio)", "connect analyser -> sink in sink",
                   "query sink", "configure timeshift", "lock profile timeshift",
                   "remove source from source", "create source in source as SOURCE",
                   "query source", "set stream sink",
                   "connect source -> audio decoder in source (audio)",
                   "connect source -> video decoder in source (video)",
                   "connect video decoder -> VMR in source",
                   "connect audio decoder -> sound in source", "media control sink",
                   "media control source", "volume source", "run sink", "run source",
                   "create recorder timeshift", "query recorder", "start recorder"}));
}

TEST(StreamBufferPlanTest, ModelWithoutCaptureFilterNeverMovesOrConnectsOne) {
  TransitionOptions options = kFirstStart;
  options.hasCapture = false;
  const std::pair<TransitionPlan, std::string> plans[] = {
      {StartTimeshiftPlan(options), "sink"},
      {RecordFromLivePlan(options), "sink"},
      {ReturnToLivePlan(false), "live"},
      {ReturnToLivePlan(false, true), "live"}};
  for (const auto& [plan, graph] : plans) {
    FakeTransitionPlatform platform;
    EXPECT_TRUE(RunTransition(plan, platform).outcome.Succeeded());
    EXPECT_FALSE(Mentions(platform.lines, "capture"));
    EXPECT_TRUE(Has(platform.lines, "connect tuner -> demux in " + graph));
  }
  // The tuner -> demultiplexer failure carries the capture text.
  FakeTransitionPlatform platform;
  platform.failing.insert("connect tuner -> demux in sink");
  const TransitionOutcome failed = RunTransition(StartTimeshiftPlan(options), platform);
  EXPECT_EQ(failed.outcome.messages,
            (Messages{{"CAN'T CONNECT ATI DTV Wonder Digital BDA Capture to MPEG2 DEMUX",
                       BoxStyle::Exclamation}}));
}

TEST(StreamBufferPlanTest, LaterTimeshiftStartsReuseTheSinkAndCheckItsProfile) {
  FakeTransitionPlatform platform;
  RunTransition(StartTimeshiftPlan(kLaterStart), platform);
  EXPECT_TRUE(Has(platform.lines, "add sink to sink as Sink"));
  EXPECT_TRUE(Has(platform.lines, "add analyser to sink as VSA"));
  EXPECT_FALSE(Mentions(platform.lines, "create sink"));

  for (const auto& [failing, text] :
       {std::pair<std::string, std::string>{"lock profile timeshift", "CANT LOCKPROFILE"},
        {"query sink", "CANT QI SBSINK"}}) {
    FakeTransitionPlatform later;
    later.failing.insert(failing);
    const TransitionOutcome done = RunTransition(StartTimeshiftPlan(kLaterStart), later);
    EXPECT_TRUE(done.outcome.Failed());
    EXPECT_TRUE(done.leftGraphsChanged);
    EXPECT_EQ(done.outcome.messages, (Messages{{text, BoxStyle::Plain}}));
    EXPECT_EQ(later.lines.back(), failing);

  }
  // The first start does not check the sink it has just made, but a profile
  // it cannot lock ends it as a later start's does.
  FakeTransitionPlatform unchecked;
  unchecked.failing.insert("query sink");
  EXPECT_TRUE(RunTransition(StartTimeshiftPlan(kFirstStart), unchecked).outcome.Succeeded());
  FakeTransitionPlatform unlocked;
  unlocked.failing.insert("lock profile timeshift");
  const TransitionOutcome refused = RunTransition(StartTimeshiftPlan(kFirstStart), unlocked);
  EXPECT_TRUE(refused.outcome.Failed());
  EXPECT_EQ(refused.outcome.messages, (Messages{{"CANT LOCKPROFILE", BoxStyle::Plain}}));
}

TEST(StreamBufferPlanTest, RecordingFromLiveUsesTheRecordFolderAndReplacesTheOldSource) {
  FakeTransitionPlatform platform;
  platform.failing = {"query sink"};
  const TransitionOutcome done = RunTransition(RecordFromLivePlan(kLaterStart), platform);
  EXPECT_TRUE(done.outcome.Succeeded());
  EXPECT_EQ(platform.lines.front(), "check record");
  EXPECT_TRUE(Has(platform.lines, "configure record"));
  EXPECT_TRUE(Has(platform.lines, "remove source from source"));
  EXPECT_EQ(platform.lines.back(), "start recorder");
  EXPECT_TRUE(Has(platform.lines, "create recorder record"));

  // Without its recorder a recording from live has failed; a timeshift
  // period goes on without its own recording.
  FakeTransitionPlatform unlocked;
  unlocked.failing.insert("lock profile record");
  EXPECT_EQ(RunTransition(RecordFromLivePlan(kLaterStart), unlocked).outcome.messages,
            (Messages{{"CANT LOCKPROFILE", BoxStyle::Plain}}));
  FakeTransitionPlatform record;
  record.failing.insert("create recorder record");
  const TransitionOutcome noRecorder = RunTransition(RecordFromLivePlan(kLaterStart), record);
  EXPECT_TRUE(noRecorder.outcome.Failed());
  EXPECT_EQ(noRecorder.outcome.messages, (Messages{{"CANT CREATE RECORDER", BoxStyle::Plain}}));
  FakeTransitionPlatform timeshift;
  timeshift.failing.insert("create recorder timeshift");
  const TransitionOutcome quiet = RunTransition(StartTimeshiftPlan(kLaterStart), timeshift);
  EXPECT_TRUE(quiet.outcome.Succeeded());
  EXPECT_EQ(quiet.outcome.messages, Messages{});
  EXPECT_EQ(timeshift.lines.back(), "create recorder timeshift");

  for (const auto& [failing, text] :
       {std::pair<std::string, std::string>{"query recorder", "CANT QI RECORDER"},
        {"start recorder", "CANT START"}}) {
    FakeTransitionPlatform later;
    later.failing.insert(failing);
    EXPECT_EQ(RunTransition(RecordFromLivePlan(kLaterStart), later).outcome.messages,
              (Messages{{text, BoxStyle::Plain}}));
  }
}

TEST(StreamBufferPlanTest, MissingFolderRefusesBeforeAnythingMoves) {
  for (const bool record : {false, true}) {
    FakeTransitionPlatform platform;
    platform.failing.insert(record ? "check record" : "check timeshift");
    const TransitionOutcome done = RunTransition(
        record ? RecordFromLivePlan(kFirstStart) : StartTimeshiftPlan(kFirstStart), platform);
    EXPECT_TRUE(done.outcome.Failed());
    EXPECT_FALSE(done.leftGraphsChanged);
    EXPECT_EQ(platform.lines.size(), 1u);
    EXPECT_EQ(done.outcome.messages,
              (Messages{{record ? "NO RECORD FOLDER SET: CHOOSE ONE IN SETUP"
                                : "NO TIMESHIFT FOLDER SET: CHOOSE ONE IN SETUP",
                         BoxStyle::Exclamation}}));
  }
}

TEST(StreamBufferPlanTest, FailuresHalfWayTellTheirTextAndRecoveryRebuildsLiveFromEveryGraph) {
  struct Case {
    const char* failing;
    GraphMessage message;
  };
  for (const Case& c :
       {Case{"create analyser in sink as VSA", {"NO SINK", BoxStyle::Plain}},
        Case{"connect demux -> analyser in sink (video)",
             {"CANT CONNECT FIRST SINK", BoxStyle::Plain}},
        Case{"create source in source as SOURCE",
             {"CAN'T ADD SOURCE FILTER", BoxStyle::Exclamation}},
        Case{"set stream sink", {"CAN'T SETSTREAMSINK", BoxStyle::Exclamation}},
        Case{"connect source -> video decoder in source (video)",
             {"CAN'T CONNECT SOURCE TO VIDEO DECODER", BoxStyle::Exclamation}},
        Case{"media control source", {"CAN'T LOAD MEDIA CONTROL", BoxStyle::Exclamation}}}) {
    FakeTransitionPlatform platform;
    platform.failing.insert(c.failing);
    const TransitionOutcome done = RunTransition(StartTimeshiftPlan(kFirstStart), platform);
    EXPECT_TRUE(done.leftGraphsChanged) << c.failing;
    EXPECT_EQ(done.outcome.messages, Messages{c.message}) << c.failing;
    EXPECT_EQ(platform.lines.back(), c.failing);
  }

  FakeTransitionPlatform recovery;
  const TransitionOutcome back = RunTransition(ReturnToLivePlan(true, true), recovery);
  EXPECT_TRUE(back.outcome.Succeeded());
  for (const char* graph : {"live", "sink", "source"}) {
    EXPECT_TRUE(Has(recovery.lines, std::string("stop ") + graph));
  }
  for (const char* filter : {"provider", "tuner", "capture", "demux", "TIF", "video decoder",
                             "audio decoder", "VMR", "sound"}) {
    EXPECT_TRUE(Has(recovery.lines, std::string("remove ") + filter + " from live")) << filter;
  }
  EXPECT_EQ(recovery.lines.back(), "run live");
  EXPECT_EQ(recovery.lines.end()[-2], "reconnect tables");
}

TEST(StreamBufferPlanTest, ReturnToLiveStopsTheRecorderAndReconnectsUnderTheLiveNames) {
  FakeTransitionPlatform platform;
  const TransitionOutcome done = RunTransition(ReturnToLivePlan(true), platform);
  EXPECT_TRUE(done.outcome.Succeeded());
  EXPECT_EQ(platform.lines.front(), "stop recorder");
  EXPECT_FALSE(Mentions(platform.lines, "from live"));
  EXPECT_FALSE(Mentions(platform.lines, "remove source"));  // stays until the next start
  EXPECT_TRUE(Has(platform.lines, "remove sink from sink"));
  EXPECT_TRUE(Has(platform.lines, "remove analyser from sink"));
  const Lines adds(std::find(platform.lines.begin(), platform.lines.end(),
                             "add provider to live as ATSC"),
                   std::find(platform.lines.begin(), platform.lines.end(),
                             "connect provider -> tuner in live"));
  EXPECT_EQ(adds, (Lines{"add provider to live as ATSC", "add tuner to live as BDATunerDemod",
                         "add capture to live as TransportStreamCapture",
                         "add demux to live as MPEG2Demux", "add TIF to live as BDATIF",
                         "add audio decoder to live as AUDIO DECODER",
                         "add video decoder to live as VIDEO DECODER", "add VMR to live as VMR",
                         "add sound to live as SoundRenderer"}));

  FakeTransitionPlatform failing;
  failing.failing.insert("connect demux -> audio decoder in live (audio)");
  EXPECT_EQ(RunTransition(ReturnToLivePlan(true), failing).outcome.messages,
            (Messages{{"CAN'T CONNECT DEMUX TO AUDIO DECODER", BoxStyle::Exclamation}}));
  // The table branch is connected again before the graph runs; live
  // television does not depend on it.
  EXPECT_EQ(platform.lines.end()[-2], "reconnect tables");
  FakeTransitionPlatform noTables;
  noTables.failing.insert("reconnect tables");
  EXPECT_TRUE(RunTransition(ReturnToLivePlan(true), noTables).outcome.Succeeded());
  EXPECT_EQ(noTables.lines.back(), "run live");
  FakeTransitionPlatform notRunning;
  notRunning.failing.insert("run live");
  EXPECT_EQ(RunTransition(ReturnToLivePlan(true), notRunning).outcome.messages,
            (Messages{{"CAN'T RUN FILTER GRAPH", BoxStyle::Exclamation}}));
}

TEST(StreamBufferPlanTest, ZuluDecoderIsPausedAndRunOnItsOwn) {
  EXPECT_TRUE(PausesVideoDecoder(1, ""));
  EXPECT_TRUE(PausesVideoDecoder(2, "Zulu HDTV DxVA Decoder(BDA)"));
  EXPECT_FALSE(PausesVideoDecoder(2, "Telvantis Test MPEG-2 Video Decoder"));
  EXPECT_FALSE(PausesVideoDecoder(0, ""));
  FakeTransitionPlatform platform;
  RunTransition(StartTimeshiftPlan({true, true, true}), platform);
  const auto at = [&](const char* line) {
    return std::find(platform.lines.begin(), platform.lines.end(), line) - platform.lines.begin();
  };
  EXPECT_EQ(at("pause video decoder"), at("run sink") + 1);
  EXPECT_EQ(at("run video decoder"), at("run source") + 1);
}

TEST(StreamBufferPlanTest, EveryStepThatEndsAMoveTellsWhy) {
  TransitionOptions noCapture = kFirstStart;
  noCapture.hasCapture = false;
  const TransitionPlan plans[] = {StartTimeshiftPlan(kFirstStart),
                                  StartTimeshiftPlan(kLaterStart),
                                  StartTimeshiftPlan({true, true, true}),
                                  RecordFromLivePlan(kFirstStart),
                                  RecordFromLivePlan(kLaterStart),
                                  StartTimeshiftPlan(noCapture),
                                  ReturnToLivePlan(true),
                                  ReturnToLivePlan(false, true),
                                  TimeshiftRecordingPlan()};
  for (const TransitionPlan& plan : plans) {
    for (size_t call = 0; call < plan.size(); ++call) {
      FakeTransitionPlatform platform;
      platform.failingCall = call;
      const TransitionOutcome done = RunTransition(plan, platform);
      if (done.outcome.Failed()) {
        EXPECT_FALSE(done.outcome.messages.empty()) << platform.lines.back();
      }
    }
  }

  FakeTransitionPlatform configure;
  configure.failing.insert("configure record");
  const TransitionOutcome notConfigured = RunTransition(RecordFromLivePlan(kFirstStart), configure);
  EXPECT_TRUE(notConfigured.outcome.Failed());
  EXPECT_TRUE(notConfigured.leftGraphsChanged);
  EXPECT_EQ(notConfigured.outcome.messages,
            (Messages{{"CANT CONFIGURE STREAM BUFFER", BoxStyle::Plain}}));
  for (const auto& [plan, failing, text] :
       {std::tuple<TransitionPlan, std::string, std::string>{
            StartTimeshiftPlan(kLaterStart), "add analyser to sink as VSA",
            "CAN'T ADD VSA TO SINK GRAPH"},
        {StartTimeshiftPlan(kFirstStart), "add video decoder to source as VIDEO DECODER",
         "CAN'T ADD VIDEO DECODER TO SOURCE GRAPH"},
        {ReturnToLivePlan(true), "add TIF to live as BDATIF", "CAN'T ADD BDATIF TO LIVE GRAPH"}}) {
    FakeTransitionPlatform platform;
    platform.failing.insert(failing);
    EXPECT_EQ(RunTransition(plan, platform).outcome.messages,
              (Messages{{text, BoxStyle::Exclamation}}));
  }
}

TEST(StreamBufferPlanTest, SinkMadeWithoutItsAnalyserIsMadeAgainWithIt) {
  SinkKeepingPlatform platform;
  platform.failing.insert("create analyser in sink as VSA");
  TransitionOptions options = StartOptions(nullptr, "", platform.sink, platform.analyser);
  EXPECT_EQ(RunTransition(StartTimeshiftPlan(options), platform).outcome.messages,
            (Messages{{"NO SINK", BoxStyle::Plain}}));
  ASSERT_TRUE(platform.sink);
  ASSERT_FALSE(platform.analyser);

  // The next starts, timeshift or recording, make the pair and succeed.
  platform.failing.clear();
  for (const bool record : {false, true}) {
    platform.lines.clear();
    options = StartOptions(nullptr, "", platform.sink, platform.analyser);
    const TransitionOutcome done = RunTransition(
        record ? RecordFromLivePlan(options) : StartTimeshiftPlan(options), platform);
    EXPECT_TRUE(done.outcome.Succeeded()) << platform.lines.back();
    EXPECT_EQ(Has(platform.lines, "create sink in sink as SINK"), !record);
  }
  // Made together, they are used again together.
  EXPECT_TRUE(StartOptions(nullptr, "", true, true).sinkExists);
}

TEST(StreamBufferPlanTest, SkipsMoveByTheAmountAndNeverBeforeTheStart) {
  const long long kLive = 200 * kUnitsPerSecond;
  EXPECT_EQ(PositionAfterSkip(100 * kUnitsPerSecond, 300'000'000, kLive), 130 * kUnitsPerSecond);
  EXPECT_EQ(PositionAfterSkip(100 * kUnitsPerSecond, 300'000'000, std::nullopt),
            130 * kUnitsPerSecond);
  // A position that cannot be read: to the live edge, never from the start.
  EXPECT_EQ(PositionAfterSkip(std::nullopt, 300'000'000, kLive), kLive);
  EXPECT_EQ(PositionAfterSkip(std::nullopt, 300'000'000, std::nullopt), std::nullopt);
  EXPECT_EQ(PositionAfterSkipBack(10 * kUnitsPerSecond, 15 * kUnitsPerSecond), 0);
  EXPECT_EQ(PositionAfterSkipBack(40 * kUnitsPerSecond, 15 * kUnitsPerSecond),
            25 * kUnitsPerSecond);
}

TEST(StreamBufferPlanTest, ATimeHoleIsSkippedToItsEndOtherEventsMoveNothing) {
  // A hole from 15 s lasting 30 s: playback goes on at 45 s.
  EXPECT_EQ(PositionAfterEvent(0x0326, 15'000, 30'000, 0), 45 * kUnitsPerSecond);
  // The buffer's start moved past the hole's end meanwhile: from there.
  EXPECT_EQ(PositionAfterEvent(0x0326, 15'000, 30'000, 50 * kUnitsPerSecond), 50 * kUnitsPerSecond);
  // A hole of no length, and other events (complete, the write failure).
  EXPECT_EQ(PositionAfterEvent(0x0326, 15'000, 0, 0), std::nullopt);
  for (long news : {0x01L, 0x0326L + 4}) EXPECT_EQ(PositionAfterEvent(news, 15'000, 30'000, 0), std::nullopt);
}
