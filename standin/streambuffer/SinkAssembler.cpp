#include "standin/streambuffer/SinkAssembler.h"

#include <algorithm>

namespace streambuffer {

namespace {
// Where a stream without a PTS of its own starts: one second, so that the
// PCR written behind it stays above zero.
constexpr std::uint64_t kDefaultStartPts = kPtsPerSecond;
constexpr std::size_t kSequenceSearch = 256;
}  // namespace

bool SinkAssembler::StartsSequence(std::span<const std::uint8_t> data) {
  const std::size_t end = std::min(data.size(), kSequenceSearch);
  for (std::size_t i = 0; i + 3 < end; ++i) {
    if (data[i] == 0 && data[i + 1] == 0 && data[i + 2] == 1 && data[i + 3] == 0xB3) return true;
  }
  return false;
}

std::optional<std::uint64_t> SinkAssembler::PtsFor(const ReceivedBuffer& buffer) {
  if (!buffer.time) return std::nullopt;
  if (!baseTime_) {
    baseTime_ = *buffer.time;
    if (lastPts_ == 0) {
      basePts_ = buffer.pts ? std::max<std::uint64_t>(*buffer.pts & (kPtsWrap - 1), kDefaultStartPts)
                            : kDefaultStartPts;
    } else {
      // After a restart the clock goes on a frame after the last unit.
      basePts_ = lastPts_ + kPtsPerSecond / 30;
    }
  }
  const std::int64_t delta = TimeToPts(*buffer.time - *baseTime_);
  return delta < 0 && static_cast<std::uint64_t>(-delta) > basePts_ ? 0 : basePts_ + delta;
}

void SinkAssembler::Receive(Elementary stream, const ReceivedBuffer& buffer) {
  Pending& pending = stream == Elementary::Video ? video_ : audio_;
  const auto pts = PtsFor(buffer);
  if (pts) {
    Emit(stream, pending);
    pending.data.assign(buffer.data.begin(), buffer.data.end());
    pending.pts = pts;
    pending.active = true;
  } else if (pending.active && !buffer.discontinuity) {
    pending.data.insert(pending.data.end(), buffer.data.begin(), buffer.data.end());
  } else {
    pending.active = false;  // a piece whose unit is unknown
  }
}

void SinkAssembler::Emit(Elementary stream, Pending& pending) {
  if (!pending.active || !pending.pts) return;
  pending.active = false;
  const bool video = stream == Elementary::Video;
  const bool randomAccess = video && StartsSequence(pending.data);
  if (!started_) {
    if (video && !randomAccess) return;
    if (!video && videoExpected_) return;
    started_ = true;
  }
  lastPts_ = std::max(lastPts_, *pending.pts);
  handler_({stream, *pending.pts, pending.data, randomAccess});
}

void SinkAssembler::Flush() {
  Emit(Elementary::Video, video_);
  Emit(Elementary::Audio, audio_);
}

void SinkAssembler::Restart() {
  Flush();
  baseTime_.reset();
  started_ = false;
}

}  // namespace streambuffer
