#pragma once

#include <cstdint>
#include <vector>

// Appends bit fields, most significant bit first, to a byte vector.
class BitWriter {
 public:
  explicit BitWriter(std::vector<std::uint8_t>& out) : out_(out) {}

  void Put(std::uint32_t value, int bits) {
    for (int i = bits - 1; i >= 0; --i) PutBit((value >> i) & 1u);
  }
  void PutBit(unsigned bit) {
    if (used_ == 0) out_.push_back(0);
    if (bit) out_.back() |= static_cast<std::uint8_t>(0x80u >> used_);
    used_ = (used_ + 1) % 8;
  }
  // Pads with zero bits to the next byte boundary.
  void Align() { used_ = 0; }

 private:
  std::vector<std::uint8_t>& out_;
  int used_ = 0;
};
