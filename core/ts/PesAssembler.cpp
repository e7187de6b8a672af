#include "core/ts/PesAssembler.h"

#include <algorithm>

#include "core/ts/ByteReader.h"

namespace {

constexpr std::size_t kPesFixedHeader = 6;

std::uint64_t ReadTimeStamp(std::span<const std::uint8_t> p) {
  return (std::uint64_t{p[0] & 0x0Eu} << 29) | (std::uint64_t{p[1]} << 22) |
         (std::uint64_t{p[2] & 0xFEu} << 14) | (std::uint64_t{p[3]} << 7) | (p[4] >> 1);
}

}  // namespace

void PesAssembler::Reset() {
  pending_.clear();
  collecting_ = false;
  lastCounter_ = -1;
}

void PesAssembler::Feed(const TsPacket& packet) {
  if (!packet.HasSync() || packet.TransportError()) return;
  const auto payload = packet.Payload();
  if (payload.empty()) return;
  const int counter = packet.ContinuityCounter();
  if (lastCounter_ >= 0 && counter != ((lastCounter_ + 1) & 0x0F)) {
    if (counter == lastCounter_) return;
    pending_.clear();
    collecting_ = false;
    lostBefore_ = true;
  }
  lastCounter_ = counter;
  if (packet.PayloadUnitStart()) {
    if (collecting_) Emit();
    pending_.assign(payload.begin(), payload.end());
    collecting_ = true;
  } else if (collecting_) {
    pending_.insert(pending_.end(), payload.begin(), payload.end());
  }
  if (collecting_ && pending_.size() >= kPesFixedHeader) {
    const std::size_t length = (std::size_t{pending_[4]} << 8) | pending_[5];
    if (length != 0 && pending_.size() >= kPesFixedHeader + length) Emit();
  }
}

void PesAssembler::Flush() {
  if (collecting_) Emit();
}

void PesAssembler::Emit() {
  collecting_ = false;
  ByteReader reader(pending_);
  const bool startCode = reader.U8() == 0 && reader.U8() == 0 && reader.U8() == 1;
  PesPayload pes;
  pes.streamId = reader.U8();
  const std::size_t length = reader.U16();
  reader.Skip(1);  // scrambling, priority, alignment, copyright, original
  const std::uint8_t flags = reader.U8();
  const std::size_t headerLength = reader.U8();
  const auto optional = reader.Bytes(headerLength);
  if (!startCode || reader.Error() || (flags & 0x80 && headerLength < 5)) {
    ++damaged_;
    pending_.clear();
    return;
  }
  if (flags & 0x80) pes.pts = ReadTimeStamp(optional);
  std::size_t dataLength = reader.Remaining();
  if (length != 0) {
    const std::size_t declared = length - std::min(length, 3 + headerLength);
    dataLength = std::min(dataLength, declared);
  }
  pes.data = reader.Bytes(dataLength);
  pes.discontinuity = lostBefore_;
  lostBefore_ = false;
  handler_(pes);
  pending_.clear();
}

std::vector<std::uint8_t> PesHeader(std::uint8_t streamId, std::uint64_t pts,
                                    std::size_t payloadLength) {
  const std::size_t length = payloadLength == 0 ? 0 : payloadLength + 8;
  pts &= 0x1FFFFFFFFull;
  return {0x00,
          0x00,
          0x01,
          streamId,
          static_cast<std::uint8_t>(length > 0xFFFF ? 0 : length >> 8),
          static_cast<std::uint8_t>(length > 0xFFFF ? 0 : length & 0xFF),
          0x84,  // data aligned
          0x80,  // PTS only
          0x05,
          static_cast<std::uint8_t>(0x21 | ((pts >> 29) & 0x0E)),
          static_cast<std::uint8_t>(pts >> 22),
          static_cast<std::uint8_t>(0x01 | ((pts >> 14) & 0xFE)),
          static_cast<std::uint8_t>(pts >> 7),
          static_cast<std::uint8_t>(0x01 | ((pts << 1) & 0xFE))};
}

std::optional<std::uint64_t> PesHeaderPts(std::span<const std::uint8_t> pes) {
  ByteReader reader(pes);
  const bool startCode = reader.U8() == 0 && reader.U8() == 0 && reader.U8() == 1;
  reader.Skip(4);  // stream id, length, the first flags byte
  const std::uint8_t flags = reader.U8();
  const std::size_t headerLength = reader.U8();
  const auto optional = reader.Bytes(headerLength);
  if (!startCode || reader.Error() || (flags & 0x80) == 0 || headerLength < 5) return std::nullopt;
  return ReadTimeStamp(optional);
}
