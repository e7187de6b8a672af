#include "core/ts/SectionAssembler.h"

#include "core/ts/PsiTables.h"

namespace {
constexpr std::uint8_t kStuffingTableId = 0xFF;
}

void SectionAssembler::Reset() {
  pending_.clear();
  collecting_ = false;
  lastCounter_ = -1;
}

void SectionAssembler::Feed(const TsPacket& packet) {
  if (!packet.HasSync() || packet.TransportError()) return;
  const auto payload = packet.Payload();
  if (payload.empty()) return;

  const int counter = packet.ContinuityCounter();
  if (lastCounter_ >= 0 && counter != ((lastCounter_ + 1) & 0x0F) && counter != lastCounter_) {
    if (collecting_) ++dropped_;
    pending_.clear();
    collecting_ = false;
  }
  if (counter == lastCounter_) return;  // a repeated packet carries nothing new
  lastCounter_ = counter;

  if (!packet.PayloadUnitStart()) {
    if (collecting_) Append(payload);
    return;
  }
  const std::size_t pointer = payload[0];
  if (1 + pointer > payload.size()) {
    if (collecting_) ++dropped_;
    pending_.clear();
    collecting_ = false;
    return;
  }
  if (collecting_) Append(payload.subspan(1, pointer));
  if (collecting_ && !pending_.empty()) ++dropped_;  // the old section never completed
  pending_.clear();
  collecting_ = true;
  Append(payload.subspan(1 + pointer));
}

void SectionAssembler::Append(std::span<const std::uint8_t> bytes) {
  pending_.insert(pending_.end(), bytes.begin(), bytes.end());
  EmitWholeSections();
}

void SectionAssembler::EmitWholeSections() {
  std::size_t at = 0;
  while (at < pending_.size() && pending_[at] != kStuffingTableId) {
    const auto length = SectionLength(std::span(pending_).subspan(at));
    if (!length || at + *length > pending_.size()) break;
    handler_(std::span(pending_).subspan(at, *length));
    at += *length;
  }
  if (at < pending_.size() && pending_[at] == kStuffingTableId) {
    pending_.clear();
    collecting_ = false;
    return;
  }
  pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(at));
}
