#pragma once
// The live stream buffer of one run of a sink: the ring of backing files in
// the buffer folder, written by the sink's receive threads and read by the
// stream-buffer sources attached to the sink. The files are deleted as the
// ring moves on and when the last holder lets the buffer go.
//
// Positions are unwrapped 90 kHz PTS; the buffer's own time 0 is the first
// unit written (Origin).

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "standin/streambuffer/BackingRing.h"
#include "standin/streambuffer/RecordingMuxer.h"
#include "standin/streambuffer/SinkAssembler.h"
#include "standin/streambuffer/Win32File.h"

namespace standin {

class LiveBuffer {
 public:
  // Files are named `stem` + "_<number>.tsbuf" in `directory` (which ends in
  // a backslash).
  LiveBuffer(std::wstring directory, std::wstring stem, streambuffer::RingSettings settings);
  ~LiveBuffer();

  // From the sink's receive threads.
  void Write(const streambuffer::SinkUnit& unit);
  // The sink stopped: nothing more comes.
  void End();

  // For readers.
  std::wstring FilePath(std::uint64_t number) const;
  std::optional<std::uint64_t> Origin();
  std::optional<std::uint64_t> Earliest();
  std::optional<std::uint64_t> Latest();
  std::optional<streambuffer::RingFile> FindFile(std::uint64_t pts);
  std::optional<streambuffer::RingFile> NextFile(std::uint64_t number);
  bool HasEnded();
  HRESULT Result();
  // Waits until more is written, the buffer ends or `timeout` passes.
  void WaitForMore(std::uint64_t seenWrites, std::chrono::milliseconds timeout);
  std::uint64_t Writes();
  // Where a reader is (nothing: it reads no more), so that the ring keeps
  // the file it reads.
  void SetReaderPosition(const void* reader, std::optional<std::uint64_t> pts);

 private:
  std::optional<std::uint64_t> OldestReader() const;

  const std::wstring directory;
  const std::wstring stem;
  mutable std::mutex lock;
  std::condition_variable written;
  streambuffer::BackingRing ring;
  WritableFile current;
  std::unique_ptr<streambuffer::RecordingMuxer> muxer;
  std::optional<std::uint64_t> origin;
  std::map<const void*, std::uint64_t> readers;
  std::uint64_t writes = 0;
  bool ended = false;
  HRESULT result = S_OK;
};

}  // namespace standin
