#include "standin/demux/PacketAligner.h"

namespace {
// How far past a damaged packet the next grid is looked for before the bytes
// are given up one by one. Three packets cover the damage the tuners and our
// generator produce.
constexpr std::size_t kSearchWindow = 3 * kTsPacketSize;
}  // namespace

void PacketAligner::Reset() { pending_.clear(); }

std::size_t PacketAligner::FindConfirmedSync(std::size_t from) const {
  for (std::size_t at = from; at + kTsPacketSize < pending_.size(); ++at) {
    if (pending_[at] == kTsSyncByte && pending_[at + kTsPacketSize] == kTsSyncByte) return at;
  }
  return pending_.size();
}

// A packet is handed on only once the byte after it is known, so the last
// packet of a chunk waits for the next chunk.
void PacketAligner::Feed(std::span<const std::uint8_t> bytes, const PacketHandler& handler) {
  pending_.insert(pending_.end(), bytes.begin(), bytes.end());
  std::size_t at = 0;
  while (at + kTsPacketSize < pending_.size()) {
    if (pending_[at] == kTsSyncByte && pending_[at + kTsPacketSize] == kTsSyncByte) {
      handler(TsPacket::FromBytes(std::span(pending_).subspan(at, kTsPacketSize)));
      ++status_.packets;
      at += kTsPacketSize;
      continue;
    }
    const std::size_t next = FindConfirmedSync(at + 1);
    if (next == pending_.size()) {
      // No grid in what has arrived: wait for more unless the search window
      // is already full, in which case the bytes before it are given up.
      if (pending_.size() - at <= kSearchWindow) break;
      const std::size_t keep = pending_.size() - kSearchWindow;
      status_.skippedBytes += keep - at;
      if (pending_[at] == kTsSyncByte) ++status_.resyncs;
      at = keep;
      continue;
    }
    if (pending_[at] == kTsSyncByte && next > at + kTsPacketSize) {
      // A whole packet followed by stray bytes: keep the packet.
      handler(TsPacket::FromBytes(std::span(pending_).subspan(at, kTsPacketSize)));
      ++status_.packets;
      status_.skippedBytes += next - at - kTsPacketSize;
    } else {
      if (pending_[at] == kTsSyncByte) ++status_.truncated;
      status_.skippedBytes += next - at;
    }
    ++status_.resyncs;
    at = next;
  }
  pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(at));
}
