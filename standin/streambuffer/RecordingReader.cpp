#include "standin/streambuffer/RecordingReader.h"

#include "core/ts/PsiTables.h"
#include "standin/decoders/Mpeg2VideoScanner.h"

#include <algorithm>
#include <array>

namespace streambuffer {

namespace {

// How far the searches read before they give up: a few seconds of pictures.
constexpr std::uint64_t kScanLimit = 16ull * 1024 * 1024;
constexpr std::size_t kChunk = 188 * 1024;

// Calls `packet(offset, packet)` for each whole packet from `offset` on, in
// the 188-byte grid, until it returns false, `limit` bytes were read or the
// file ends. Bytes off the grid are skipped one at a time (counted in
// `stray` when given).
template <typename Visit>
void ForEachPacket(ByteFile& file, std::uint64_t offset, std::uint64_t limit, Visit&& packet,
                   std::uint64_t* stray = nullptr) {
  std::vector<std::uint8_t> buffer(kChunk);
  const std::uint64_t end = std::min<std::uint64_t>(file.Size(), limit == 0 ? ~0ull : offset + limit);
  std::uint64_t at = offset;
  while (at + kTsPacketSize <= end) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, end - at));
    const std::size_t got = file.ReadAt(at, std::span(buffer).first(want));
    if (got < kTsPacketSize) return;
    std::size_t i = 0;
    while (i + kTsPacketSize <= got) {
      if (buffer[i] != kTsSyncByte) {
        ++i;
        if (stray) ++*stray;
        continue;
      }
      if (!packet(at + i, TsPacket::FromBytes(std::span(buffer).subspan(i, kTsPacketSize)))) return;
      i += kTsPacketSize;
    }
    at += i;
  }
}

bool IsStreamPid(std::uint16_t pid) { return pid == kVideoPid || pid == kAudioPid; }

}  // namespace

UnitParser::UnitParser(UnitHandler handler)
    : handler_(std::move(handler)), video_{Elementary::Video, nullptr}, audio_{Elementary::Audio, nullptr} {
  for (Stream* stream : {&video_, &audio_}) {
    stream->assembler = std::make_unique<PesAssembler>(
        [this, stream](const PesPayload& pes) { OnPes(*stream, pes, stream->randomAccess); });
  }
}

void UnitParser::Feed(const TsPacket& packet) {
  Stream* stream = packet.Pid() == kVideoPid ? &video_ : packet.Pid() == kAudioPid ? &audio_ : nullptr;
  if (!stream) return;
  // The PES being collected ends as this one starts: its own flag is kept
  // until then.
  if (packet.PayloadUnitStart()) {
    const bool next = packet.RandomAccess();
    stream->assembler->Feed(packet);  // may hand on the previous PES
    stream->randomAccess = next;
    return;
  }
  stream->assembler->Feed(packet);
}

void UnitParser::OnPes(Stream& stream, const PesPayload& pes, bool randomAccess) {
  if (!pes.pts) return;  // the layout stamps every PES
  RecordedUnit unit;
  unit.stream = stream.kind;
  unit.pts = *pes.pts;
  unit.data.assign(pes.data.begin(), pes.data.end());
  unit.randomAccess = randomAccess;
  unit.discontinuity = pes.discontinuity;
  handler_(std::move(unit));
}

void UnitParser::Flush() {
  video_.assembler->Flush();
  audio_.assembler->Flush();
}

void UnitParser::Reset() {
  video_.assembler->Reset();
  audio_.assembler->Reset();
  video_.randomAccess = audio_.randomAccess = false;
}

std::optional<StartPoint> NextStartPoint(ByteFile& file, std::uint64_t offset) {
  std::optional<StartPoint> found;
  ForEachPacket(file, offset, kScanLimit, [&](std::uint64_t at, const TsPacket& packet) {
    if (packet.Pid() != kVideoPid || !packet.PayloadUnitStart() || !packet.RandomAccess()) return true;
    const auto pts = PesHeaderPts(packet.Payload());
    if (!pts) return true;
    found = StartPoint{at, *pts};
    return false;
  });
  return found;
}

std::optional<std::uint64_t> FirstPts(ByteFile& file) {
  std::optional<std::uint64_t> found;
  ForEachPacket(file, 0, kScanLimit, [&](std::uint64_t, const TsPacket& packet) {
    if (!IsStreamPid(packet.Pid()) || !packet.PayloadUnitStart()) return true;
    found = PesHeaderPts(packet.Payload());
    return !found;
  });
  return found;
}

