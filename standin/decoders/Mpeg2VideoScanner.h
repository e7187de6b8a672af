#pragma once
// Finds what the test video decoder needs in an MPEG-2 video elementary
// stream: where pictures start and the frame size and aspect of the latest
// sequence header. Push-driven: the stream may be cut anywhere between two
// Feed calls, start codes and headers included.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

struct Mpeg2Sequence {
  int width = 0;
  int height = 0;
  int aspectCode = 0;     // 2 = 4:3, 3 = 16:9, as the sequence header codes it
  int frameRateCode = 0;  // 4 = 29.97 pictures a second

  bool operator==(const Mpeg2Sequence&) const = default;
};

// The shape of the picture on screen, width to height.
struct PictureAspect {
  int x = 0;
  int y = 0;

  bool operator==(const PictureAspect&) const = default;
};

// The display aspect that the sequence's aspect code states: 2 is 4:3, 3 is
// 16:9, 4 is 2.21:1; 1 (square pixels) and codes a damaged or future stream
// may carry give the frame's own shape.
PictureAspect DisplayAspect(const Mpeg2Sequence& sequence);

class Mpeg2VideoScanner {
 public:
  // Scans the next bytes of the stream and returns how many pictures start
  // in them. A sequence header whose size is zero is damaged and ignored.
  int Feed(std::span<const std::uint8_t> data);

  // Forgets a header cut off by lost data; the last sequence stays known.
  void Reset() { carry_.clear(); }

  bool HasSequence() const { return sequence_.width > 0; }
  const Mpeg2Sequence& Sequence() const { return sequence_; }
  // Counts sequence headers that changed size or aspect (the first included).
  int SequenceChanges() const { return changes_; }

 private:
  // Returns false when the header at `at` runs past the end of `bytes`.
  bool Parse(const std::vector<std::uint8_t>& bytes, std::size_t at, int& pictures);

  std::vector<std::uint8_t> carry_;  // tail of the last Feed that may begin a header
  Mpeg2Sequence sequence_;
  Mpeg2Sequence pending_;  // the sequence header's own size, before its extension
  bool pendingSet_ = false;
  int changes_ = 0;
};
