#include "standin/demux/TsDemuxCore.h"

#include <gtest/gtest.h>

#include <map>

#include "core/ts/PsipCollector.h"
#include "tools/tsgen/TestStreamMuxer.h"

namespace {

constexpr int kVideo = 1;
constexpr int kAudio = 2;
constexpr int kTables = 3;

std::vector<std::uint8_t> ThreePrograms(double seconds, StreamDamage damage = StreamDamage::None) {
  TestStreamSettings settings;
  settings.seconds = seconds;
  settings.damage = damage;
  settings.programs = {{1, 0x30, 1280, 720, true}, {2, 0x40, 720, 480, false}, {3, 0x50, 720, 480, true}};
  std::vector<std::uint8_t> bytes;
  TestStreamMuxer(settings).Write(
      [&](const std::uint8_t* d, std::size_t n) { bytes.insert(bytes.end(), d, d + n); });
  return bytes;
}

struct Received {
  std::map<int, std::vector<DemuxSample>> samples;

  TsDemuxCore::SampleHandler Handler() {
    return [this](DemuxSample&& s) { samples[s.output].push_back(std::move(s)); };
  }
};

void FeedInChunks(TsDemuxCore& core, std::span<const std::uint8_t> bytes, Received& received,
                  std::size_t chunk = 51200, std::optional<std::int64_t> now = std::nullopt) {
  const auto handler = received.Handler();
  for (std::size_t at = 0; at < bytes.size(); at += chunk) {
    core.Feed(bytes.subspan(at, std::min(chunk, bytes.size() - at)), now, handler);
  }
}

// The width and height of the first sequence header in a video sample.
std::pair<int, int> FrameSize(const std::vector<std::uint8_t>& es) {
  for (std::size_t i = 0; i + 7 < es.size(); ++i) {
    if (es[i] == 0 && es[i + 1] == 0 && es[i + 2] == 1 && es[i + 3] == 0xB3) {
      return {(es[i + 4] << 4) | (es[i + 5] >> 4), ((es[i + 5] & 0x0F) << 8) | es[i + 6]};
    }
  }
  return {0, 0};
}

void ExpectRisingTimes(const std::vector<DemuxSample>& samples) {
  for (std::size_t i = 1; i < samples.size(); ++i) {
    ASSERT_TRUE(samples[i].pts && samples[i].time);
    ASSERT_GT(*samples[i].pts, *samples[i - 1].pts);
    ASSERT_GT(*samples[i].time, *samples[i - 1].time);
  }
}

}  // namespace

// The TS player's use: one PID on each of two outputs, as elementary streams.
TEST(TsDemuxCoreTest, MappedPidsOnlyReachTheirOutputs) {
  const auto bytes = ThreePrograms(2.0);
  TsDemuxCore core;
  ASSERT_TRUE(core.MapPid(kVideo, 0x41, PidContent::ElementaryStream));
  ASSERT_TRUE(core.MapPid(kAudio, 0x44, PidContent::ElementaryStream));
  Received received;
  FeedInChunks(core, bytes, received);

  ASSERT_EQ(received.samples.size(), 2u);
  const auto& video = received.samples[kVideo];
  const auto& audio = received.samples[kAudio];
  // 29.97 pictures and 31.25 AC-3 frames a second.
  EXPECT_NEAR(static_cast<double>(video.size()), 60.0, 2.0);
  EXPECT_NEAR(static_cast<double>(audio.size()), 62.0, 2.0);
  EXPECT_EQ(FrameSize(video.front().data), std::make_pair(720, 480)) << "program 2's pictures";
  EXPECT_TRUE(video.front().syncPoint);
  EXPECT_EQ(audio.front().data.size(), 768u);
  EXPECT_EQ(audio.front().data[0], 0x0B);
  EXPECT_EQ(audio.front().data[1], 0x77);
  ExpectRisingTimes(video);
  ExpectRisingTimes(audio);
  // A file read faster than real time starts at the first PTS.
  EXPECT_EQ(video.front().time, TimestampMapper::kFileLead);
  EXPECT_EQ(core.Mapping(kVideo), (std::vector<PidMapping>{{0x41, PidContent::ElementaryStream}}));
}

// The TS player's program change: unmap the old PIDs, map the new ones.
TEST(TsDemuxCoreTest, RemappingSwitchesPrograms) {
  const auto bytes = ThreePrograms(1.0);
  TsDemuxCore core;
  core.MapPid(kVideo, 0x41, PidContent::ElementaryStream);
  Received first;
  FeedInChunks(core, std::span(bytes).first(bytes.size() / 2), first);
  EXPECT_FALSE(core.UnmapPid(kVideo, 0x51)) << "never mapped";
  EXPECT_TRUE(core.UnmapPid(kVideo, 0x41));
  EXPECT_TRUE(core.Mapping(kVideo).empty());
  core.MapPid(kVideo, 0x31, PidContent::ElementaryStream);
  Received second;
  FeedInChunks(core, std::span(bytes).subspan(bytes.size() / 2), second);
  ASSERT_FALSE(first.samples[kVideo].empty());
  ASSERT_FALSE(second.samples[kVideo].empty());
  EXPECT_EQ(FrameSize(first.samples[kVideo].front().data), std::make_pair(720, 480));
  // The first whole picture of program 1 after the change.
  EXPECT_EQ(FrameSize(second.samples[kVideo].front().data), std::make_pair(1280, 720));
  EXPECT_TRUE(second.samples[kVideo].front().discontinuity);
}

