#include "standin/decoders/Mpeg2VideoScanner.h"

#include <algorithm>

namespace {

constexpr std::uint8_t kPictureStart = 0x00;
constexpr std::uint8_t kSequenceHeader = 0xB3;
constexpr std::uint8_t kExtensionStart = 0xB5;
constexpr int kSequenceExtensionId = 1;

// Bytes needed from the first byte of a start code to read what we use of
// the header it opens.
std::size_t NeededBytes(std::uint8_t code) {
  if (code == kSequenceHeader) return 4 + 4;  // size, aspect, frame rate
  if (code == kExtensionStart) return 4 + 3;  // extension id and size extensions
  return 4;
}

}  // namespace

PictureAspect DisplayAspect(const Mpeg2Sequence& sequence) {
  switch (sequence.aspectCode) {
    case 2: return {4, 3};
    case 3: return {16, 9};
    case 4: return {221, 100};
    default: return {sequence.width, sequence.height};
  }
}

int Mpeg2VideoScanner::Feed(std::span<const std::uint8_t> data) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(carry_.size() + data.size());
  bytes.insert(bytes.end(), carry_.begin(), carry_.end());
  bytes.insert(bytes.end(), data.begin(), data.end());
  carry_.clear();

  int pictures = 0;
  std::size_t at = 0;
  while (at + 3 < bytes.size()) {
    if (bytes[at] != 0 || bytes[at + 1] != 0 || bytes[at + 2] != 1) {
      ++at;
      continue;
    }
    if (!Parse(bytes, at, pictures)) {
      carry_.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.end());
      return pictures;
    }
    at += 4;
  }
  // The last bytes not yet looked at may begin a start code.
  const std::size_t from = bytes.size() >= 3 ? std::max(at, bytes.size() - 3) : at;
  carry_.assign(bytes.begin() + static_cast<std::ptrdiff_t>(std::min(from, bytes.size())),
                bytes.end());
  return pictures;
}

bool Mpeg2VideoScanner::Parse(const std::vector<std::uint8_t>& bytes, std::size_t at,
                              int& pictures) {
  const std::uint8_t code = bytes[at + 3];
  if (at + NeededBytes(code) > bytes.size()) return false;
  const std::uint8_t* h = bytes.data() + at + 4;

  if (code == kPictureStart) {
    ++pictures;
    // A sequence header without an extension (MPEG-1 style) counts as it is.
    if (pendingSet_) {
      pendingSet_ = false;
      if (!(pending_ == sequence_)) ++changes_;
      sequence_ = pending_;
    }
  } else if (code == kSequenceHeader) {
    Mpeg2Sequence found;
    found.width = (h[0] << 4) | (h[1] >> 4);
    found.height = ((h[1] & 0x0F) << 8) | h[2];
    found.aspectCode = h[3] >> 4;
    found.frameRateCode = h[3] & 0x0F;
    if (found.width > 0 && found.height > 0) {
      pending_ = found;
      pendingSet_ = true;
    }
  } else if (code == kExtensionStart && (h[0] >> 4) == kSequenceExtensionId && pendingSet_) {
    const int widthExtension = ((h[1] & 0x01) << 1) | (h[2] >> 7);
    const int heightExtension = (h[2] >> 5) & 0x03;
    pending_.width |= widthExtension << 12;
    pending_.height |= heightExtension << 12;
  }
  return true;
}
