#include "TestStreamMuxer.h"

#include <gtest/gtest.h>

#include <map>

#include "core/ts/EventInformationTable.h"
#include "core/ts/ExtendedTextTable.h"
#include "core/ts/PesAssembler.h"
#include "core/ts/PsiTables.h"
#include "core/ts/PsipCollector.h"
#include "core/ts/SectionAssembler.h"

namespace {

std::vector<std::uint8_t> Generate(const TestStreamSettings& settings, bool* inTime = nullptr) {
  std::vector<std::uint8_t> bytes;
  TestStreamMuxer muxer(settings);
  const bool ok = muxer.Write([&](const std::uint8_t* d, std::size_t n) { bytes.insert(bytes.end(), d, d + n); });
  if (inTime) *inTime = ok;
  return bytes;
}

TestStreamSettings ThreePrograms(double seconds) {
  TestStreamSettings settings;
  settings.seconds = seconds;
  settings.programs = {{1, 0x30, 1280, 720, true}, {2, 0x40, 720, 480, false}, {3, 0x50, 720, 480, true}};
  return settings;
}

// What a receiver finds in a stream: tables, clock references and PES time stamps.
struct StreamReport {
  std::size_t packets = 0;
  bool allSynced = true;
  std::optional<PatTable> pat;
  std::map<std::uint16_t, PmtTable> pmts;
  std::map<std::uint16_t, std::vector<std::pair<std::size_t, Pcr27>>> pcrs;  // packet index, PCR
  std::map<std::uint16_t, std::vector<std::uint64_t>> pts;
  std::map<std::uint16_t, std::vector<std::uint8_t>> firstUnit;
};

StreamReport Receive(const std::vector<std::uint8_t>& bytes) {
  StreamReport report;
  std::map<std::uint16_t, SectionAssembler> sections;
  std::map<std::uint16_t, PesAssembler> pes;
  for (std::size_t at = 0; at + kTsPacketSize <= bytes.size(); at += kTsPacketSize) {
    const TsPacket packet = TsPacket::FromBytes(std::span(bytes).subspan(at));
    report.allSynced = report.allSynced && packet.HasSync();
    const std::uint16_t pid = packet.Pid();
    if (auto pcr = packet.Pcr()) report.pcrs[pid].emplace_back(report.packets, *pcr);
    ++report.packets;
    if (pid == kNullPid) continue;
    if (pid == kPatPid || (pid & 0x0F) == 0) {
      sections.try_emplace(pid, [&report, pid](auto section) {
        if (pid == kPatPid) report.pat = ParsePat(section);
        else if (auto pmt = ParsePmt(section)) report.pmts[pid] = *pmt;
      }).first->second.Feed(packet);
    } else {
      pes.try_emplace(pid, [&report, pid](const PesPayload& p) {
        report.pts[pid].push_back(p.pts.value_or(0));
        if (report.firstUnit[pid].empty()) report.firstUnit[pid].assign(p.data.begin(), p.data.end());
      }).first->second.Feed(packet);
    }
  }
  return report;
}

// Six channels: a TVCT of 208 bytes, sent in two packets.
std::vector<TestChannel> SixChannels() {
  return {{33, 1, 1, "WTTT", false},    {33, 2, 2, "WTTT 2", false},
          {33, 3, 3, "WTTT3", false},   {33, 4, 4, "", true},
          {33, 5, 5, "caf\xC3\xA9", false}, {33, 10, 3, "ABCDEFG", false}};
}

// What a channel scan reads from the PID 0x1FFB: the tables, every system
// time sent, and the stream time (seconds) at which each section came whole.
struct PsipReport {
  PsipCollector collector;
  std::vector<Stt> times;
  std::map<std::uint8_t, std::vector<double>> arrivals;  // per table id
  std::size_t packets = 0;
  int dropped = 0;
};

PsipReport ReceivePsip(const std::vector<std::uint8_t>& bytes) {
  PsipReport report;
  std::size_t index = 0;
  SectionAssembler assembler([&](std::span<const std::uint8_t> section) {
    report.collector.Feed(section);
    report.arrivals[section[0]].push_back(index * 1504.0 / 19392658);
    if (auto stt = ParseSttSection(section)) report.times.push_back(stt->part);
  });
  for (; (index + 1) * kTsPacketSize <= bytes.size(); ++index) {
    const TsPacket packet = TsPacket::FromBytes(std::span(bytes).subspan(index * kTsPacketSize));
    if (packet.Pid() != 0x1FFB) continue;
    ++report.packets;
    assembler.Feed(packet);
  }
  report.dropped = assembler.DroppedSections();
  return report;
}

// What a guide reader finds on the PID 0x1FFB and the guide tables' PIDs:
// the MGT, every EIT and ETT section sent (parsed), per PID.
struct GuideReport {
  std::optional<Mgt> mgt;
  std::map<std::uint16_t, std::vector<Eit>> eits;  // per PID, every section as sent
  std::map<std::uint16_t, std::vector<Ett>> etts;
  std::map<std::uint16_t, std::map<std::pair<int, int>, std::size_t>> sectionBytes;  // per PID: (id, number) -> size
  int damaged = 0;
};

GuideReport ReceiveGuide(const std::vector<std::uint8_t>& bytes) {
  GuideReport report;
  std::map<std::uint16_t, SectionAssembler> assemblers;
  for (std::size_t at = 0; at + kTsPacketSize <= bytes.size(); at += kTsPacketSize) {
    const TsPacket packet = TsPacket::FromBytes(std::span(bytes).subspan(at));
    const std::uint16_t pid = packet.Pid();
    if (pid != 0x1FFB && (pid < 0x1D00 || pid > 0x1E7F)) continue;
    assemblers.try_emplace(pid, [&report, pid](std::span<const std::uint8_t> section) {
      if (section[0] == 0xC7 && !report.mgt) {
        if (auto mgt = ParseMgtSection(section)) report.mgt = mgt->part;
        else ++report.damaged;
      } else if (section[0] == 0xCB) {
        const auto eit = ParseEitSection(section);
        if (!eit) return void(++report.damaged);
        report.eits[pid].push_back(eit->part);
        report.sectionBytes[pid][{eit->header.idExtension, eit->header.sectionNumber}] = section.size();
      } else if (section[0] == 0xCC) {
        const auto ett = ParseEttSection(section);
        if (!ett) return void(++report.damaged);
        report.etts[pid].push_back(ett->part);
        report.sectionBytes[pid][{ett->header.idExtension, 0}] = section.size();
      }
    }).first->second.Feed(packet);
  }
  return report;
}

// Three channels of RF 33, the stream starting at 02:58:30 UTC (GPS
// 1448938728), so its start minute is 02:58 and EIT-0 holds 0:00 to 3:00.
TestStreamSettings GuideStation() {
  TestStreamSettings settings = ThreePrograms(4.0);
  settings.transportStreamId = 33;
  settings.gpsStartTime = 1'448'938'728;
  settings.channels = {{33, 1, 1, "WTTT", false}, {33, 2, 2, "WTTT2", false}, {33, 4, 4, "WTTT4", true}};
  settings.guide = TestGuide{{
      {33, 1,
       {{0, 120, "Morning", "Coffee and news.", 1},
        {120, 60, "\xCE\x9D\xCE\xAD\xCE\xB1 News", "From Athens.", 2},
        {302, 30, "Late", "", 3},
        {602, 30, "Far", "", 4}}},
      {33, 2, {}},
      {9, 1, {{0, 60, "Not on this station", "", 5}}},
  }};
  for (int i = 0; i < 5; ++i) settings.guide->channels[1].programmes.push_back({2 + 3 * i, 2, "Quiz", "Q.", 6});
  return settings;
}

constexpr std::uint32_t kStartMinuteGps = 1'448'938'698;  // 02:58:00 UTC

}  // namespace

