#include "standin/streambuffer/SinkAssembler.h"

#include <algorithm>

namespace streambuffer {

namespace {
// Where a stream without a PTS of its own starts: one second, so that the
// PCR written behind it stays above zero.
constexpr std::uint64_t kDefaultStartPts = kPtsPerSecond;
constexpr std::size_t kSequenceSearch = 256;
// Received PTS further apart than this (either way) are a jump.
constexpr std::uint64_t kMaxRegularStep = kPtsPerSecond;
}  // namespace

bool SinkAssembler::StartsSequence(std::span<const std::uint8_t> data) {
  const std::size_t end = std::min(data.size(), kSequenceSearch);
  for (std::size_t i = 0; i + 3 < end; ++i) {
    if (data[i] == 0 && data[i + 1] == 0 && data[i + 2] == 1 && data[i + 3] == 0xB3) return true;
  }
  return false;
}

std::optional<std::uint64_t> SinkAssembler::PtsFor(Elementary stream, const ReceivedBuffer& buffer) {
  if (!buffer.time && !buffer.pts) return std::nullopt;
  if (!buffer.pts) return FromStreamTime(buffer);
  Clock& clock = stream == Elementary::Video ? videoClock_ : audioClock_;
  const std::uint64_t source = *buffer.pts & (kPtsWrap - 1);
  std::uint64_t out = 0;
  // The signed difference the shorter way round the 33-bit wrap.
  const auto delta = [](std::uint64_t a, std::uint64_t b) {
    auto d = static_cast<std::int64_t>((a - b) & (kPtsWrap - 1));
    return d >= static_cast<std::int64_t>(kPtsWrap / 2) ? d - static_cast<std::int64_t>(kPtsWrap) : d;
  };
  const std::int64_t limit = static_cast<std::int64_t>(kMaxRegularStep);
  if (clock.lastSource && std::llabs(delta(source, *clock.lastSource)) <= limit) {
    const std::int64_t d = delta(source, *clock.lastSource);
    out = static_cast<std::uint64_t>(static_cast<std::int64_t>(clock.lastOut) + d);
    if (d > 0) clock.step = static_cast<std::uint64_t>(d);
  } else if (!clock.lastSource && !shift_) {
    // The very first: the stream's own clock, as long as it runs on.
    out = std::max(source, kDefaultStartPts);
    shift_ = static_cast<std::int64_t>(out) - static_cast<std::int64_t>(source);
  } else {
    // A jump. The other stream's new shift holds when it places this unit
    // close after the last; otherwise one step after the last starts a new one.
    const std::uint64_t next = clock.lastOut + (clock.step ? clock.step : kPtsPerSecond / 30);
    const std::int64_t shifted = static_cast<std::int64_t>(source) + shift_.value_or(0);
    if (clock.lastSource == std::nullopt ||
        (shifted > static_cast<std::int64_t>(clock.lastOut) &&
         std::llabs(shifted - static_cast<std::int64_t>(next)) <= limit)) {
      out = static_cast<std::uint64_t>(std::max<std::int64_t>(shifted, 0));
    } else {
      out = next;
      shift_ = static_cast<std::int64_t>(out) - static_cast<std::int64_t>(source);
    }
  }
  clock.lastSource = source;
  clock.lastOut = out;
  return out;
}

std::optional<std::uint64_t> SinkAssembler::FromStreamTime(const ReceivedBuffer& buffer) {
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
  // A sample begins with a PTS or a stream time (a source whose clock is
  // not yet anchored sends only the PTS); a buffer with neither continues
  // the sample before it.
  const auto pts = PtsFor(stream, buffer);
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
