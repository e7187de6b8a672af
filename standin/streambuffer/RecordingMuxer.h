#pragma once
// Writes the stream buffer's transport stream (see RecordingFormat.h) from
// elementary-stream units with their PTS. No I/O: the packets go to a sink.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "standin/streambuffer/RecordingFormat.h"

namespace streambuffer {

class RecordingMuxer {
 public:
  // Whole packets, one call per unit written.
  using ByteSink = std::function<void(std::span<const std::uint8_t>)>;

  explicit RecordingMuxer(ByteSink sink);

  // One unit (a picture, a few AC-3 frames) with its unwrapped 90 kHz PTS.
  // `randomAccess`: decoding may start here (a picture with a sequence header).
  void Write(Elementary stream, std::uint64_t pts, std::span<const std::uint8_t> data,
             bool randomAccess);

  std::uint64_t PacketsWritten() const { return packetsWritten_; }

  // The PCR runs this far behind the video's PTS.
  static constexpr std::uint64_t kPcrLead = kPtsPerSecond * 2 / 5;

 private:
  void AppendTables(std::vector<std::uint8_t>& out);
  void AppendPes(std::vector<std::uint8_t>& out, std::uint16_t pid, std::uint8_t& counter,
                 const std::vector<std::uint8_t>& pes, std::optional<std::uint64_t> pcr27,
                 bool randomAccess);

  ByteSink sink_;
  std::vector<std::uint8_t> pat_;
  std::vector<std::uint8_t> pmt_;
  std::uint8_t patCounter_ = 0;
  std::uint8_t pmtCounter_ = 0;
  std::uint8_t videoCounter_ = 0;
  std::uint8_t audioCounter_ = 0;
  std::optional<std::uint64_t> lastTablesPts_;
  std::uint64_t lastPcr27_ = 0;
  std::uint64_t packetsWritten_ = 0;
};

}  // namespace streambuffer
