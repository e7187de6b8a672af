#include "standin/streambuffer/PlaybackContent.h"

#include "standin/streambuffer/RecordingReader.h"
#include "win/HResultMacros.h"

#include <mutex>

namespace standin {

namespace {

using streambuffer::UnwrapPts;

class LiveContent final : public PlaybackContent {
 public:
  explicit LiveContent(std::function<std::shared_ptr<LiveBuffer>()> provider)
      : provider(std::move(provider)) {}

  std::optional<std::uint64_t> Origin() override {
    const auto buffer = Buffer();
    return buffer ? buffer->Origin() : std::nullopt;
  }
  std::optional<std::uint64_t> Earliest() override {
    const auto buffer = Buffer();
    return buffer ? buffer->Earliest() : std::nullopt;
  }
  std::optional<std::uint64_t> Latest() override {
    const auto buffer = Buffer();
    return buffer ? buffer->Latest() : std::nullopt;
  }
  bool IsLive() const override { return true; }

  HRESULT OpenAt(std::uint64_t pts, PlaybackCursor& cursor) override {
    const auto buffer = Buffer();
    if (!buffer) return S_FALSE;
    const auto file = buffer->FindFile(pts);
    if (!file) return S_FALSE;
    RETURN_IF_FAILED(cursor.file.Open(buffer->FilePath(file->number)));
    cursor.fileNumber = file->number;
    cursor.nearPts = file->firstPts;
    const auto start = streambuffer::FindStartPoint(cursor.file, pts);
    cursor.offset = start ? start->offset : 0;
    return S_OK;
  }

  End AtEnd(PlaybackCursor& cursor) override {
    const auto buffer = Buffer();
    if (!buffer) return End::Wait;
    seenWrites = buffer->Writes();
    if (cursor.file.Size() >= cursor.offset + 188) return End::More;
    if (const auto next = buffer->NextFile(cursor.fileNumber)) {
      // The newest file of the ring is written to the end before the next
      // begins, so what is left of this one is all there will be.
      PlaybackCursor moved;
      if (SUCCEEDED(moved.file.Open(buffer->FilePath(next->number)))) {
        moved.fileNumber = next->number;
        moved.nearPts = next->firstPts;
        moved.afterHole = next->number != cursor.fileNumber + 1;
        cursor = std::move(moved);
        return End::More;
      }
    }
    return buffer->HasEnded() ? End::Finished : End::Wait;
  }

  void WaitForMore(std::chrono::milliseconds timeout) override {
    // Before the sink runs there is nothing to wait on: the reader waits
    // on its own.
    if (const auto buffer = Buffer()) buffer->WaitForMore(seenWrites, timeout);
  }

  void SetReaderPosition(const void* reader, std::optional<std::uint64_t> pts) override {
    if (const auto buffer = Buffer()) buffer->SetReaderPosition(reader, pts);
  }

 private:
  // The control calls and the reader thread both ask.
  std::shared_ptr<LiveBuffer> Buffer() {
    std::lock_guard guard(lock);
    if (!buffer) buffer = provider();
    return buffer;
  }

  std::function<std::shared_ptr<LiveBuffer>()> provider;
  std::mutex lock;
  std::shared_ptr<LiveBuffer> buffer;
  std::uint64_t seenWrites = 0;
};

class RecordingContent final : public PlaybackContent {
 public:
  explicit RecordingContent(std::wstring path) : path(std::move(path)) {}

  HRESULT Open() {
    RETURN_IF_FAILED(probe.Open(path));
    return S_OK;
  }

  std::optional<std::uint64_t> Origin() override {
    std::lock_guard guard(lock);
    return OriginLocked();
  }
  std::optional<std::uint64_t> Earliest() override { return Origin(); }
  std::optional<std::uint64_t> Latest() override {
    std::lock_guard guard(lock);
    const auto origin = OriginLocked();
    if (!origin) return std::nullopt;
    const auto last = streambuffer::LastPts(probe);
    if (!last) return origin;
    return UnwrapPts(*last, *origin);
  }
  bool IsLive() const override { return false; }

  HRESULT OpenAt(std::uint64_t pts, PlaybackCursor& cursor) override {
    const auto origin = Origin();
    if (!origin) return S_FALSE;
    RETURN_IF_FAILED(cursor.file.Open(path));
    cursor.fileNumber = 0;
    cursor.nearPts = *origin;
    const auto start = streambuffer::FindStartPoint(cursor.file, pts);
    cursor.offset = start ? start->offset : 0;
    return S_OK;
  }

  End AtEnd(PlaybackCursor& cursor) override {
    if (cursor.file.Size() >= cursor.offset + 188) return End::More;
    // A recording still written grows: its writer shares the file for
    // reading only.
    if (IsStillWritten(path)) return End::Wait;
    return cursor.file.Size() >= cursor.offset + 188 ? End::More : End::Finished;
  }

  // Another process may write it: the reader waits on its own.
  void WaitForMore(std::chrono::milliseconds) override {}

 private:
  // The control calls and the reader thread both ask.
  std::optional<std::uint64_t> OriginLocked() {
    if (!first) first = streambuffer::FirstPts(probe);
    return first;
  }

  const std::wstring path;
  std::mutex lock;
  ReadableFile probe;  // under the lock
  std::optional<std::uint64_t> first;
};

}  // namespace

std::unique_ptr<PlaybackContent> MakeLiveContent(std::function<std::shared_ptr<LiveBuffer>()> buffer) {
  return std::make_unique<LiveContent>(std::move(buffer));
}

HRESULT MakeRecordingContent(const std::wstring& path, std::unique_ptr<PlaybackContent>& content) {
  auto recording = std::make_unique<RecordingContent>(path);
  RETURN_IF_FAILED(recording->Open());
  content = std::move(recording);
  return S_OK;
}

}  // namespace standin
