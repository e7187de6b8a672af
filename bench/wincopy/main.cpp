// wincopy: copies a file the way the filters' data travels, without
// DirectShow: reads of 51200 bytes gathered into 64 KiB writes, on one
// thread. Under Wine it shows what any Win32 program can reach, next to cp.
//
//   wincopy SRC DST      prints "seconds=S"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

constexpr DWORD kBlock = 51200;
constexpr DWORD kChunk = 1 << 16;

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

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: wincopy SRC DST\n");
    return 2;
  }
  HANDLE in = CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  HANDLE out = CreateFileA(argv[2], GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (in == INVALID_HANDLE_VALUE || out == INVALID_HANDLE_VALUE) {
    std::fprintf(stderr, "wincopy: cannot open the files\n");
    return 1;
  }
  std::vector<char> block(kBlock), chunk(kChunk);
  DWORD filled = 0, got = 0;
  bool ok = true;
  const double start = Seconds();
  while (ok && ReadFile(in, block.data(), kBlock, &got, nullptr) && got > 0) {
    for (DWORD taken = 0; ok && taken < got;) {
      const DWORD piece = got - taken < kChunk - filled ? got - taken : kChunk - filled;
      CopyMemory(chunk.data() + filled, block.data() + taken, piece);
      filled += piece;
      taken += piece;
      if (filled == kChunk) {
        ok = WriteAll(out, chunk.data(), filled);
        filled = 0;
      }
    }
  }
  if (ok && filled > 0) ok = WriteAll(out, chunk.data(), filled);
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
