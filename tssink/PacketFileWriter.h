#pragma once
// Writes a transport stream to a file on its own thread, so that the
// streaming thread that hands in the data never waits for the disk (only for
// a free buffer when the disk falls behind by the whole queue).
//
// On a write error the writer stops writing, cuts the file back to the last
// whole 188-byte packet and reports the failure once through `onError`, on the
// writer thread. Later data is refused.

#include "tssink/OutputFile.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace tssink {

constexpr std::size_t kPacketSize = 188;

class PacketFileWriter {
 public:
  // 8 MiB in all: over three seconds of a full ATSC stream to ride out a
  // slow disk. Each write is 64 KiB, the size Windows' cache manager works
  // in; under Wine, writes of 512 KiB and more went markedly slower into the
  // Linux page cache.
  struct Options {
    std::size_t chunkSize = 1 << 16;
    std::size_t chunkCount = 128;
  };
  using ErrorHandler = std::function<void()>;

  // `existingSize`: bytes already in the file (when appending to it).
  PacketFileWriter(std::unique_ptr<OutputFile> file, std::uint64_t existingSize,
                   ErrorHandler onError, Options options);
  PacketFileWriter(std::unique_ptr<OutputFile> file, std::uint64_t existingSize,
                   ErrorHandler onError);
  ~PacketFileWriter();
  PacketFileWriter(const PacketFileWriter&) = delete;
  PacketFileWriter& operator=(const PacketFileWriter&) = delete;

  // Queues a copy of the data. Waits only while every buffer is full. False
  // when the data was not taken: after a write error, while refusing, or
  // once Finish() was called.
  bool Append(const std::uint8_t* data, std::size_t size);

  // While refusing (a flush), a waiting Append and every later one return
  // false at once; what was queued before is still written.
  void SetRefusing(bool refuse);

  // Writes everything queued, ends the thread and closes the file. True when
  // every byte taken by Append reached the file.
  bool Finish();

  bool HasFailed() const;
  std::uint64_t FileSize() const;

 private:
  // One write's worth of the stream, page-aligned: the kernel copies from an
  // aligned buffer into the page cache markedly faster.
  struct ChunkMemoryFree {
    void operator()(std::uint8_t* bytes) const noexcept;
  };
  struct Chunk {
    std::unique_ptr<std::uint8_t[], ChunkMemoryFree> bytes;
    std::size_t used = 0;
  };
  static Chunk NewChunk(std::size_t size);

  void WriterLoop();
  void HandleWriteError(std::unique_lock<std::mutex>& guard);
  // Bytes that Append can take without waiting (lock held).
  std::size_t FreeSpace() const;
  // No new data is taken: a flush, Finish, or a write error (lock held).
  bool Refusing() const;
  // Waits on spaceReady until `ready`, counted as a waiting Append.
  template <typename Ready>
  void WaitForSpace(std::unique_lock<std::mutex>& guard, Ready ready);
  // Puts the partly filled chunk in the write queue (lock held).
  void QueueFilling();

  const Options options;
  std::unique_ptr<OutputFile> file;
  ErrorHandler onError;

  std::mutex appendLock;  // one Append at a time; Finish waits for it
  mutable std::mutex lock;  // everything below, but not the bytes of `filling`
  std::condition_variable dataReady;   // writer: a chunk to write, or the end
  std::condition_variable spaceReady;  // Append: a free chunk, or the end
  std::vector<Chunk> freeChunks;
  std::deque<Chunk> fullChunks;
  Chunk filling;
  std::size_t chunksAllocated = 0;
  bool refusing = false;
  // Who waits, and for how much space: notifications only when they help.
  int appendWaiters = 0;
  std::size_t spaceTarget = 0;
  bool writerWaiting = false;
  bool finishing = false;   // Append refuses from here on
  bool lastQueued = false;  // the writer ends once the queue is empty
  bool failed = false;
  std::uint64_t fileSize;  // bytes in the file (writer thread; read under lock)

  std::thread writer;  // last: starts once everything above exists
};

}  // namespace tssink
