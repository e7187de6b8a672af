#include "standin/decoders/Ac3FrameCounter.h"

namespace {

// Bit rates in kbit/s by frame size code / 2.
constexpr int kBitRates[] = {32,  40,  48,  56,  64,  80,  96,  112, 128, 160,
                             192, 224, 256, 320, 384, 448, 512, 576, 640};
constexpr int kSampleRates[] = {48000, 44100, 32000};
// Sync word, CRC, then sample rate and frame size codes in byte 4.
constexpr std::size_t kHeaderBytes = 5;

}  // namespace

std::size_t Ac3FrameCounter::FrameBytes(int sampleRateCode, int frameSizeCode) {
  if (sampleRateCode < 0 || sampleRateCode > 2 || frameSizeCode < 0 ||
      frameSizeCode >= 2 * static_cast<int>(std::size(kBitRates))) {
    return 0;
  }
  const int kbits = kBitRates[frameSizeCode / 2];
  switch (sampleRateCode) {
    case 0:
      return static_cast<std::size_t>(kbits) * 4;
    case 1: {
      // 44.1 kHz frames are whole 16-bit words, one word longer for odd codes.
      const std::size_t words = static_cast<std::size_t>(kbits) * 96000 / 44100;
      return (words + (frameSizeCode & 1)) * 2;
    }
    default:
      return static_cast<std::size_t>(kbits) * 6;
  }
}

int Ac3FrameCounter::Feed(std::span<const std::uint8_t> data) {
  pending_.insert(pending_.end(), data.begin(), data.end());
  int frames = 0;
  std::size_t at = 0;
  while (at + kHeaderBytes <= pending_.size()) {
    if (pending_[at] != 0x0B || pending_[at + 1] != 0x77) {
      ++at;
      ++skipped_;
      continue;
    }
    const int sampleRateCode = pending_[at + 4] >> 6;
    const std::size_t size = FrameBytes(sampleRateCode, pending_[at + 4] & 0x3F);
    if (size == 0) {  // a sync word inside other data
      ++at;
      ++skipped_;
      continue;
    }
    if (at + size > pending_.size()) break;  // the rest comes with the next bytes
    ++frames;
    sampleRate_ = kSampleRates[sampleRateCode];
    at += size;
  }
  pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(at));
  return frames;
}

void Ac3FrameCounter::Reset() { pending_.clear(); }
