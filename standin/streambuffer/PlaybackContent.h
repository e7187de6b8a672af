#pragma once
// What a stream-buffer source plays: the live buffer of a sink, or a content
// recording (finished or still growing). The reader thread asks where to
// start for a time, and what to do at the end of the data it has.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "standin/streambuffer/LiveBuffer.h"
#include "standin/streambuffer/Win32File.h"

namespace standin {

struct PlaybackCursor {
  ReadableFile file;
  std::uint64_t offset = 0;
  std::uint64_t fileNumber = 0;
  std::uint64_t nearPts = 0;  // for unwrapping the file's PTS
  // The cursor moved on to a file that does not follow the one it read: the
  // files between were deleted while it read (a hole in time up to nearPts).
  bool afterHole = false;
};

class PlaybackContent {
 public:
  enum class End { More, Wait, Finished };

  virtual ~PlaybackContent() = default;
  // Unwrapped PTS of position 0, of the first and of the last unit kept;
  // nothing while the content is still empty.
  virtual std::optional<std::uint64_t> Origin() = 0;
  virtual std::optional<std::uint64_t> Earliest() = 0;
  virtual std::optional<std::uint64_t> Latest() = 0;
  // Points the cursor at the start point for `pts`; S_FALSE while there is
  // nothing to play yet.
  virtual HRESULT OpenAt(std::uint64_t pts, PlaybackCursor& cursor) = 0;
  // The cursor read all there is: more (possibly in the next file), wait, or
  // the end.
  virtual End AtEnd(PlaybackCursor& cursor) = 0;
  // Live content: waits until more is written or `timeout` passes.
  virtual void WaitForMore(std::chrono::milliseconds timeout) = 0;
  virtual bool IsLive() const = 0;
  // Where the reader is, for the ring (nothing: it stopped).
  virtual void SetReaderPosition(const void*, std::optional<std::uint64_t>) {}
};

// The live buffer of a sink, asked for again while there is none (a source
// attached before its sink runs).
std::unique_ptr<PlaybackContent> MakeLiveContent(std::function<std::shared_ptr<LiveBuffer>()> buffer);
// Opens a recording; fails when the file cannot be opened.
HRESULT MakeRecordingContent(const std::wstring& path, std::unique_ptr<PlaybackContent>& content);

}  // namespace standin
