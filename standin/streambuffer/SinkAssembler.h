#pragma once
// Turns what the sink's input pins receive into whole units for the
// recordings: a sample cut over several buffers is joined again (a buffer
// with a time stamp begins a unit, one without continues it), and each unit
// gets a PTS that runs on from the first sample's without a jump, taken from
// the stream times (so a source that loops leaves no gap). Nothing is written
// before the first picture where decoding may start; audio waits for it too
// when video is expected. Not thread-safe: the sink serialises its pins.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "standin/streambuffer/RecordingFormat.h"

namespace streambuffer {

struct ReceivedBuffer {
  std::span<const std::uint8_t> data;
  std::optional<std::int64_t> time;      // stream time, 100 ns
  std::optional<std::uint64_t> pts;      // the stream's own 90 kHz PTS (media time)
  bool discontinuity = false;
};

struct SinkUnit {
  Elementary stream = Elementary::Video;
  std::uint64_t pts = 0;  // unwrapped
  std::span<const std::uint8_t> data;
  bool randomAccess = false;
};

class SinkAssembler {
 public:
  using UnitHandler = std::function<void(const SinkUnit&)>;
  explicit SinkAssembler(UnitHandler handler) : handler_(std::move(handler)) {}

  // Whether a video input is connected: audio then waits for the first picture.
  void ExpectVideo(bool expected) { videoExpected_ = expected; }

  void Receive(Elementary stream, const ReceivedBuffer& buffer);
  // Hands on the units still being joined (the end of the stream).
  void Flush();
  // A new run: the time base is taken afresh (the PTS go on from the last).
  void Restart();

  // Whether a picture begins a sequence (a sequence header in its first bytes).
  static bool StartsSequence(std::span<const std::uint8_t> data);

 private:
  struct Pending {
    std::vector<std::uint8_t> data;
    std::optional<std::uint64_t> pts;
    bool active = false;
  };
  void Emit(Elementary stream, Pending& pending);
  std::optional<std::uint64_t> PtsFor(const ReceivedBuffer& buffer);

  UnitHandler handler_;
  Pending video_;
  Pending audio_;
  bool videoExpected_ = true;
  bool started_ = false;  // the first picture that starts a sequence went out
  std::optional<std::int64_t> baseTime_;
  std::uint64_t basePts_ = 0;
  std::uint64_t lastPts_ = 0;
};

}  // namespace streambuffer
