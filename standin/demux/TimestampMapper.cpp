#include "standin/demux/TimestampMapper.h"

namespace {
constexpr std::uint64_t kPtsWrap = 1ull << 33;
constexpr std::uint64_t kPcrWrap = kPtsWrap * 300;
// 90 kHz ticks to 100 ns units.
constexpr std::int64_t ToStreamTime(std::int64_t ticks) { return ticks * 1000 / 9; }
}  // namespace

void TimestampMapper::Reset() {
  anchorPts_.reset();
  lastPcr_.reset();
  handedOut_ = false;
  reanchorOnPts_ = false;
}

std::int64_t TimestampMapper::PtsDelta(std::uint64_t a, std::uint64_t b) {
  std::uint64_t delta = (a - b) & (kPtsWrap - 1);
  return delta >= kPtsWrap / 2 ? static_cast<std::int64_t>(delta) - static_cast<std::int64_t>(kPtsWrap)
                               : static_cast<std::int64_t>(delta);
}

void TimestampMapper::OnPcr(Pcr27 pcr, std::optional<std::int64_t> now) {
  bool jumped = false;
  if (lastPcr_) {
    const std::uint64_t step = (pcr + kPcrWrap - *lastPcr_) % kPcrWrap;
    jumped = step > kMaxPcrStep;  // backwards shows as a step of nearly a whole wrap
  }
  lastPcr_ = pcr;
  if (jumped) ++jumps_;
  if (now) {
    if (!anchorPts_ || jumped) {
      anchorPts_ = (pcr / 300) % kPtsWrap;
      anchorTime_ = *now;
    }
  } else if (jumped) {
    reanchorOnPts_ = true;
  }
}

std::optional<std::int64_t> TimestampMapper::Map(std::uint64_t pts, bool live) {
  if (!live && (!anchorPts_ || reanchorOnPts_)) {
    // File: the first PTS, or the first after a jump, continues from the
    // latest time handed out so the renderers see no gap and no step back.
    anchorPts_ = pts;
    anchorTime_ = handedOut_ ? lastTime_ : kFileLead;
    reanchorOnPts_ = false;
  }
  if (!anchorPts_) return std::nullopt;
  const std::int64_t time = anchorTime_ + ToStreamTime(PtsDelta(pts, *anchorPts_));
  if (!handedOut_ || time > lastTime_) lastTime_ = time;
  handedOut_ = true;
  return time;
}
