#include "standin/streambuffer/RecordingMuxer.h"

#include "core/ts/PesAssembler.h"
#include "core/ts/PsiTables.h"
#include "core/ts/TsPacket.h"

#include <algorithm>

namespace streambuffer {

namespace {

constexpr std::uint8_t kVideoStreamId = 0xE0;
constexpr std::uint8_t kPrivateStream1 = 0xBD;  // AC-3 in ATSC
constexpr std::uint64_t kTablesInterval = kPtsPerSecond / 10;
// A bounded PES length field holds at most this much after the header.
constexpr std::size_t kMaxBoundedPayload = 0xFFFF - 8;

std::vector<std::uint8_t> SectionPayload(const std::vector<std::uint8_t>& section) {
  std::vector<std::uint8_t> payload{0};  // pointer field
  payload.insert(payload.end(), section.begin(), section.end());
  return payload;
}

}  // namespace

RecordingMuxer::RecordingMuxer(ByteSink sink) : sink_(std::move(sink)) {
  pat_ = SectionPayload(SerializePat({1, 0, {{kProgramNumber, kPmtPid}}}));
  pmt_ = SectionPayload(SerializePmt(
      {kProgramNumber, 0, kVideoPid, {{kStreamTypeMpeg2Video, kVideoPid}, {kStreamTypeAc3Audio, kAudioPid}}}));
}

void RecordingMuxer::AppendTables(std::vector<std::uint8_t>& out) {
  for (auto [pid, section, counter] :
       {std::tuple{kPatPid, &pat_, &patCounter_}, std::tuple{kPmtPid, &pmt_, &pmtCounter_}}) {
    const auto built = BuildTsPacket(pid, (*counter)++, true, std::nullopt, *section);
    out.insert(out.end(), built.packet.bytes.begin(), built.packet.bytes.end());
    ++packetsWritten_;
  }
}

void RecordingMuxer::AppendPes(std::vector<std::uint8_t>& out, std::uint16_t pid,
                               std::uint8_t& counter, const std::vector<std::uint8_t>& pes,
                               std::optional<std::uint64_t> pcr27, bool randomAccess) {
  std::size_t at = 0;
  while (at < pes.size()) {
    const bool first = at == 0;
    const auto built = BuildTsPacket(pid, counter++, first, first ? pcr27 : std::nullopt,
                                     std::span(pes).subspan(at), first && randomAccess);
    at += built.payloadTaken;
    out.insert(out.end(), built.packet.bytes.begin(), built.packet.bytes.end());
    ++packetsWritten_;
  }
}

void RecordingMuxer::Write(Elementary stream, std::uint64_t pts, std::span<const std::uint8_t> data,
                           bool randomAccess) {
  std::vector<std::uint8_t> out;
  out.reserve(data.size() + data.size() / 180 * 8 + 3 * 188);
  const bool video = stream == Elementary::Video;
  if (!lastTablesPts_ || (video && randomAccess) || pts >= *lastTablesPts_ + kTablesInterval ||
      pts + kPtsWrap / 2 < *lastTablesPts_) {
    AppendTables(out);
    lastTablesPts_ = pts;
  }
  // Audio gets a bounded PES (readers expect one); video, and audio too long
  // for the length field, leave the length open.
  const std::size_t bounded = video || data.size() > kMaxBoundedPayload ? 0 : data.size();
  std::vector<std::uint8_t> pes = PesHeader(video ? kVideoStreamId : kPrivateStream1, pts, bounded);
  pes.insert(pes.end(), data.begin(), data.end());
  std::optional<std::uint64_t> pcr;
  if (video) {
    const std::uint64_t clock = pts > kPcrLead ? (pts - kPcrLead) * 300 : 0;
    lastPcr27_ = std::max(lastPcr27_, clock);
    pcr = lastPcr27_ % (kPtsWrap * 300);
  }
  AppendPes(out, video ? kVideoPid : kAudioPid, video ? videoCounter_ : audioCounter_, pes, pcr,
            randomAccess);
  sink_(out);
}

}  // namespace streambuffer
