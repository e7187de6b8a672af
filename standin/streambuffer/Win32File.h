#pragma once
// The stream buffer's files on disk: a reader that follows a file while
// another handle (in this process or another) still writes it, and a writer
// that others may read and delete.

#include <windows.h>

#include <string>

#include "standin/streambuffer/RecordingReader.h"
#include "win/UniqueHandle.h"

namespace standin {

class ReadableFile final : public streambuffer::ByteFile {
 public:
  HRESULT Open(const std::wstring& path);
  bool IsOpen() const { return file.IsValid(); }
  std::uint64_t Size() override;
  std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override;

 private:
  UniqueFile file;
};

class WritableFile {
 public:
  HRESULT Create(const std::wstring& path);
  // Writes all of `data` or fails (a full disk).
  HRESULT Append(std::span<const std::uint8_t> data);
  void Close() { file.Reset(); }
  bool IsOpen() const { return file.IsValid(); }

 private:
  UniqueFile file;
};

// Whether some handle still writes the file: a writer shares reading only,
// so an open that refuses to share writing fails while it is there.
bool IsStillWritten(const std::wstring& path);

}  // namespace standin
