// The stream-buffer source's reader thread: reads the content from the
// position asked for, hands each unit to its pin's queue with a stream time,
// and takes up new positions and rates between two units.

#include "standin/streambuffer/SourceFilter.h"

#include "graph/RecordingGraphEvents.h"
#include "win/HResultMacros.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace standin {

using Microsoft::WRL::ComPtr;
using streambuffer::PtsToTime;

namespace {

constexpr std::size_t kReadChunk = 188 * 512;
constexpr auto kLiveWait = std::chrono::milliseconds(100);
constexpr auto kFileWait = std::chrono::milliseconds(200);
// Rewinding shows one picture every half second of stream time, from
// rate x half a second further back each time.
constexpr std::uint64_t kReverseStepPts = streambuffer::kPtsPerSecond / 2;
constexpr REFERENCE_TIME kReverseStepTime = 5'000'000;
constexpr std::uint64_t kReverseSearchLimit = 8ull << 20;

}  // namespace

bool SourceFilter::IsRequestDue() {
  std::lock_guard play(playLock);
  return requested != answered || readerStopping;
}

void SourceFilter::WaitForRequest(std::chrono::milliseconds timeout) {
  std::unique_lock play(playLock);
  playChanged.wait_for(play, timeout, [&] { return readerStopping || requested != answered; });
}

void SourceFilter::ReaderLoop() {
  const auto played = Content();
  if (!played) return;
  PlaybackCursor cursor;
  unitParser = std::make_unique<streambuffer::UnitParser>(
      [this](streambuffer::RecordedUnit&& unit) { parsed.push_back(std::move(unit)); });
  bool positioned = false;
  for (;;) {
    {
      std::lock_guard play(playLock);
      if (readerStopping) break;
    }
    if (!positioned || IsRequestDue()) {
      positioned = ApplyRequest(*played, cursor);
      if (!positioned) {
        // Nothing to play yet (a live buffer before its first picture).
        if (played->IsLive()) played->WaitForMore(kLiveWait);
        WaitForRequest(played->IsLive() ? std::chrono::milliseconds(10) : kFileWait);
        continue;
      }
    }
    if (ended || EveryPinRefused()) {
      WaitForRequest(kFileWait);
      continue;
    }
    double current = 1.0;
    {
      std::lock_guard play(playLock);
      current = rate;
    }
    if (current > 0) ReadForward(*played, cursor);
    else StepBackward(*played);
  }
  played->SetReaderPosition(this, std::nullopt);
}

bool SourceFilter::ApplyRequest(PlaybackContent& played, PlaybackCursor& cursor) {
  std::optional<std::uint64_t> pts;
  double newRate = 1.0;
  std::uint64_t ticket = 0;
  {
    std::lock_guard play(playLock);
    pts = requestPts;
    newRate = requestRate;
    ticket = requested;
  }
  if (!pts) pts = played.Earliest();  // the start of what is kept
  if (!pts || played.OpenAt(*pts, cursor) != S_OK) return false;
  const auto origin = played.Origin();
  const REFERENCE_TIME base = StreamNow();
  {
    std::lock_guard play(playLock);
    segmentPts = *pts;
    rate = newRate;
    segmentBase = base;
    answered = ticket;
    lastQueuedPts.reset();
    discontinuity = true;
  }
  playChanged.notify_all();
  parsed.clear();
  unitParser->Reset();
  nearPts = cursor.nearPts;
  reverseSteps = 0;
  ended = false;
  videoRefused = false;
  audioRefused = false;
  played.SetReaderPosition(this, *pts);
  {
    // The samples of the new segment follow the end of the flush.
    std::unique_lock play(playLock);
    playChanged.wait(play, [&] { return !flushing || readerStopping; });
  }
  const LONGLONG position =
      origin && *pts > *origin ? PtsToTime(static_cast<std::int64_t>(*pts - *origin)) : 0;
  for (SourceOutputPin* pin : {&video, &audio}) {
    if (pin->IsConnected()) pin->DeliverNewSegment(position, MAXLONGLONG, newRate);
  }
  return true;
}

