#pragma once
// Reads the stream buffer's transport stream (see RecordingFormat.h): the
// units of both elementary streams in file order, where playback may start
// for a given time, the first and last PTS, and a check of the whole file.
// Files are read through ByteFile, so a file that still grows is read up to
// its last whole packet.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/ts/PesAssembler.h"
#include "core/ts/TsPacket.h"
#include "standin/streambuffer/RecordingFormat.h"

namespace streambuffer {

class ByteFile {
 public:
  virtual ~ByteFile() = default;
  // The bytes there are now.
  virtual std::uint64_t Size() = 0;
  // Reads at `offset`; returns how many bytes were read (0 at the end).
  virtual std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) = 0;
};

struct RecordedUnit {
  Elementary stream = Elementary::Video;
  std::uint64_t pts = 0;  // 33 bits, as in the file
  std::vector<std::uint8_t> data;
  bool randomAccess = false;
  bool discontinuity = false;  // packets of this stream were lost before it
};

// Push-driven: fed whole packets, hands on each unit when the next of its
// stream begins (or at Flush). Packets of other PIDs are ignored.
class UnitParser {
 public:
  using UnitHandler = std::function<void(RecordedUnit&&)>;
  explicit UnitParser(UnitHandler handler);

  void Feed(const TsPacket& packet);
  void Flush();
  void Reset();

 private:
  struct Stream {
    Elementary kind;
    std::unique_ptr<PesAssembler> assembler;
    bool randomAccess = false;  // of the PES being collected
  };
  void OnPes(Stream& stream, const PesPayload& pes, bool randomAccess);

  UnitHandler handler_;
  Stream video_;
  Stream audio_;
};

// Where playback for `pts` starts: the offset of the last random-access
// packet whose PTS is at or before it (the first one when none is), and its
// PTS. Nothing when the file holds no random-access point.
struct StartPoint {
  std::uint64_t offset = 0;
  std::uint64_t pts = 0;  // unwrapped near the file's first PTS
};
std::optional<StartPoint> FindStartPoint(ByteFile& file, std::uint64_t pts);

// The first random-access point at or after `offset`.
std::optional<StartPoint> NextStartPoint(ByteFile& file, std::uint64_t offset);

// The first and the last video or audio PTS of the file, unwrapped (the last
// near the first).
std::optional<std::uint64_t> FirstPts(ByteFile& file);
std::optional<std::uint64_t> LastPts(ByteFile& file);

// What a check of the whole file finds.
struct RecordingSummary {
  std::uint64_t packets = 0;
  std::uint64_t strayBytes = 0;       // bytes outside the 188-byte grid
  std::uint64_t counterErrors = 0;    // continuity counters that skip
  std::uint64_t videoUnits = 0;
  std::uint64_t audioUnits = 0;
  std::uint64_t randomAccessPoints = 0;
  std::uint64_t firstPts = 0;         // unwrapped
  std::uint64_t lastPts = 0;
  std::uint64_t largestVideoStep = 0;  // 90 kHz, between pictures in file order
  std::uint64_t largestAudioStep = 0;
  std::uint64_t backwardSteps = 0;    // PTS that go back within a stream
  bool hasTables = false;             // a PAT and a PMT of the layout
  int width = 0;                      // from the first sequence header
  int height = 0;
};
RecordingSummary Summarize(ByteFile& file);

}  // namespace streambuffer
