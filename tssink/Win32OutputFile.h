#pragma once
// The dump filter's output file on disk.

#include "tssink/OutputFile.h"
#include "win/UniqueHandle.h"

#include <windows.h>

#include <cstdint>
#include <memory>

namespace tssink {

class Win32OutputFile final : public OutputFile {
 public:
  // Creates (or, with `append`, opens or creates and goes to the end of) the
  // file. `existingSize` receives what the file already holds.
  static HRESULT Open(const wchar_t* name, bool append, std::unique_ptr<OutputFile>& out,
                      std::uint64_t& existingSize);

  std::size_t Write(const std::uint8_t* data, std::size_t size) override;
  bool Truncate(std::uint64_t size) override;
  void Close() override;

  // The Win32 error of the last failed write or cut (0 if none failed).
  DWORD LastError() const noexcept { return lastError; }

 private:
  explicit Win32OutputFile(HANDLE file) noexcept : file(file) {}
  UniqueFile file;
  DWORD lastError = 0;
};

}  // namespace tssink