bool SourceFilter::ReadForward(PlaybackContent& played, PlaybackCursor& cursor) {
  std::vector<std::uint8_t> chunk(kReadChunk);
  std::size_t got = cursor.file.ReadAt(cursor.offset, chunk);
  if (got < kTsPacketSize) {
    switch (played.AtEnd(cursor)) {
      case PlaybackContent::End::More:
        if (cursor.offset == 0) {
          // The next file of the ring: a stream of its own, whose counters
          // start afresh; what the last one held goes out first.
          unitParser->Flush();
          unitParser->Reset();
          if (cursor.afterHole) {
            cursor.afterHole = false;
            TellTimeHole(played, nearPts, cursor.nearPts);
          }
        }
        return true;
      case PlaybackContent::End::Wait:
        if (played.IsLive()) played.WaitForMore(kLiveWait);
        else WaitForRequest(kFileWait);
        return true;
      case PlaybackContent::End::Finished:
        unitParser->Flush();
        for (const auto& unit : parsed) {
          nearPts = streambuffer::UnwrapPts(unit.pts, nearPts);
          if (!DeliverUnit(unit, nearPts)) break;
        }
        parsed.clear();
        EndStreams();
        ended = true;
        return true;
    }
  }
  std::size_t at = 0;
  while (at + kTsPacketSize <= got) {
    if (chunk[at] != kTsSyncByte) {
      ++at;  // back onto the packet grid
      continue;
    }
    unitParser->Feed(TsPacket::FromBytes(std::span(chunk).subspan(at, kTsPacketSize)));
    at += kTsPacketSize;
  }
  cursor.offset += at;
  std::optional<LONGLONG> stopAt;
  {
    std::lock_guard play(playLock);
    stopAt = stopPosition;
  }
  const auto origin = played.Origin();
  for (const auto& unit : parsed) {
    const std::uint64_t pts = streambuffer::UnwrapPts(unit.pts, nearPts);
    nearPts = pts;
    if (stopAt && origin && pts > *origin &&
        PtsToTime(static_cast<std::int64_t>(pts - *origin)) > *stopAt) {
      parsed.clear();
      EndStreams();
      ended = true;
      return true;
    }
    if (!DeliverUnit(unit, pts)) {
      parsed.clear();
      return false;
    }
  }
  parsed.clear();
  std::lock_guard play(playLock);
  if (lastQueuedPts) played.SetReaderPosition(this, *lastQueuedPts);
  return true;
}

bool SourceFilter::StepBackward(PlaybackContent& played) {
  std::uint64_t start = 0;
  double current = -1.0;
  {
    std::lock_guard play(playLock);
    start = segmentPts;
    current = rate;
  }
  const auto back = static_cast<std::uint64_t>(std::fabs(current) * static_cast<double>(reverseSteps) *
                                               static_cast<double>(kReverseStepPts));
  const auto earliest = played.Earliest();
  PlaybackCursor cursor;
  if (!earliest || back > start || start - back < *earliest ||
      played.OpenAt(start - back, cursor) != S_OK) {
    // The start is reached: the last picture stays until a new position.
    WaitForRequest(kFileWait);
    return true;
  }
  std::vector<std::uint8_t> chunk(kReadChunk);
  std::optional<streambuffer::RecordedUnit> picture;
  streambuffer::UnitParser parser([&](streambuffer::RecordedUnit&& unit) {
    if (!picture && unit.stream == streambuffer::Elementary::Video && unit.randomAccess) picture = std::move(unit);
  });
  for (std::uint64_t read = 0; !picture && read < kReverseSearchLimit; read += kReadChunk) {
    const std::size_t got = cursor.file.ReadAt(cursor.offset, chunk);
    if (got < kTsPacketSize) break;
    std::size_t at = 0;
    for (; at + kTsPacketSize <= got; at += kTsPacketSize) {
      parser.Feed(TsPacket::FromBytes(std::span(chunk).subspan(at, kTsPacketSize)));
    }
    cursor.offset += at;
  }
  parser.Flush();
  if (!picture) {
    WaitForRequest(kFileWait);
    return true;
  }
  const std::uint64_t pts = streambuffer::UnwrapPts(picture->pts, start - back);
  REFERENCE_TIME base = 0;
  {
    std::lock_guard play(playLock);
    base = segmentBase;
  }
  const bool delivered =
      DeliverUnit(*picture, pts, base + static_cast<REFERENCE_TIME>(reverseSteps) * kReverseStepTime);
  ++reverseSteps;
  return delivered;
}

