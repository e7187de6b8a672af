#include "Ac3Frames.h"

#include "BitWriter.h"

namespace {

constexpr int kChannels = 2;
constexpr int kExponentGroups = 6;  // bandwidth code 0 (73 coefficients), D45 strategy

// Six audio blocks of silence: block 0 sends exponents and a bit allocation
// whose zero SNR offsets give every mantissa zero bits; blocks 1 to 5 reuse it.
void AppendSilentBlocks(BitWriter& bits) {
  for (int block = 0; block < 6; ++block) {
    const bool first = block == 0;
    bits.Put(0, kChannels);  // no block switching
    bits.Put(0, kChannels);  // no dither: silence stays silent
    bits.Put(0, 1);          // no dynamic range word
    bits.Put(first, 1);      // coupling strategy ...
    if (first) bits.Put(0, 1);  // ... coupling not in use
    bits.Put(first, 1);      // rematrixing strategy ...
    if (first) bits.Put(0, 4);  // ... no rematrixing in any band
    for (int ch = 0; ch < kChannels; ++ch) bits.Put(first ? 3 : 0, 2);  // exponents D45 or reuse
    if (first) {
      for (int ch = 0; ch < kChannels; ++ch) bits.Put(0, 6);  // bandwidth code
      for (int ch = 0; ch < kChannels; ++ch) {
        bits.Put(15, 4);                                              // first exponent
        for (int group = 0; group < kExponentGroups; ++group) bits.Put(62, 7);  // deltas of 0
        bits.Put(0, 2);                                               // gain range
      }
    }
    bits.Put(first, 1);  // bit allocation parameters
    if (first) bits.Put(0, 11);
    bits.Put(first, 1);  // SNR offsets: all zero
    if (first) {
      bits.Put(0, 6);
      for (int ch = 0; ch < kChannels; ++ch) bits.Put(0, 7);
    }
    bits.Put(0, 1);  // no delta bit allocation
    bits.Put(0, 1);  // no skip field
  }
}

}  // namespace

std::vector<std::uint8_t> Ac3Frames::Frame() const {
  std::vector<std::uint8_t> out;
  BitWriter bits(out);
  bits.Put(0x0B77, 16);  // sync word
  bits.Put(0, 16);       // CRC 1
  bits.Put(0, 2);        // 48 kHz
  bits.Put(0x14, 6);     // 192 kbit/s: 384 words a frame
  bits.Put(8, 5);        // bit stream id
  bits.Put(0, 3);        // complete main service
  bits.Put(2, 3);        // stereo
  bits.Put(0, 2);        // not Dolby Surround encoded
  bits.Put(0, 1);        // no LFE channel
  bits.Put(31, 5);       // dialogue normalisation
  bits.Put(0, 3);        // no compression, language or production info
  bits.Put(0, 1);        // no copyright
  bits.Put(1, 1);        // original bit stream
  bits.Put(0, 3);        // no time codes, no additional info
  AppendSilentBlocks(bits);
  bits.Align();
  out.resize(kFrameBytes, 0);
  return out;
}
