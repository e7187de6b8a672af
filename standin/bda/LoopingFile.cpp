#include "standin/bda/LoopingFile.h"

#include <cstdio>

namespace standin {

bool LoopingFile::Open(const std::string& name) {
  Close();
  path = name;
  file.Reset(CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) {
    std::fprintf(stderr, "telvstandin: cannot open the transport stream %s (error %lu)\n",
                 name.c_str(), static_cast<unsigned long>(GetLastError()));
    std::fflush(stderr);
    return false;
  }
  return true;
}

void LoopingFile::Close() { file.Reset(); }

std::size_t LoopingFile::Read(std::uint8_t* buffer, std::size_t size, bool& looped) {
  looped = false;
  if (!file) return 0;
  const DWORD wanted = static_cast<DWORD>(size);
  for (int attempt = 0; attempt < 2; ++attempt) {
    DWORD got = 0;
    if (!ReadFile(file.Get(), buffer, wanted, &got, nullptr)) return 0;
    if (got > 0) return got;
    // The end: start again from the beginning, once; an empty file stays
    // empty.
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(file.Get(), start, nullptr, FILE_BEGIN)) return 0;
    looped = true;
  }
  return 0;
}

}  // namespace standin
