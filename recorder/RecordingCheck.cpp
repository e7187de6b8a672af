#include "recorder/RecordingCheck.h"

#include <fstream>
#include <vector>

namespace {

// The adaptation field's discontinuity indicator: the counter and the clock
// may start afresh at this packet.
bool Discontinuity(const TsPacket& packet) {
  return packet.HasAdaptationField() && packet.bytes[4] > 0 && (packet.bytes[5] & 0x80) != 0;
}

}  // namespace

void RecordingCheck::Feed(const TsPacket& packet) {
  const std::uint64_t index = result.packets++;
  if (!packet.HasSync()) {
    ++result.syncErrors;
    return;
  }
  const std::uint16_t pid = packet.Pid();
  if (pid == kNullPid) return;
  PidState& state = pids[pid];
  const int counter = packet.ContinuityCounter();
  const bool restart = Discontinuity(packet);
  if (state.lastCounter >= 0 && !restart) {
    // With a payload the counter steps by one (a single repeat is allowed);
    // without one it stays.
    const int expected = packet.HasPayload() ? (state.lastCounter + 1) & 0x0F : state.lastCounter;
    if (counter != expected && !(packet.HasPayload() && counter == state.lastCounter)) {
      ++result.continuityErrors;
    }
  }
  state.lastCounter = counter;

  const std::optional<Pcr27> pcr = packet.Pcr();
  if (!pcr) return;
  if (state.lastPcr && !restart) {
    if (*pcr <= *state.lastPcr || *pcr - *state.lastPcr > kMaxPcrStep) ++result.pcrGaps;
  }
  state.lastPcr = pcr;
  if (!clockPid) clockPid = pid;
  if (pid != *clockPid) return;
  if (!firstPcr) {
    firstPcr = pcr;
    firstPcrPacket = index;
  }
  lastPcr = pcr;
  lastPcrPacket = index;
}

const RecordingCheck::Result& RecordingCheck::Outcome() {
  if (firstPcr && lastPcr && *lastPcr > *firstPcr) {
    result.pcrSeconds = static_cast<double>(*lastPcr - *firstPcr) / 27e6;
    const double bits = static_cast<double>(lastPcrPacket - firstPcrPacket) * kTsPacketSize * 8;
    result.bitsPerSecond = bits / result.pcrSeconds;
  }
  return result;
}

std::optional<RecordingCheck::Result> RecordingCheck::CheckFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  RecordingCheck check;
  std::vector<std::uint8_t> buffer(kTsPacketSize * 4096);
  std::size_t held = 0;
  while (in) {
    in.read(reinterpret_cast<char*>(buffer.data() + held),
            static_cast<std::streamsize>(buffer.size() - held));
    held += static_cast<std::size_t>(in.gcount());
    std::size_t used = 0;
    for (; held - used >= kTsPacketSize; used += kTsPacketSize) {
      check.Feed(TsPacket::FromBytes(std::span(buffer).subspan(used, kTsPacketSize)));
    }
    std::copy(buffer.begin() + static_cast<std::ptrdiff_t>(used),
              buffer.begin() + static_cast<std::ptrdiff_t>(held), buffer.begin());
    held -= used;
  }
  check.Trailing(held);
  return check.Outcome();
}
