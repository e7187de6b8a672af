#include "tssource/SourceFile.h"

#include "tssource/SourceArithmetic.h"

#include <new>

namespace tssource {

// VirtualAlloc gives page alignment, which covers every sector size that
// unbuffered reads may require.
SourceFile::SourceFile()
    : staging(static_cast<std::uint8_t*>(
          VirtualAlloc(nullptr, kBlockSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))) {
  if (staging == nullptr) throw std::bad_alloc();
}

SourceFile::~SourceFile() { VirtualFree(staging, 0, MEM_RELEASE); }

SourceFile::OpenResult SourceFile::Open(const wchar_t* newName) {
  std::lock_guard guard(lock);
  file.Reset();
  name = newName;

  char ansiName[MAX_PATH];
  if (WideCharToMultiByte(CP_ACP, 0, newName, -1, ansiName, MAX_PATH, nullptr, nullptr) == 0) {
    return OpenResult::NameNotConvertible;
  }
  file.Reset(CreateFileA(ansiName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_NO_BUFFERING, nullptr));
  return file ? OpenResult::Opened : OpenResult::CannotOpen;
}

std::wstring SourceFile::Name() {
  std::lock_guard guard(lock);
  return name;
}

std::uint64_t SourceFile::Size() {
  std::lock_guard guard(lock);
  LARGE_INTEGER size{};
  if (!file || !GetFileSizeEx(file.Get(), &size)) return 0;
  return static_cast<std::uint64_t>(size.QuadPart);
}

// A sample buffer that is sector-aligned and holds a whole block takes the
// read directly; any other goes through the aligned staging block, since an
// unbuffered read into a misaligned buffer fails.
std::uint64_t SourceFile::ReadNextBlock(std::uint8_t* sample, std::size_t sampleSize,
                                        std::size_t& bytesCopied) {
  std::lock_guard guard(lock);
  const bool direct =
      reinterpret_cast<std::uintptr_t>(sample) % kSectorSize == 0 && sampleSize >= kBlockSize;
  std::uint8_t* target = direct ? sample : staging;
  DWORD bytesRead = 0;
  if (file && !ReadFile(file.Get(), target, kBlockSize, &bytesRead, nullptr)) {
    bytesRead = 0;  // A failed read is delivered as zeros, like the end of the file.
  }
  bytesCopied = direct ? PadSampleAfterRead(sample, sampleSize, bytesRead)
                       : FillSampleFromBlock(sample, sampleSize, staging, kBlockSize, bytesRead);
  return blockIndex++;
}

void SourceFile::SeekToBlock(std::uint64_t newIndex) {
  std::lock_guard guard(lock);
  blockIndex = newIndex;
  if (!file) return;
  LARGE_INTEGER offset{};
  offset.QuadPart = static_cast<LONGLONG>(FileOffsetForBlock(newIndex));
  // Past the end is allowed: reads there give zeros, as at the end of the file.
  SetFilePointerEx(file.Get(), offset, nullptr, FILE_BEGIN);
}

}  // namespace tssource
