#pragma once
// The push source's open file: the handle (opened for unbuffered reads), the
// name given to Load, the sector-aligned staging block and the index of the
// next block. The streaming thread reads and the application thread loads and
// seeks; the file lock keeps them apart.

#include "win/UniqueHandle.h"

#include <windows.h>

#include <cstdint>
#include <mutex>
#include <string>

namespace tssource {

class SourceFile {
 public:
  SourceFile();
  ~SourceFile();
  SourceFile(const SourceFile&) = delete;
  SourceFile& operator=(const SourceFile&) = delete;

  // How an Open ended. A name without an ANSI form that fits MAX_PATH is
  // told apart from a file that cannot be opened, whatever error code the
  // open gives (a name with '?' fails with ERROR_INVALID_NAME as well).
  enum class OpenResult { Opened, NameNotConvertible, CannotOpen };

  // Closes any open file, keeps the name and opens it for unbuffered reads.
  OpenResult Open(const wchar_t* name);

  // An empty name when none was loaded.
  std::wstring Name();
  std::uint64_t Size();

  // Reads the next block into `sample` (zero-padded to `sampleSize`) and
  // advances the block index; returns the index of the block read. Read
  // errors and the end of the file give zeros.
  std::uint64_t ReadNextBlock(std::uint8_t* sample, std::size_t sampleSize,
                              std::size_t& bytesCopied);

  // Moves the next block to `blockIndex`.
  void SeekToBlock(std::uint64_t blockIndex);

 private:
  std::mutex lock;
  UniqueFile file;
  std::wstring name;
  std::uint8_t* staging;  // one block, page-aligned (VirtualAlloc)
  std::uint64_t blockIndex = 0;
};

}  // namespace tssource
