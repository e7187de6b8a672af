#include "Mpeg2VideoFrames.h"

#include "BitWriter.h"

namespace {

void StartCode(std::vector<std::uint8_t>& out, std::uint8_t code) {
  out.insert(out.end(), {0x00, 0x00, 0x01, code});
}

constexpr std::uint8_t kPictureStart = 0x00;
constexpr std::uint8_t kSequenceHeader = 0xB3;
constexpr std::uint8_t kExtensionStart = 0xB5;
constexpr std::uint8_t kGroupStart = 0xB8;
constexpr int kFrameRateCode2997 = 4;

}  // namespace

Mpeg2VideoFrames::Mpeg2VideoFrames(int width, int height, bool wide)
    : width_(width), height_(height), wide_(wide), slices_(Slices()) {}

std::vector<std::uint8_t> Mpeg2VideoFrames::Picture(std::uint64_t index) const {
  std::vector<std::uint8_t> out;
  if (index % kGopLength == 0) {
    AppendSequenceHeader(out);
    AppendGopHeader(out, index);
  }
  AppendPictureHeaders(out, index);
  out.insert(out.end(), slices_.begin(), slices_.end());
  return out;
}

void Mpeg2VideoFrames::AppendSequenceHeader(std::vector<std::uint8_t>& out) const {
  StartCode(out, kSequenceHeader);
  BitWriter bits(out);
  bits.Put(static_cast<std::uint32_t>(width_), 12);
  bits.Put(static_cast<std::uint32_t>(height_), 12);
  bits.Put(wide_ ? 3 : 2, 4);  // display aspect ratio
  bits.Put(kFrameRateCode2997, 4);
  bits.Put(15000000 / 400, 18);  // bit rate in units of 400 bit/s
  bits.Put(1, 1);                // marker
  bits.Put(488, 10);             // VBV buffer size
  bits.Put(0, 3);                // not constrained, default quantiser matrices
  bits.Align();

  StartCode(out, kExtensionStart);
  bits.Put(1, 4);     // sequence extension
  bits.Put(0x44, 8);  // main profile, high level
  bits.Put(1, 1);     // progressive sequence
  bits.Put(1, 2);     // 4:2:0
  bits.Put(0, 2);     // horizontal size extension
  bits.Put(0, 2);     // vertical size extension
  bits.Put(0, 12);    // bit rate extension
  bits.Put(1, 1);     // marker
  bits.Put(0, 8);     // VBV buffer size extension
  bits.Put(0, 1);     // low delay
  bits.Put(0, 7);     // frame rate extension n and d
  bits.Align();
}

void Mpeg2VideoFrames::AppendGopHeader(std::vector<std::uint8_t>& out, std::uint64_t index) const {
  StartCode(out, kGroupStart);
  BitWriter bits(out);
  const std::uint64_t seconds = index * 1001 / 30000;
  bits.Put(0, 1);  // drop frame flag
  bits.Put(static_cast<std::uint32_t>(seconds / 3600 % 24), 5);
  bits.Put(static_cast<std::uint32_t>(seconds / 60 % 60), 6);
  bits.Put(1, 1);  // marker
  bits.Put(static_cast<std::uint32_t>(seconds % 60), 6);
  bits.Put(static_cast<std::uint32_t>(index % 30), 6);
  bits.Put(1, 1);  // closed GOP
  bits.Put(0, 1);  // broken link
  bits.Align();
}

void Mpeg2VideoFrames::AppendPictureHeaders(std::vector<std::uint8_t>& out,
                                            std::uint64_t index) const {
  StartCode(out, kPictureStart);
  BitWriter bits(out);
  bits.Put(static_cast<std::uint32_t>(index % kGopLength), 10);  // temporal reference
  bits.Put(1, 3);                                               // intra picture
  bits.Put(0xFFFF, 16);                                         // VBV delay
  bits.Put(0, 1);                                               // extra bit picture
  bits.Align();

  StartCode(out, kExtensionStart);
  bits.Put(8, 4);       // picture coding extension
  bits.Put(0xFFFF, 16); // f codes (unused in intra pictures)
  bits.Put(0, 2);       // intra DC precision: 8 bits
  bits.Put(3, 2);       // frame picture
  bits.Put(0, 1);       // top field first
  bits.Put(1, 1);       // frame prediction and frame DCT
  bits.Put(0, 1);       // concealment motion vectors
  bits.Put(0, 1);       // q scale type
  bits.Put(0, 1);       // intra VLC format
  bits.Put(0, 1);       // alternate scan
  bits.Put(0, 1);       // repeat first field
  bits.Put(1, 1);       // chroma 4:2:0 type
  bits.Put(1, 1);       // progressive frame
  bits.Put(0, 1);       // composite display
  bits.Align();
}

// Each macroblock repeats the DC predictor (a DC difference of 0) in all six
// blocks and ends each block at once, which decodes as flat mid-grey.
std::vector<std::uint8_t> Mpeg2VideoFrames::Slices() const {
  std::vector<std::uint8_t> out;
  const int columns = (width_ + 15) / 16;
  const int rows = (height_ + 15) / 16;
  for (int row = 0; row < rows && row < 175; ++row) {
    StartCode(out, static_cast<std::uint8_t>(row + 1));
    BitWriter bits(out);
    bits.Put(8, 5);  // quantiser scale code
    bits.Put(0, 1);  // extra bit slice
    for (int column = 0; column < columns; ++column) {
      bits.Put(1, 1);  // macroblock address increment 1
      bits.Put(1, 1);  // intra macroblock
      for (int block = 0; block < 4; ++block) {
        bits.Put(0b100, 3);  // luminance DC size 0
        bits.Put(0b10, 2);   // end of block
      }
      for (int block = 0; block < 2; ++block) {
        bits.Put(0b00, 2);  // chrominance DC size 0
        bits.Put(0b10, 2);  // end of block
      }
    }
    bits.Align();
  }
  return out;
}