TEST(TestStreamMuxerTest, ThreeProgramsWithTablesClockAndTimeStamps) {
  bool inTime = false;
  const auto bytes = Generate(ThreePrograms(2.0), &inTime);
  EXPECT_TRUE(inTime);
  ASSERT_EQ(bytes.size() % kTsPacketSize, 0u);
  const StreamReport report = Receive(bytes);
  EXPECT_TRUE(report.allSynced);
  EXPECT_EQ(report.packets, static_cast<std::size_t>(2.0 * 19392658 / 1504));

  ASSERT_TRUE(report.pat);
  ASSERT_EQ(report.pat->programs.size(), 3u);
  EXPECT_EQ(report.pat->programs[1], (PatEntry{2, 0x40}));
  ASSERT_EQ(report.pmts.count(0x40), 1u);
  EXPECT_EQ(report.pmts.at(0x40).FindStream(kStreamTypeMpeg2Video), 0x41);
  EXPECT_EQ(report.pmts.at(0x40).FindStream(kStreamTypeAc3Audio), 0x44);
  EXPECT_EQ(report.pmts.at(0x40).pcrPid, 0x41);

  // Each PCR matches the byte position at the mux rate: the stream is paced.
  for (std::uint16_t pid : {0x31, 0x41, 0x51}) {
    const auto& pcrs = report.pcrs.at(pid);
    ASSERT_GE(pcrs.size(), 60u) << pid;
    for (std::size_t i = 1; i < pcrs.size(); ++i) {
      const double expected = (pcrs[i].first - pcrs[0].first) * 1504.0 * 27e6 / 19392658;
      EXPECT_NEAR(static_cast<double>(pcrs[i].second - pcrs[0].second), expected, 1.0);
      EXPECT_LE(pcrs[i].second - pcrs[i - 1].second, 27000000u * 4 / 100);
    }
  }
  // Pictures every 1001/30000 s, AC-3 frames every 32 ms.
  const auto& videoPts = report.pts.at(0x41);
  ASSERT_GE(videoPts.size(), 55u);
  for (std::size_t i = 1; i < videoPts.size(); ++i) EXPECT_EQ(videoPts[i] - videoPts[i - 1], 3003u);
  const auto& audioPts = report.pts.at(0x44);
  ASSERT_GE(audioPts.size(), 55u);
  EXPECT_EQ(audioPts[1] - audioPts[0], 2880u);
  // The first PTS lies ahead of the clock of the packet that carried it.
  EXPECT_GT(videoPts[0] * 300, report.pcrs.at(0x41)[0].second);
}