std::optional<std::uint64_t> LastPts(ByteFile& file) {
  const auto first = FirstPts(file);
  if (!first) return std::nullopt;
  const std::uint64_t size = file.Size();
  std::uint64_t from = size > 4 * 1024 * 1024 ? size - 4 * 1024 * 1024 : 0;
  from -= from % kTsPacketSize;
  std::uint64_t last = *first;
  ForEachPacket(file, from, 0, [&](std::uint64_t, const TsPacket& packet) {
    if (IsStreamPid(packet.Pid()) && packet.PayloadUnitStart()) {
      if (const auto pts = PesHeaderPts(packet.Payload())) last = std::max(last, UnwrapPts(*pts, last));
    }
    return true;
  });
  return last;
}

std::optional<StartPoint> FindStartPoint(ByteFile& file, std::uint64_t pts) {
  const auto first = NextStartPoint(file, 0);
  if (!first) return std::nullopt;
  StartPoint best{first->offset, UnwrapPts(first->pts, first->pts)};
  const std::uint64_t origin = best.pts;
  if (pts <= best.pts) return best;
  // Bisect on the packet grid: the start point found after `middle` is at or
  // before the time asked for, or it is not.
  std::uint64_t low = best.offset / kTsPacketSize;
  std::uint64_t high = file.Size() / kTsPacketSize;
  while (high - low > 1) {
    const std::uint64_t middle = low + (high - low) / 2;
    const auto next = NextStartPoint(file, middle * kTsPacketSize);
    if (!next) {
      high = middle;
      continue;
    }
    const std::uint64_t nextPts = UnwrapPts(next->pts, origin);
    if (nextPts <= pts) {
      best = {next->offset, nextPts};
      low = std::max(middle, next->offset / kTsPacketSize);
      if (low >= high) break;
    } else {
      high = middle;
    }
  }
  return best;
}

RecordingSummary Summarize(ByteFile& file) {
  RecordingSummary summary;
  std::array<int, 0x2000> counters;
  counters.fill(-1);
  bool havePat = false, havePmt = false;
  std::optional<std::uint64_t> lastVideo, lastAudio;
  Mpeg2VideoScanner scanner;
  UnitParser parser([&](RecordedUnit&& unit) {
    auto& last = unit.stream == Elementary::Video ? lastVideo : lastAudio;
    auto& step = unit.stream == Elementary::Video ? summary.largestVideoStep : summary.largestAudioStep;
    const bool any = lastVideo || lastAudio;
    const std::uint64_t pts = UnwrapPts(unit.pts, last ? *last : any ? summary.firstPts : unit.pts);
    if (!any) summary.firstPts = pts;
    if (last) {
      if (pts < *last) ++summary.backwardSteps;
      else step = std::max(step, pts - *last);
    }
    last = pts;
    summary.lastPts = std::max(summary.lastPts, pts);
    if (unit.stream == Elementary::Video) {
      ++summary.videoUnits;
      if (unit.randomAccess) ++summary.randomAccessPoints;
      if (summary.width == 0) {
        scanner.Feed(unit.data);
        if (scanner.HasSequence()) {
          summary.width = scanner.Sequence().width;
          summary.height = scanner.Sequence().height;
        }
      }
    } else {
      ++summary.audioUnits;
    }
  });
  ForEachPacket(
      file, 0, 0,
      [&](std::uint64_t, const TsPacket& packet) {
        ++summary.packets;
        const std::uint16_t pid = packet.Pid();
        if (packet.HasPayload() && pid != kNullPid) {
          const int expected = counters[pid] < 0 ? -1 : (counters[pid] + 1) & 0x0F;
          if (expected >= 0 && packet.ContinuityCounter() != expected) ++summary.counterErrors;
          counters[pid] = packet.ContinuityCounter();
        }
        if (packet.PayloadUnitStart() && (pid == kPatPid || pid == kPmtPid)) {
          const auto payload = packet.Payload();
          if (!payload.empty() && payload[0] + 1u < payload.size()) {
            const auto section = payload.subspan(1u + payload[0]);
            if (pid == kPatPid) {
              const auto pat = ParsePat(section);
              havePat = havePat || (pat && !pat->programs.empty() && pat->programs[0].pid == kPmtPid);
            } else {
              const auto pmt = ParsePmt(section);
              havePmt = havePmt || (pmt && pmt->FindStream(kStreamTypeMpeg2Video) == kVideoPid &&
                                    pmt->FindStream(kStreamTypeAc3Audio) == kAudioPid);
            }
          }
        }
        parser.Feed(packet);
        return true;
      },
      &summary.strayBytes);
  parser.Flush();
  summary.hasTables = havePat && havePmt;
  return summary;
}

}  // namespace streambuffer
