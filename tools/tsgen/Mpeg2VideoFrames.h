#pragma once

#include <cstdint>
#include <vector>

// MPEG-2 video elementary-stream pictures for test streams: every picture is
// an intra picture of a flat mid-grey, fully valid (sequence header and
// extension, GOP header, picture header and coding extension, one slice per
// macroblock row), so any decoder or analyser accepts it.
class Mpeg2VideoFrames {
 public:
  // Frame rate 30000/1001; aspect 16:9 when wide, else 4:3.
  Mpeg2VideoFrames(int width, int height, bool wide);

  // The coded picture number `index`; the first picture of every GOP of 15
  // carries the sequence and GOP headers.
  std::vector<std::uint8_t> Picture(std::uint64_t index) const;

  static constexpr int kGopLength = 15;

 private:
  void AppendSequenceHeader(std::vector<std::uint8_t>& out) const;
  void AppendGopHeader(std::vector<std::uint8_t>& out, std::uint64_t index) const;
  void AppendPictureHeaders(std::vector<std::uint8_t>& out, std::uint64_t index) const;
  std::vector<std::uint8_t> Slices() const;

  int width_;
  int height_;
  bool wide_;
  std::vector<std::uint8_t> slices_;  // the same for every picture
};
