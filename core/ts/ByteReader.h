#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// Reads big-endian fields from a byte buffer. Reading past the end never
// touches memory outside the buffer: it returns 0 and sets a sticky error
// that the caller checks once at the end.
class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> data) : data_(data) {}

  std::uint8_t U8() { return Has(1) ? data_[at_++] : 0; }
  std::uint16_t U16() {
    const std::uint16_t high = U8();
    return static_cast<std::uint16_t>((high << 8) | U8());
  }
  std::uint32_t U32() {
    const std::uint32_t high = U16();
    return (high << 16) | U16();
  }
  void Skip(std::size_t count) {
    if (Has(count)) at_ += count;
  }
  std::span<const std::uint8_t> Bytes(std::size_t count) {
    if (!Has(count)) return {};
    const auto bytes = data_.subspan(at_, count);
    at_ += count;
    return bytes;
  }

  std::size_t Position() const { return at_; }
  std::size_t Remaining() const { return data_.size() - at_; }
  bool Error() const { return error_; }

 private:
  bool Has(std::size_t count) {
    if (!error_ && count <= data_.size() - at_) return true;
    error_ = true;
    at_ = data_.size();
    return false;
  }

  std::span<const std::uint8_t> data_;
  std::size_t at_ = 0;
  bool error_ = false;
};
