#include "tssink/PacketFileWriter.h"

#include <algorithm>
#include <cstring>

namespace tssink {

namespace {
constexpr std::align_val_t kChunkAlignment{4096};
}

void PacketFileWriter::ChunkMemoryFree::operator()(std::uint8_t* bytes) const noexcept {
  ::operator delete[](bytes, kChunkAlignment);
}

PacketFileWriter::Chunk PacketFileWriter::NewChunk(std::size_t size) {
  Chunk chunk;
  chunk.bytes.reset(static_cast<std::uint8_t*>(::operator new[](size, kChunkAlignment)));
  return chunk;
}

PacketFileWriter::PacketFileWriter(std::unique_ptr<OutputFile> file,
                                   std::uint64_t existingSize, ErrorHandler onError,
                                   Options options)
    : options(options),
      file(std::move(file)),
      onError(std::move(onError)),
      fileSize(existingSize),
      writer([this] { WriterLoop(); }) {}

PacketFileWriter::PacketFileWriter(std::unique_ptr<OutputFile> file,
                                   std::uint64_t existingSize, ErrorHandler onError)
    : PacketFileWriter(std::move(file), existingSize, std::move(onError), Options{}) {}

PacketFileWriter::~PacketFileWriter() { Finish(); }

// Waits until the whole piece fits (or the whole queue is free, for a piece
// larger than the queue), so that a piece is either taken whole or refused:
// a refused sample never leaves a part of itself in the file. Once the space
// is there the piece is taken whole, even if a flush begins meanwhile.
//
// Once it has to wait, it waits for half the queue to be free: each wake-up
// costs a round trip to the Wine server, so the two threads trade buffers in
// batches rather than one by one. The bytes are copied outside the queue's
// lock, so that the writer thread never waits for a copy to end.
bool PacketFileWriter::Append(const std::uint8_t* data, std::size_t size) {
  std::lock_guard producer(appendLock);
  std::unique_lock guard(lock);
  // The partly filled chunk is only written once full: its bytes never free up.
  const std::size_t room = options.chunkCount * options.chunkSize - filling.used;
  const std::size_t needed = std::min(size, room);
  if (!Refusing() && FreeSpace() < needed) {
    spaceTarget = std::max(needed, std::min(room, options.chunkCount * options.chunkSize / 2));
    WaitForSpace(guard, [&] { return Refusing() || FreeSpace() >= spaceTarget; });
  }
  const bool taken = size <= room && !Refusing();
  while (size > 0) {
    if (failed) {
      filling = Chunk();  // Nothing after a write error reaches the file.
      return false;
    }
    if (!taken && Refusing()) return false;
    if (!filling.bytes) {
      // Chunks are allocated as needed, up to the limit, then recycled.
      if (!freeChunks.empty()) {
        filling = std::move(freeChunks.back());
        freeChunks.pop_back();
      } else if (chunksAllocated < options.chunkCount) {
        filling = NewChunk(options.chunkSize);
        ++chunksAllocated;
      } else {
        spaceTarget = options.chunkSize;  // a piece larger than the queue
        WaitForSpace(guard, [&] { return failed || (!taken && Refusing()) || FreeSpace() > 0; });
        continue;
      }
    }
    const std::size_t take = std::min(size, options.chunkSize - filling.used);
    guard.unlock();
    std::memcpy(filling.bytes.get() + filling.used, data, take);
    guard.lock();
    filling.used += take;
    data += take;
    size -= take;
    if (filling.used == options.chunkSize) QueueFilling();
  }
  return true;
}

bool PacketFileWriter::Refusing() const { return refusing || finishing || failed; }

std::size_t PacketFileWriter::FreeSpace() const {
  const std::size_t wholeChunks = options.chunkCount - chunksAllocated + freeChunks.size();
  const std::size_t inFilling = filling.bytes ? options.chunkSize - filling.used : 0;
  return wholeChunks * options.chunkSize + inFilling;
}

template <typename Ready>
void PacketFileWriter::WaitForSpace(std::unique_lock<std::mutex>& guard, Ready ready) {
  ++appendWaiters;
  spaceReady.wait(guard, ready);
  --appendWaiters;
}

void PacketFileWriter::QueueFilling() {
  if (filling.used == 0) return;
  fullChunks.push_back(std::move(filling));
  filling = Chunk();
  if (writerWaiting) dataReady.notify_one();
}

void PacketFileWriter::SetRefusing(bool refuse) {
  std::lock_guard guard(lock);
  refusing = refuse;
  spaceReady.notify_all();
}

// New data is refused first; an Append that already took its piece ends, and
// only then is the last, partly filled chunk queued and the writer told that
// nothing more comes.
bool PacketFileWriter::Finish() {
  {
    std::lock_guard guard(lock);
    if (!writer.joinable()) return !failed;
    finishing = true;
    spaceReady.notify_all();
  }
  {
    std::lock_guard producer(appendLock);
    std::lock_guard guard(lock);
    if (!failed) QueueFilling();
    lastQueued = true;
    dataReady.notify_one();
  }
  writer.join();
  file->Close();
  std::lock_guard guard(lock);
  return !failed;
}

bool PacketFileWriter::HasFailed() const {
  std::lock_guard guard(lock);
  return failed;
}

std::uint64_t PacketFileWriter::FileSize() const {
  std::lock_guard guard(lock);
  return fileSize;
}

void PacketFileWriter::WriterLoop() {
  std::unique_lock guard(lock);
  for (;;) {
    writerWaiting = true;
    dataReady.wait(guard, [this] { return !fullChunks.empty() || lastQueued; });
    writerWaiting = false;
    if (fullChunks.empty()) return;  // finished, and all written
    Chunk chunk = std::move(fullChunks.front());
    fullChunks.pop_front();
    guard.unlock();
    const std::size_t written = file->Write(chunk.bytes.get(), chunk.used);
    guard.lock();
    fileSize += written;
    if (written != chunk.used) {
      HandleWriteError(guard);
      return;
    }
    chunk.used = 0;
    freeChunks.push_back(std::move(chunk));
    // Everything written wakes a waiting Append whatever it waits for.
    if (appendWaiters > 0 && (FreeSpace() >= spaceTarget || fullChunks.empty())) {
      spaceReady.notify_all();
    }
  }
}

// Lock held on entry. A packet cut by the failed write would leave a damaged
// tail: the file goes back to the last whole packet.
void PacketFileWriter::HandleWriteError(std::unique_lock<std::mutex>& guard) {
  failed = true;
  fullChunks.clear();  // The chunk being filled is Append's: it drops it.
  spaceReady.notify_all();
  const std::uint64_t whole = fileSize - fileSize % kPacketSize;
  if (file->Truncate(whole)) fileSize = whole;
  guard.unlock();
  if (onError) onError();
  guard.lock();
}

}  // namespace tssink