TEST(TestStreamMuxerTest, ElementaryStreamsStartWithTheirHeaders) {
  const StreamReport report = Receive(Generate(ThreePrograms(0.5)));
  const auto& video = report.firstUnit.at(0x41);
  ASSERT_GE(video.size(), 12u);
  EXPECT_EQ(std::vector<std::uint8_t>(video.begin(), video.begin() + 4),
            (std::vector<std::uint8_t>{0, 0, 1, 0xB3}));
  EXPECT_EQ((video[4] << 4) | (video[5] >> 4), 720);
  EXPECT_EQ(((video[5] & 0x0F) << 8) | video[6], 480);
  EXPECT_EQ(video[7] >> 4, 2);  // 4:3
  const auto& audio = report.firstUnit.at(0x44);
  ASSERT_EQ(audio.size(), 768u);
  EXPECT_EQ(audio[0], 0x0B);
  EXPECT_EQ(audio[1], 0x77);
}

TEST(TestStreamMuxerTest, GivenPidsAreAnnouncedAndCarried) {
  TestStreamSettings settings;
  settings.seconds = 1;
  TestProgram program{1, 0x30, 1280, 720, true};
  program.videoPid = 0x100;
  program.audioPid = 0x104;
  settings.programs = {program};
  const StreamReport report = Receive(Generate(settings));
  ASSERT_TRUE(report.pmts.contains(0x30));
  EXPECT_EQ(report.pmts.at(0x30).FindStream(kStreamTypeMpeg2Video), 0x100);
  EXPECT_EQ(report.pmts.at(0x30).FindStream(kStreamTypeAc3Audio), 0x104);
  EXPECT_TRUE(report.pcrs.contains(0x100));  // the clock rides on the video PID
}

TEST(TestStreamMuxerTest, SameSettingsGiveTheSameBytes) {
  EXPECT_EQ(Generate(ThreePrograms(0.3)), Generate(ThreePrograms(0.3)));
}

TEST(TestStreamMuxerTest, TooManyProgramsForTheRateAreReported) {
  TestStreamSettings settings = ThreePrograms(1.0);
  settings.muxRate = 2000000;
  bool inTime = true;
  Generate(settings, &inTime);
  EXPECT_FALSE(inTime);
}

