// wincopy: copies a file the way the filters' data travels, without
// DirectShow: reads of 51200 bytes gathered into 64 KiB writes. Under Wine it
// shows what any Win32 program can reach, next to cp.
//
//   wincopy [--threads 2] SRC DST      prints "seconds=S"
//
// With one thread (the default) it reads, gathers and writes in turn. With
// two, like the push source and the dump filter, one thread reads and gathers
// into a ring of 128 chunks (8 MiB) while the other writes them.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr DWORD kBlock = 51200;
constexpr DWORD kChunk = 1 << 16;
constexpr std::size_t kRingChunks = 128;

double Seconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool WriteAll(HANDLE file, const char* data, DWORD size) {
  DWORD written = 0;
  return WriteFile(file, data, size, &written, nullptr) && written == size;
}

// Reads the whole of `in` in blocks and hands each full chunk (and the last,
// partly filled one) to `emit`, which returns a fresh chunk or null to stop.
template <typename Emit>
bool Gather(HANDLE in, char* chunk, Emit emit) {
  std::vector<char> block(kBlock);
  DWORD filled = 0, got = 0;
  while (ReadFile(in, block.data(), kBlock, &got, nullptr) && got > 0) {
    for (DWORD taken = 0; taken < got;) {
      const DWORD piece = got - taken < kChunk - filled ? got - taken : kChunk - filled;
      std::memcpy(chunk + filled, block.data() + taken, piece);
      filled += piece;
      taken += piece;
      if (filled == kChunk) {
        chunk = emit(chunk, filled);
        if (chunk == nullptr) return false;
        filled = 0;
      }
    }
  }
  return filled == 0 || emit(chunk, filled) != nullptr;
}

bool CopyOnOneThread(HANDLE in, HANDLE out) {
  std::vector<char> chunk(kChunk);
  return Gather(in, chunk.data(), [out](char* full, DWORD size) {
    return WriteAll(out, full, size) ? full : nullptr;
  });
}

// The ring between the reading and the writing thread.
struct Ring {
  std::vector<char> bytes = std::vector<char>(kRingChunks * kChunk);
  DWORD sizes[kRingChunks] = {};
  std::size_t produced = 0;  // chunks handed to the writer
  std::size_t consumed = 0;  // chunks written
  bool ended = false;
  bool failed = false;
  HANDLE out = nullptr;
  SRWLOCK lock = SRWLOCK_INIT;
  CONDITION_VARIABLE changed = CONDITION_VARIABLE_INIT;

  char* Slot(std::size_t index) { return bytes.data() + (index % kRingChunks) * kChunk; }
};

DWORD WINAPI WriterThread(void* parameter) {
  Ring& ring = *static_cast<Ring*>(parameter);
  AcquireSRWLockExclusive(&ring.lock);
  for (;;) {
    while (ring.consumed == ring.produced && !ring.ended) {
      SleepConditionVariableSRW(&ring.changed, &ring.lock, INFINITE, 0);
    }
    if (ring.consumed == ring.produced) break;
    const std::size_t index = ring.consumed;
    ReleaseSRWLockExclusive(&ring.lock);
    const bool ok = WriteAll(ring.out, ring.Slot(index), ring.sizes[index % kRingChunks]);
    AcquireSRWLockExclusive(&ring.lock);
    ++ring.consumed;
    WakeAllConditionVariable(&ring.changed);
    if (!ok) {
      ring.failed = true;
      break;
    }
  }
  ReleaseSRWLockExclusive(&ring.lock);
  return 0;
}

bool CopyOnTwoThreads(HANDLE in, HANDLE out) {
  Ring ring;
  ring.out = out;
  HANDLE writer = CreateThread(nullptr, 0, WriterThread, &ring, 0, nullptr);
  if (writer == nullptr) return false;
  Gather(in, ring.Slot(0), [&ring](char*, DWORD size) -> char* {
    AcquireSRWLockExclusive(&ring.lock);
    ring.sizes[ring.produced % kRingChunks] = size;
    ++ring.produced;
    WakeAllConditionVariable(&ring.changed);
    while (ring.produced - ring.consumed == kRingChunks && !ring.failed) {
      SleepConditionVariableSRW(&ring.changed, &ring.lock, INFINITE, 0);
    }
    char* next = ring.failed ? nullptr : ring.Slot(ring.produced);
    ReleaseSRWLockExclusive(&ring.lock);
    return next;
  });
  AcquireSRWLockExclusive(&ring.lock);
  ring.ended = true;
  WakeAllConditionVariable(&ring.changed);
  ReleaseSRWLockExclusive(&ring.lock);
  WaitForSingleObject(writer, INFINITE);
  CloseHandle(writer);
  return !ring.failed;
}

}  // namespace

int main(int argc, char** argv) {
  int threads = 1;
  if (argc == 5 && std::strcmp(argv[1], "--threads") == 0) {
    threads = std::atoi(argv[2]);
    argv += 2;
    argc -= 2;
  }
  if (argc != 3 || (threads != 1 && threads != 2)) {
    std::fprintf(stderr, "usage: wincopy [--threads 1|2] SRC DST\n");
    return 2;
  }
  HANDLE in = CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  HANDLE out = CreateFileA(argv[2], GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (in == INVALID_HANDLE_VALUE || out == INVALID_HANDLE_VALUE) {
    std::fprintf(stderr, "wincopy: cannot open the files\n");
    return 1;
  }
  const double start = Seconds();
  bool ok = threads == 1 ? CopyOnOneThread(in, out) : CopyOnTwoThreads(in, out);
  ok = CloseHandle(out) && ok;
  const double elapsed = Seconds() - start;
  CloseHandle(in);
  if (!ok) {
    std::fprintf(stderr, "wincopy: write failed\n");
    return 1;
  }
  std::printf("seconds=%.3f\n", elapsed);
  return 0;
}
