#include "StreamCounter.h"

#include "core/ts/TsPacket.h"

void StreamCounter::Add(const std::uint8_t* data, std::size_t size, bool discontinuity) {
  std::lock_guard guard(lock);
  counts.bytes += size;
  ++counts.samples;
  if (discontinuity) ++counts.discontinuities;
  for (std::size_t at = 0; at + kTsPacketSize <= size; at += kTsPacketSize) {
    const TsPacket packet = TsPacket::FromBytes({data + at, kTsPacketSize});
    if (!packet.HasSync()) continue;
    ++counts.packets;
    if (packet.Pid() == kPatPid && packet.PayloadUnitStart()) {
      const auto payload = packet.Payload();
      const std::size_t section = payload.empty() ? 0 : 1u + payload[0];
      if (section + 5 <= payload.size() && payload[section] == 0x00) {
        counts.tsid = (payload[section + 3] << 8) | payload[section + 4];
      }
    }
    const auto pcr = packet.Pcr();
    if (!pcr) continue;
    if (!pcrPid) pcrPid = packet.Pid();
    if (packet.Pid() != *pcrPid) continue;
    // A jump backwards (the file looped) starts a new run of the clock.
    if (firstPcr && *pcr >= lastPcr) pcrTicks += *pcr - lastPcr;
    if (!firstPcr) firstPcr = *pcr;
    lastPcr = *pcr;
  }
  counts.pcrSeconds = static_cast<double>(pcrTicks) / 27000000.0;
}

StreamCounter::Counts StreamCounter::Take() {
  std::lock_guard guard(lock);
  const Counts taken = counts;
  counts = Counts{};
  pcrPid.reset();
  firstPcr.reset();
  pcrTicks = 0;
  return taken;
}