bool SourceFilter::DeliverUnit(const streambuffer::RecordedUnit& unit, std::uint64_t pts,
                               std::optional<REFERENCE_TIME> at) {
  double current = 1.0;
  std::uint64_t segment = 0;
  REFERENCE_TIME base = 0;
  bool firstAfterSeek = false;
  {
    std::lock_guard play(playLock);
    if (requested != answered || readerStopping) return false;
    current = rate;
    segment = segmentPts;
    base = segmentBase;
    firstAfterSeek = discontinuity;
  }
  const bool isVideo = unit.stream == streambuffer::Elementary::Video;
  SourceOutputPin& pin = isVideo ? video : audio;
  bool& refused = isVideo ? videoRefused : audioRefused;
  // Sound plays at the normal rate only.
  if (!pin.IsConnected() || refused || (!isVideo && current != 1.0)) return true;
  const REFERENCE_TIME time =
      at ? *at
         : base + static_cast<REFERENCE_TIME>(
                      static_cast<double>(PtsToTime(static_cast<std::int64_t>(pts) - static_cast<std::int64_t>(segment))) /
                      current);
  std::size_t offset = 0;
  bool first = true;
  while (first || offset < unit.data.size()) {
    ComPtr<IMediaSample> sample;
    if (FAILED(pin.GetDeliveryBuffer(&sample))) return false;  // stopping
    BYTE* data = nullptr;
    if (FAILED(sample->GetPointer(&data))) return false;
    const std::size_t room = static_cast<std::size_t>(std::max(sample->GetSize(), 0L));
    const std::size_t take = std::min(room, unit.data.size() - offset);
    if (take > 0) std::memcpy(data, unit.data.data() + offset, take);
    sample->SetActualDataLength(static_cast<long>(take));
    if (first) {
      REFERENCE_TIME start = time, stop = time + 1;
      sample->SetTime(&start, &stop);
      // The PTS travel as the media time, as the demultiplexer sends them.
      LONGLONG mediaStart = static_cast<LONGLONG>(pts & (streambuffer::kPtsWrap - 1));
      LONGLONG mediaStop = mediaStart + 1;
      sample->SetMediaTime(&mediaStart, &mediaStop);
      sample->SetSyncPoint(isVideo ? (unit.randomAccess ? TRUE : FALSE) : TRUE);
      sample->SetDiscontinuity(firstAfterSeek ? TRUE : FALSE);
    } else {
      sample->SetTime(nullptr, nullptr);
      sample->SetMediaTime(nullptr, nullptr);
      sample->SetSyncPoint(FALSE);
      sample->SetDiscontinuity(FALSE);
    }
    sample->SetPreroll(FALSE);
    if (pin.Queue(sample.Get()) != S_OK) {
      // Downstream takes nothing more of this segment (it flushes, or has
      // ended): the other pin plays on.
      refused = true;
      return true;
    }
    offset += take;
    first = false;
    if (take == 0) break;
  }
  std::lock_guard play(playLock);
  if (requested == answered) {
    lastQueuedPts = pts;
    discontinuity = false;
  }
  return true;
}

// Nothing is left to send until the next seek: reading on would only race
// through the recording to an end of stream that was never played.
bool SourceFilter::EveryPinRefused() {
  return (videoRefused || !video.IsConnected()) && (audioRefused || !audio.IsConnected()) &&
         (videoRefused || audioRefused);
}

// The files after the one read were deleted while it was read: the
// application hears of the hole (its start as a position and its length,
// both in milliseconds) and may seek past it; otherwise the picture stands
// still for the hole's length, as the next file's samples are stamped with
// their own times.
void SourceFilter::TellTimeHole(PlaybackContent& played, std::uint64_t from, std::uint64_t to) {
  const auto origin = played.Origin();
  if (!origin || to <= from) return;
  const std::uint64_t start = from > *origin ? from - *origin : 0;
  const auto milliseconds = [](std::uint64_t pts) {
    return static_cast<LONG_PTR>(pts / (streambuffer::kPtsPerSecond / 1000));
  };
  // A graph without an event sink hears nothing.
  NotifyEvent(graph_events::kStreamBufferTimeHole, milliseconds(start), milliseconds(to - from));
}

void SourceFilter::EndStreams() {
  for (SourceOutputPin* pin : {&video, &audio}) {
    if (pin->IsConnected()) pin->QueueEndOfStream();
  }
}

}  // namespace standin