TEST(TestStreamMuxerTest, DamagedStreams) {
  TestStreamSettings settings = ThreePrograms(1.0);
  settings.damage = StreamDamage::NoPat;
  const StreamReport noPat = Receive(Generate(settings));
  EXPECT_FALSE(noPat.pat);
  EXPECT_EQ(noPat.pmts.size(), 3u);

  settings.damage = StreamDamage::TruncatedPackets;
  EXPECT_NE(Generate(settings).size() % kTsPacketSize, 0u);

  settings.damage = StreamDamage::LostSync;
  const auto lost = Generate(settings);
  EXPECT_FALSE(Receive(lost).allSynced);
}

TEST(TestStreamMuxerTest, ChannelTablesAnnounceTheGivenChannelsAtTheirRates) {
  TestStreamSettings settings = ThreePrograms(2.0);
  EXPECT_EQ(ReceivePsip(Generate(settings)).packets, 0u);  // no channels: no tables

  settings.transportStreamId = 33;
  settings.channels = SixChannels();
  settings.gpsStartTime = 1'449'000'000;
  bool inTime = false;
  const PsipReport report = ReceivePsip(Generate(settings, &inTime));
  EXPECT_TRUE(inTime);
  EXPECT_EQ(report.collector.DamagedSections(), 0);
  EXPECT_EQ(report.dropped, 0);

  ASSERT_TRUE(report.collector.CompleteTvct());
  const Tvct& tvct = *report.collector.CompleteTvct();
  EXPECT_EQ(tvct.transportStreamId, 33);
  EXPECT_EQ(tvct.version, 0);
  ASSERT_EQ(tvct.channels.size(), 6u);
  std::vector<std::string> names;
  std::vector<bool> hidden;
  for (const VirtualChannel& c : tvct.channels) {
    names.push_back(c.shortName);
    hidden.push_back(c.hidden);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"WTTT", "WTTT 2", "WTTT3", "", "caf\xC3\xA9", "ABCDEFG"}));
  EXPECT_EQ(hidden, (std::vector<bool>{false, false, false, true, false, false}));
  const VirtualChannel& last = tvct.channels[5];
  EXPECT_EQ((std::vector<int>{last.major, last.minor, last.programNumber, last.sourceId}),
            (std::vector<int>{33, 10, 3, 3}));
  EXPECT_EQ(last.serviceType, 0x02);
  EXPECT_EQ(last.modulationMode, 0x04);
  EXPECT_EQ(last.channelTsid, 33);
  EXPECT_EQ(last.carrierFrequency, 0u);
  EXPECT_EQ(last.etmLocation, 0);
  EXPECT_FALSE(last.hideGuide);

  ASSERT_TRUE(report.collector.CompleteMgt());
  EXPECT_EQ(report.collector.CompleteMgt()->tables,
            (std::vector<MgtEntry>{{0x0000, 0x1FFB, 0, 208, {}}}));

  // The clock starts at the given time, runs with the stream and converts
  // back to the Unix time of generation.
  ASSERT_EQ(report.times.size(), 2u);
  EXPECT_EQ(report.times[0].systemTime, 1'449'000'000u);
  EXPECT_EQ(report.times[1].systemTime, 1'449'000'001u);
  EXPECT_EQ(report.times[0].gpsUtcOffset, 18);
  EXPECT_EQ(UtcUnixSeconds(report.times[0]), 1'764'964'782);

  // MGT every 150 ms, TVCT every 400 ms, STT every second, each on time
  // within a few packets, in 16 packets a second all told.
  const std::map<std::uint8_t, std::pair<double, std::size_t>> expected{
      {0xC7, {0.150, 14}}, {0xC8, {0.400, 5}}, {0xCD, {1.0, 2}}};
  for (const auto& [tableId, rate] : expected) {
    const auto& at = report.arrivals.at(tableId);
    ASSERT_EQ(at.size(), rate.second) << int{tableId};
    for (std::size_t i = 1; i < at.size(); ++i) EXPECT_NEAR(at[i] - at[i - 1], rate.first, 0.001);
  }
  EXPECT_LE(report.packets, 2 * 16u);
}

// A receiver counts a lost packet wherever a PID's continuity counter does
// not step by one from payload to payload, or changes on a packet that only
// carries a clock reference.
TEST(TestStreamMuxerTest, ContinuityCountersFollowTheRule) {
  TestStreamSettings settings = ThreePrograms(2.0);
  settings.channels = SixChannels();  // tables of two packets on the PID 0x1FFB
  const std::vector<std::uint8_t> bytes = Generate(settings);
  std::map<std::uint16_t, int> last;
  std::size_t faults = 0;
  std::size_t withoutPayload = 0;
  for (std::size_t at = 0; at + kTsPacketSize <= bytes.size(); at += kTsPacketSize) {
    const TsPacket packet = TsPacket::FromBytes(std::span(bytes).subspan(at, kTsPacketSize));
    if (packet.Pid() == kNullPid) continue;
    const int counter = packet.ContinuityCounter();
    if (!packet.HasPayload()) ++withoutPayload;
    const auto found = last.find(packet.Pid());
    if (found != last.end()) {
      const int expected = packet.HasPayload() ? (found->second + 1) & 0x0F : found->second;
      if (counter != expected) ++faults;
    }
    last[packet.Pid()] = counter;
  }
  EXPECT_GT(withoutPayload, 0u);  // the case is exercised
  EXPECT_EQ(0u, faults);
}

// EIT-0 to EIT-3 for every channel, each programme in the three hours that
// hold its start, descriptions in the ETT of the same hours, all listed by
// the MGT with their sizes, and each table sent at its own rate.
TEST(TestStreamMuxerTest, AGuideIsSentInEventAndTextTablesThatTheMgtLists) {
  bool inTime = false;
  const GuideReport report = ReceiveGuide(Generate(GuideStation(), &inTime));
  EXPECT_TRUE(inTime);
  EXPECT_EQ(report.damaged, 0);
  ASSERT_TRUE(report.mgt);
  std::vector<std::pair<int, int>> listed;  // table type, PID
  for (const MgtEntry& entry : report.mgt->tables) {
    listed.emplace_back(entry.tableType, entry.pid);
    if (entry.tableType == 0) continue;
    std::uint32_t bytes = 0;
    for (const auto& [key, size] : report.sectionBytes.at(entry.pid)) bytes += static_cast<std::uint32_t>(size);
    EXPECT_EQ(entry.byteCount, bytes) << entry.tableType;
  }
  EXPECT_EQ(listed, (std::vector<std::pair<int, int>>{{0x0000, 0x1FFB},
                                                      {0x0100, 0x1D00}, {0x0101, 0x1D01}, {0x0102, 0x1D02},
                                                      {0x0103, 0x1D03}, {0x0200, 0x1E00}, {0x0201, 0x1E01}}));

  // In 4 s: EIT-0 and ETT-0 every 500 ms, EIT-1 and ETT-1 every second,
  // EIT-2 and EIT-3 every 2 s; one section per channel.
  EXPECT_EQ(report.eits.at(0x1D00).size(), 8u * 3);
  EXPECT_EQ(report.eits.at(0x1D01).size(), 4u * 3);
  EXPECT_EQ(report.eits.at(0x1D02).size(), 2u * 3);
  EXPECT_EQ(report.eits.at(0x1D03).size(), 2u * 3);
  EXPECT_EQ(report.etts.at(0x1E00).size(), 8u * 1);
  EXPECT_EQ(report.etts.at(0x1E01).size(), 4u * 6);
  EXPECT_FALSE(report.eits.contains(0x1D04));

  // The first round of each EIT, by source id.
  const auto round = [&](std::uint16_t pid) {
    std::map<int, Eit> bySource;
    for (const Eit& eit : report.eits.at(pid)) bySource.try_emplace(eit.sourceId, eit);
    return bySource;
  };
  const auto eit0 = round(0x1D00), eit1 = round(0x1D01), eit2 = round(0x1D02), eit3 = round(0x1D03);
  ASSERT_EQ(eit0.size(), 3u);
  EXPECT_TRUE(eit0.at(4).events.empty());  // the hidden channel has no programmes
  EXPECT_TRUE(eit0.at(2).events.empty());  // the quiz starts at 3:00, in EIT-1
  ASSERT_EQ(eit0.at(1).events.size(), 1u);
  const EitEvent& morning = eit0.at(1).events[0];
  EXPECT_EQ(morning.eventId, 1);
  EXPECT_EQ(morning.startTime, kStartMinuteGps);
  EXPECT_EQ(morning.lengthSeconds, 7200u);
  EXPECT_EQ(morning.etmLocation, 1);
  EXPECT_EQ(TextOf(morning.title), "Morning");

  ASSERT_EQ(eit1.at(1).events.size(), 1u);
  EXPECT_EQ(eit1.at(1).events[0].eventId, 2);
  EXPECT_EQ(eit1.at(1).events[0].startTime, kStartMinuteGps + 7200);
  EXPECT_EQ(TextOf(eit1.at(1).events[0].title), "\xCE\x9D\xCE\xAD\xCE\xB1 News");
  EXPECT_EQ(eit1.at(1).events[0].title.strings[0].segments[0].mode, 0x3F);
  ASSERT_EQ(eit1.at(2).events.size(), 5u);
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(eit1.at(2).events[i].eventId, i + 1);
    EXPECT_EQ(eit1.at(2).events[i].startTime, kStartMinuteGps + 120 + 180 * i);
    EXPECT_EQ(eit1.at(2).events[i].lengthSeconds, 120u);
  }
  ASSERT_EQ(eit2.at(1).events.size(), 1u);  // 08:00, in 6:00 to 9:00
  EXPECT_EQ(eit2.at(1).events[0].startTime, kStartMinuteGps + 302 * 60);
  EXPECT_EQ(eit2.at(1).events[0].etmLocation, 0);
  EXPECT_TRUE(eit3.at(1).events.empty());  // "Far" at 13:00 lies past EIT-3

  // Each description in the ETT of its programme's hours, named by its ETM id.
  std::map<std::uint32_t, std::string> texts;
  for (const auto& pid : {0x1E00, 0x1E01}) {
    for (const Ett& ett : report.etts.at(static_cast<std::uint16_t>(pid))) texts[ett.etmId] = TextOf(ett.text);
  }
  EXPECT_EQ(texts, (std::map<std::uint32_t, std::string>{{EventEtmId(1, 1), "Coffee and news."},
                                                         {EventEtmId(1, 2), "From Athens."},
                                                         {EventEtmId(2, 1), "Q."}, {EventEtmId(2, 2), "Q."},
                                                         {EventEtmId(2, 3), "Q."}, {EventEtmId(2, 4), "Q."},
                                                         {EventEtmId(2, 5), "Q."}}));
}

// A station that sends its guide as far as its programmes go: EIT-4 holds
// the programme of 13:00, and every table still comes round in the stream.
TEST(TestStreamMuxerTest, AStationMaySendEitsToItsLastProgramme) {
  TestStreamSettings settings = GuideStation();
  settings.eitCount = 0;
  const GuideReport report = ReceiveGuide(Generate(settings));
  ASSERT_TRUE(report.mgt);
  ASSERT_TRUE(report.mgt->FindTable(0x0104));
  EXPECT_EQ(report.mgt->FindTable(0x0104)->pid, 0x1D04);
  EXPECT_FALSE(report.mgt->FindTable(0x0105));
  ASSERT_EQ(report.eits.at(0x1D04).size(), 2u * 3);  // every 3 s
  for (const Eit& eit : report.eits.at(0x1D04)) {
    if (eit.sourceId != 1) continue;
    ASSERT_EQ(eit.events.size(), 1u);
    EXPECT_EQ(TextOf(eit.events[0].title), "Far");
    EXPECT_EQ(eit.events[0].eventId, 4);
  }

  // A program on a guide PID, or two channels with programmes for one
  // source id, is refused.
  settings.programs[2].pmtPid = 0x1D00;
  EXPECT_THROW(TestStreamMuxer{settings}, std::invalid_argument);
  settings = GuideStation();
  settings.channels.push_back({33, 9, 1, "WTTT9", false});
  settings.guide->channels.push_back({33, 9, {{0, 30, "Clash", "", 7}}});
  EXPECT_THROW(TestStreamMuxer{settings}, std::invalid_argument);
}
