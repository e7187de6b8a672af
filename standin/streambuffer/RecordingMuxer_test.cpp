// The stream buffer's files: what the muxer writes, the reader finds again,
// in order, with the start points, first and last times and a clean check.

#include "standin/streambuffer/RecordingMuxer.h"
#include "standin/streambuffer/RecordingReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "tools/tsgen/Ac3Frames.h"
#include "tools/tsgen/Mpeg2VideoFrames.h"

namespace streambuffer {
namespace {

class MemoryFile final : public ByteFile {
 public:
  std::vector<std::uint8_t> bytes;
  std::uint64_t Size() override { return bytes.size(); }
  std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
    if (offset >= bytes.size()) return 0;
    const std::size_t take = std::min<std::size_t>(out.size(), bytes.size() - offset);
    std::memcpy(out.data(), bytes.data() + offset, take);
    return take;
  }
};

constexpr std::uint64_t kFrame = 3003;  // 29.97 pictures a second, 90 kHz
constexpr std::uint64_t kAudioFrame = 2880;

// `seconds` of 1280 x 720 pictures (a sequence every 15) and AC-3 frames from
// `startPts`, interleaved by time as the sink receives them.
void WriteStream(RecordingMuxer& muxer, std::uint64_t startPts, double seconds) {
  const Mpeg2VideoFrames pictures(1280, 720, true);
  const auto frame = Ac3Frames().Frame();
  const auto end = startPts + static_cast<std::uint64_t>(seconds * kPtsPerSecond);
  std::uint64_t picture = 0, sound = 0;
  for (;;) {
    const std::uint64_t videoPts = startPts + picture * kFrame;
    const std::uint64_t audioPts = startPts + sound * kAudioFrame;
    if (videoPts >= end && audioPts >= end) break;
    if (videoPts <= audioPts) {
      muxer.Write(Elementary::Video, videoPts, pictures.Picture(picture),
                  picture % Mpeg2VideoFrames::kGopLength == 0);
      ++picture;
    } else {
      muxer.Write(Elementary::Audio, audioPts, frame, false);
      ++sound;
    }
  }
}

MemoryFile Recording(std::uint64_t startPts, double seconds) {
  MemoryFile file;
  RecordingMuxer muxer([&](std::span<const std::uint8_t> bytes) {
    EXPECT_EQ(bytes.size() % kTsPacketSize, 0u);
    file.bytes.insert(file.bytes.end(), bytes.begin(), bytes.end());
  });
  WriteStream(muxer, startPts, seconds);
  return file;
}

TEST(RecordingFileTest, WholeFileChecksCleanAndUnitsComeBackInOrder) {
  MemoryFile file = Recording(90000, 10.0);
  const RecordingSummary summary = Summarize(file);
  EXPECT_TRUE(summary.hasTables);
  EXPECT_EQ(summary.strayBytes, 0u);
  EXPECT_EQ(summary.counterErrors, 0u);
  EXPECT_EQ(summary.backwardSteps, 0u);
  EXPECT_EQ(summary.videoUnits, 300u);
  EXPECT_EQ(summary.audioUnits, 313u);
  EXPECT_EQ(summary.randomAccessPoints, 20u);
  EXPECT_EQ(summary.largestVideoStep, kFrame);
  EXPECT_EQ(summary.largestAudioStep, kAudioFrame);
  EXPECT_EQ(summary.firstPts, 90000u);
  EXPECT_EQ(summary.lastPts, 90000u + 312 * kAudioFrame);
  EXPECT_EQ(summary.width, 1280);
  EXPECT_EQ(summary.height, 720);
  EXPECT_EQ(FirstPts(file), 90000u);
  EXPECT_EQ(LastPts(file), 90000u + 312 * kAudioFrame);

  // The PCR runs behind the pictures and never goes back.
  std::optional<Pcr27> lastPcr;
  for (std::size_t at = 0; at < file.bytes.size(); at += kTsPacketSize) {
    const auto packet = TsPacket::FromBytes(std::span(file.bytes).subspan(at, kTsPacketSize));
    if (const auto pcr = packet.Pcr()) {
      EXPECT_EQ(packet.Pid(), kVideoPid);
      if (lastPcr) {
        EXPECT_GE(*pcr, *lastPcr);
      }
      lastPcr = pcr;
    }
  }
  ASSERT_TRUE(lastPcr);

  std::vector<RecordedUnit> units;
  UnitParser parser([&](RecordedUnit&& unit) { units.push_back(std::move(unit)); });
  for (std::size_t at = 0; at < file.bytes.size(); at += kTsPacketSize) {
    parser.Feed(TsPacket::FromBytes(std::span(file.bytes).subspan(at, kTsPacketSize)));
  }
  parser.Flush();
  // Sound, in bounded PES, is handed on when whole; a picture when the next
  // begins: each stream in its order.
  ASSERT_EQ(units.size(), 613u);
  const auto firstPicture = std::find_if(units.begin(), units.end(),
                                         [](const auto& u) { return u.stream == Elementary::Video; });
  EXPECT_TRUE(firstPicture->randomAccess);
  EXPECT_EQ(firstPicture->pts, 90000u);
  EXPECT_EQ(firstPicture->data, Mpeg2VideoFrames(1280, 720, true).Picture(0));
  const auto firstSound = std::find_if(units.begin(), units.end(),
                                       [](const auto& u) { return u.stream == Elementary::Audio; });
  EXPECT_EQ(firstSound->data, Ac3Frames().Frame());
  EXPECT_EQ(std::count_if(units.begin(), units.end(), [](const auto& u) { return u.randomAccess; }), 20);
}

TEST(RecordingFileTest, StartPointsAreTheLastSequenceAtOrBeforeTheTime) {
  MemoryFile file = Recording(90000, 10.0);
  const std::uint64_t gop = Mpeg2VideoFrames::kGopLength * kFrame;
  for (const std::uint64_t second : {0, 1, 3, 7, 9}) {
    const std::uint64_t wanted = 90000 + second * kPtsPerSecond + 100;
    const auto start = FindStartPoint(file, wanted);
    ASSERT_TRUE(start) << second;
    EXPECT_LE(start->pts, wanted);
    EXPECT_GT(start->pts + gop, wanted) << second;
    EXPECT_EQ(start->offset % kTsPacketSize, 0u);
    EXPECT_EQ(NextStartPoint(file, start->offset)->pts, start->pts);
  }
  EXPECT_EQ(FindStartPoint(file, 0)->pts, 90000u);  // before the start: the first one
  const auto last = FindStartPoint(file, 1ull << 32);
  EXPECT_EQ(last->pts, 90000u + 19 * gop);           // past the end: the last one
}

TEST(RecordingFileTest, TimesRunOnAcrossTheWrapAndDamageIsCountedNotFatal) {
  const std::uint64_t nearWrap = kPtsWrap - 2 * kPtsPerSecond;
  MemoryFile file = Recording(nearWrap, 4.0);
  RecordingSummary summary = Summarize(file);
  EXPECT_EQ(summary.backwardSteps, 0u);
  EXPECT_EQ(summary.largestVideoStep, kFrame);
  EXPECT_GT(summary.lastPts, kPtsWrap);
  EXPECT_EQ(LastPts(file), summary.lastPts);
  const std::uint64_t afterWrap = kPtsWrap + kPtsPerSecond;
  const auto start = FindStartPoint(file, afterWrap);
  ASSERT_TRUE(start);
  EXPECT_LE(start->pts, afterWrap);
  EXPECT_GT(start->pts + Mpeg2VideoFrames::kGopLength * kFrame, afterWrap);

  // A lost packet and stray bytes: counted, the rest still read.
  file.bytes.erase(file.bytes.begin() + 188 * 40, file.bytes.begin() + 188 * 41);
  file.bytes.insert(file.bytes.begin() + 188 * 80, {0x00, 0x11, 0x22});
  summary = Summarize(file);
  EXPECT_EQ(summary.counterErrors, 1u);
  EXPECT_EQ(summary.strayBytes, 3u);
  EXPECT_GT(summary.videoUnits, 100u);

  MemoryFile empty;
  EXPECT_FALSE(FindStartPoint(empty, 0));
  EXPECT_FALSE(FirstPts(empty));
  EXPECT_EQ(Summarize(empty).packets, 0u);
}

}  // namespace
}  // namespace streambuffer
