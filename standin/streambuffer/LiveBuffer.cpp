#include "standin/streambuffer/LiveBuffer.h"

#include <algorithm>

namespace standin {

LiveBuffer::LiveBuffer(std::wstring directory, std::wstring stem, streambuffer::RingSettings settings)
    : directory(std::move(directory)), stem(std::move(stem)), ring(settings) {}

LiveBuffer::~LiveBuffer() {
  current.Close();
  for (const auto& file : ring.Files()) DeleteFileW(FilePath(file.number).c_str());
}

std::wstring LiveBuffer::FilePath(std::uint64_t number) const {
  return directory + stem + L"_" + std::to_wstring(number) + L".tsbuf";
}

void LiveBuffer::Write(const streambuffer::SinkUnit& unit) {
  {
    std::lock_guard guard(lock);
    if (ended || FAILED(result)) return;
    if (ring.NeedsNewFile(unit.pts, unit.randomAccess)) {
      // The first file waits for a picture where decoding may start.
      if (ring.Empty() && !unit.randomAccess && unit.stream == streambuffer::Elementary::Video) return;
      current.Close();
      const std::uint64_t number = ring.BeginFile(unit.pts);
      result = current.Create(FilePath(number));
      if (FAILED(result)) return;
      // Each file is a stream of its own: tables and counters start afresh.
      muxer = std::make_unique<streambuffer::RecordingMuxer>([this](std::span<const std::uint8_t> bytes) {
        if (SUCCEEDED(result)) result = current.Append(bytes);
      });
      for (std::uint64_t gone : ring.Trim(OldestReader())) DeleteFileW(FilePath(gone).c_str());
      if (!origin) origin = unit.pts;
    }
    muxer->Write(unit.stream, unit.pts, unit.data, unit.randomAccess);
    ring.Extend(unit.pts);
    ++writes;
  }
  written.notify_all();
}

void LiveBuffer::End() {
  {
    std::lock_guard guard(lock);
    ended = true;
    current.Close();
  }
  written.notify_all();
}

std::optional<std::uint64_t> LiveBuffer::Origin() {
  std::lock_guard guard(lock);
  return origin;
}

std::optional<std::uint64_t> LiveBuffer::Earliest() {
  std::lock_guard guard(lock);
  return ring.Earliest();
}

std::optional<std::uint64_t> LiveBuffer::Latest() {
  std::lock_guard guard(lock);
  return ring.Latest();
}

std::optional<streambuffer::RingFile> LiveBuffer::FindFile(std::uint64_t pts) {
  std::lock_guard guard(lock);
  return ring.FindFile(pts);
}

std::optional<streambuffer::RingFile> LiveBuffer::NextFile(std::uint64_t number) {
  std::lock_guard guard(lock);
  return ring.NextFile(number);
}

bool LiveBuffer::HasEnded() {
  std::lock_guard guard(lock);
  return ended || FAILED(result);
}

HRESULT LiveBuffer::Result() {
  std::lock_guard guard(lock);
  return result;
}

std::uint64_t LiveBuffer::Writes() {
  std::lock_guard guard(lock);
  return writes;
}

void LiveBuffer::WaitForMore(std::uint64_t seenWrites, std::chrono::milliseconds timeout) {
  std::unique_lock guard(lock);
  written.wait_for(guard, timeout, [&] { return writes != seenWrites || ended || FAILED(result); });
}

void LiveBuffer::SetReaderPosition(const void* reader, std::optional<std::uint64_t> pts) {
  std::lock_guard guard(lock);
  if (pts) readers[reader] = *pts;
  else readers.erase(reader);
}

std::optional<std::uint64_t> LiveBuffer::OldestReader() const {
  if (readers.empty()) return std::nullopt;
  std::uint64_t oldest = readers.begin()->second;
  for (const auto& [reader, pts] : readers) oldest = std::min(oldest, pts);
  return oldest;
}

}  // namespace standin