TEST(TsDemuxCoreTest, PidsOutOfRangeAreRefused) {
  TsDemuxCore core;
  EXPECT_FALSE(core.MapPid(kVideo, 0x2000, PidContent::ElementaryStream));
  EXPECT_TRUE(core.Mapping(kVideo).empty());
}

// Behind a tuner: the tables say which PIDs carry the program.
TEST(TsDemuxCoreTest, FollowsAProgramThroughItsTables) {
  const auto bytes = ThreePrograms(1.0);
  TsDemuxCore core;
  core.FollowProgram(3, {kVideo, kAudio, kTables});
  Received received;
  FeedInChunks(core, std::span(bytes).first(bytes.size() / 2), received);
  EXPECT_EQ(core.Followed(), (FollowedPids{0x50, 0x51, 0x54, 0x51}));
  EXPECT_EQ(core.Mapping(kVideo), (std::vector<PidMapping>{{0x51, PidContent::ElementaryStream}}));
  ASSERT_FALSE(received.samples[kVideo].empty());
  EXPECT_EQ(FrameSize(received.samples[kVideo].front().data), std::make_pair(720, 480));
  EXPECT_FALSE(received.samples[kAudio].empty());
  // The tables output gets the PAT and program 3's PMT, nothing else.
  std::set<std::uint8_t> tableIds;
  for (const DemuxSample& s : received.samples[kTables]) {
    tableIds.insert(s.data[0]);
    if (s.data[0] == kPmtTableId) {
      EXPECT_EQ(ParsePmt(s.data)->programNumber, 3);
    }
  }
  EXPECT_EQ(tableIds, (std::set<std::uint8_t>{kPatTableId, kPmtTableId}));

  // A new tune request: the old PIDs go at once, the new ones come with the tables.
  core.FollowProgram(1, {kVideo, kAudio, kTables});
  EXPECT_TRUE(core.Mapping(kVideo).empty());
  Received after;
  FeedInChunks(core, std::span(bytes).subspan(bytes.size() / 2), after);
  EXPECT_EQ(core.Followed().video, 0x31);
  ASSERT_FALSE(after.samples[kVideo].empty());
  EXPECT_EQ(FrameSize(after.samples[kVideo].front().data), std::make_pair(1280, 720));
  EXPECT_TRUE(after.samples[kVideo].front().discontinuity);

  // A program the stream does not carry maps nothing.
  core.FollowProgram(9, {kVideo, kAudio, kTables});
  Received none;
  FeedInChunks(core, bytes, none);
  EXPECT_TRUE(none.samples[kVideo].empty());
  EXPECT_TRUE(none.samples[kAudio].empty());
}

// A live source: times follow the clock passed in, and a looping source
// (the clock starting again) is marked as a discontinuity.
TEST(TsDemuxCoreTest, LiveTimesFollowThePcrAndMarkALoop) {
  const auto bytes = ThreePrograms(1.0);
  TsDemuxCore core;
  core.FollowProgram(2, {kVideo, -1, -1});
  Received received;
  FeedInChunks(core, bytes, received, 51200, 100'000'000);
  FeedInChunks(core, bytes, received, 51200, 200'000'000);
  const auto& video = received.samples[kVideo];
  ASSERT_GT(video.size(), 20u);
  EXPECT_EQ(core.Counts().clockJumps, 1);
  std::size_t loop = 0;
  for (std::size_t i = 1; i < video.size(); ++i) {
    if (*video[i].pts < *video[i - 1].pts) loop = i;
  }
  ASSERT_GT(loop, 0u);
  EXPECT_TRUE(video[loop].discontinuity);
  // The first pictures are stamped half a second or so after the PCR that
  // tied the clock; after the loop, after the second "now".
  for (std::size_t i = 0; i < loop; ++i) {
    if (video[i].time) {
      EXPECT_GE(*video[i].time, 100'000'000);
    }
  }
  EXPECT_GE(*video[loop].time, 200'000'000);
  EXPECT_LT(*video[loop].time, 210'000'000);
}

