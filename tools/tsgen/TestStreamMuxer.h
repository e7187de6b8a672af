#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Mpeg2VideoFrames.h"
#include "SectionCarousel.h"
#include "TestGuide.h"
#include "core/ts/TsPacket.h"

// One program of a generated stream. Unless given, its PIDs follow the
// convention our players guess from the PAT: video = PMT PID | 1, audio =
// video + 3; given PIDs make a stream whose PMT must be read.
struct TestProgram {
  std::uint16_t programNumber = 1;
  std::uint16_t pmtPid = 0x30;
  int width = 1920;
  int height = 1080;
  bool wide = true;
  std::uint16_t videoPid = 0;  // 0: the guessed PID
  std::uint16_t audioPid = 0;  // 0: the guessed PID

  std::uint16_t VideoPid() const {
    return videoPid != 0 ? videoPid : static_cast<std::uint16_t>(pmtPid | 1);
  }
  std::uint16_t AudioPid() const {
    return audioPid != 0 ? audioPid : static_cast<std::uint16_t>(VideoPid() + 3);
  }
};

// The leap seconds GPS time runs ahead of UTC (unchanged since 2017), sent
// in the STT.
inline constexpr std::uint8_t kGpsUtcOffsetSeconds = 18;

// One virtual channel the stream's channel table announces. The program
// need not be one of the stream's programs.
struct TestChannel {
  int major = 1;                   // 1 to 999
  int minor = 0;                   // 0 to 999
  std::uint16_t programNumber = 1;
  std::string shortName;           // UTF-8, up to seven UTF-16 units
  bool hidden = false;

  friend bool operator==(const TestChannel&, const TestChannel&) = default;
};

// Ways a generated stream can be damaged on purpose, for robustness tests.
enum class StreamDamage {
  None,
  NoPat,              // the program association table is never sent
  TruncatedPackets,   // now and then a packet is cut short
  LostSync,           // now and then stray bytes push the packets off their 188-byte grid
};

struct TestStreamSettings {
  std::uint64_t muxRate = 19392658;  // bits per second (the ATSC rate)
  double seconds = 10.0;
  std::uint16_t transportStreamId = 1;
  std::vector<TestProgram> programs{TestProgram{}};
  StreamDamage damage = StreamDamage::None;
  // The channel tables (MGT, TVCT and STT on the PID 0x1FFB) are sent only
  // when channels are given.
  std::vector<TestChannel> channels;
  std::uint32_t gpsStartTime = 0;  // the STT's clock at the start, GPS seconds
  // The programme guide, sent with the channel tables when given: EIT-k on
  // the PID 0x1D00 + k and, for the programmes with a description, ETT-k on
  // 0x1E00 + k, each listed by the MGT.
  std::optional<TestGuide> guide;
  int eitCount = 4;  // EIT-0 to EIT-(eitCount - 1), 1 to 128; 0: to the last programme (4 at least)
};

// Writes a constant-rate transport stream: PAT and PMTs every 100 ms; with
// channels, the MGT every 150 ms, the TVCT every 400 ms and the STT every
// second (its clock running with the stream); with a guide, EIT-0 and ETT-0
// every 500 ms, EIT-1 and ETT-1 every second, EIT-2 and EIT-3 every 2 s and
// the later EITs and ETTs every 3 s; a PCR on each program's video
// PID every 30 ms, MPEG-2 video at 29.97 pictures a second and AC-3 audio,
// each PES stamped with a PTS 500 ms after it is sent, null packets filling
// the rest. The output is the same for the same settings.
class TestStreamMuxer {
 public:
  using ByteSink = std::function<void(const std::uint8_t* data, std::size_t size)>;

  explicit TestStreamMuxer(TestStreamSettings settings);

  // Writes the whole stream. Returns false when the programs need more than
  // the mux rate carries (the stream would fall behind its clock).
  bool Write(const ByteSink& sink);

  std::uint64_t PacketsWritten() const { return packetsWritten_; }

 private:
  struct Elementary {
    std::uint16_t pid = 0;
    std::uint8_t streamId = 0;
    std::uint8_t counter = 0;
    std::vector<std::uint8_t> pending;  // PES bytes still to send
    std::size_t sent = 0;
    std::uint64_t nextUnit = 0;         // index of the next access unit
    bool carriesPcr = false;
    std::uint64_t nextPcrPacket = 0;
  };

  void AddChannelTables();
  bool FillNextUnit(Elementary& stream, std::size_t programIndex, std::uint64_t packetIndex);
  std::uint64_t UnitTime27(const Elementary& stream, std::uint64_t unit) const;
  TsPacket NextPacket(std::uint64_t packetIndex, bool& behind);
  void Emit(const TsPacket& packet, const ByteSink& sink, std::uint64_t packetIndex);

  TestStreamSettings settings_;
  std::vector<Elementary> streams_;  // video then audio, per program
  std::vector<std::vector<std::uint8_t>> psiSections_;  // PAT (unless damaged) then PMTs
  std::vector<std::uint16_t> psiPids_;
  std::vector<std::uint8_t> psiCounters_;
  std::vector<Mpeg2VideoFrames> pictures_;               // per program
  SectionCarousel carousel_;                             // the tables of the PID 0x1FFB
  std::uint64_t psiPacketsSent_ = 0;
  std::uint64_t packetsWritten_ = 0;
};