TEST(TsDemuxCoreTest, OtherContentTypes) {
  const auto bytes = ThreePrograms(0.5);
  TsDemuxCore core;
  core.MapPid(kVideo, 0x44, PidContent::TransportPacket);
  core.MapPid(kTables, kPatPid, PidContent::Sections);
  Received received;
  FeedInChunks(core, bytes, received, 188 * 7);
  std::size_t packets = 0;
  for (const DemuxSample& s : received.samples[kVideo]) {
    ASSERT_EQ(s.data.size() % kTsPacketSize, 0u);
    for (std::size_t at = 0; at < s.data.size(); at += kTsPacketSize, ++packets) {
      ASSERT_EQ(TsPacket::FromBytes(std::span(s.data).subspan(at)).Pid(), 0x44);
    }
  }
  EXPECT_GT(packets, 20u);
  ASSERT_FALSE(received.samples[kTables].empty());
  EXPECT_EQ(ParsePat(received.samples[kTables].front().data)->programs.size(), 3u);
}

// Damaged input never stops the flow: what survives is delivered, the damage
// is counted.
TEST(TsDemuxCoreTest, DamagedStreamsAreCountedNotFatal) {
  for (StreamDamage damage : {StreamDamage::LostSync, StreamDamage::TruncatedPackets}) {
    const auto bytes = ThreePrograms(2.0, damage);
    TsDemuxCore core;
    core.FollowProgram(1, {kVideo, kAudio, -1});
    Received received;
    FeedInChunks(core, bytes, received, 1000);
    EXPECT_GT(received.samples[kVideo].size(), 30u);
    EXPECT_GT(received.samples[kAudio].size(), 30u);
    EXPECT_GT(core.Counts().alignment.resyncs, 0u);
  }
  // Without a PAT a followed program is never found; mapped PIDs still flow.
  const auto noPat = ThreePrograms(1.0, StreamDamage::NoPat);
  TsDemuxCore core;
  core.FollowProgram(1, {kVideo, -1, -1});
  core.MapPid(kAudio, 0x34, PidContent::ElementaryStream);
  Received received;
  FeedInChunks(core, noPat, received);
  EXPECT_TRUE(received.samples[kVideo].empty());
  EXPECT_FALSE(received.samples[kAudio].empty());
}

TEST(TsDemuxCoreTest, ResetStartsTheTimesAgainAndMarksTheCut) {
  const auto bytes = ThreePrograms(1.0);
  TsDemuxCore core;
  core.MapPid(kVideo, 0x31, PidContent::ElementaryStream);
  Received before;
  FeedInChunks(core, std::span(bytes).first(bytes.size() / 2), before);
  core.Reset();
  Received after;
  FeedInChunks(core, std::span(bytes).subspan(bytes.size() / 2), after);
  ASSERT_FALSE(after.samples[kVideo].empty());
  EXPECT_TRUE(after.samples[kVideo].front().discontinuity);
  EXPECT_EQ(after.samples[kVideo].front().time, TimestampMapper::kFileLead);

  // What is still collected at the end comes out at the end of the stream.
  Received last;
  core.EndOfStream(last.Handler());
  EXPECT_EQ(last.samples[kVideo].size(), 1u);
}

// A PID mapped for sections hands out each PSI section whole, one per
// sample, however the bytes are chunked: the channel table of eight
// channels spans two packets and must come out in one piece.
TEST(TsDemuxCoreTest, SectionsOfTheChannelTablePidComeWholeOnePerSample) {
  TestStreamSettings settings;
  settings.seconds = 1.0;
  settings.programs = {{1, 0x30, 720, 480, true}, {2, 0x40, 720, 480, false}};
  for (int minor = 1; minor <= 8; ++minor) {
    settings.channels.push_back({33, minor, static_cast<std::uint16_t>(1 + minor % 2),
                                 "WTTT" + std::to_string(minor), minor == 4});
  }
  std::vector<std::uint8_t> bytes;
  TestStreamMuxer(settings).Write(
      [&](const std::uint8_t* d, std::size_t n) { bytes.insert(bytes.end(), d, d + n); });
  TsDemuxCore core;
  core.MapPid(kTables, 0x1FFB, PidContent::Sections);
  Received received;
  FeedInChunks(core, bytes, received, 1000);
  const auto& sections = received.samples[kTables];
  ASSERT_GE(sections.size(), 4u);
  PsipCollector collector;
  bool spansPackets = false;
  for (const DemuxSample& s : sections) {
    ASSERT_GE(s.data.size(), 3u);
    const std::size_t length = ((s.data[1] & 0x0F) << 8 | s.data[2]) + 3u;
    EXPECT_EQ(s.data.size(), length);
    spansPackets = spansPackets || s.data.size() > 183;
    collector.Feed(s.data);
  }
  EXPECT_TRUE(spansPackets);
  EXPECT_EQ(collector.DamagedSections(), 0);
  ASSERT_TRUE(collector.CompleteTvct());
  ASSERT_EQ(collector.CompleteTvct()->channels.size(), 8u);
  EXPECT_EQ(collector.CompleteTvct()->channels[7].shortName, "WTTT8");
  EXPECT_TRUE(collector.CompleteTvct()->channels[3].hidden);
}
