#include "tssink/Win32OutputFile.h"

#include "win/HResultMacros.h"

#include <algorithm>
#include <new>

namespace tssink {

HRESULT Win32OutputFile::Open(const wchar_t* name, bool append,
                              std::unique_ptr<OutputFile>& out, std::uint64_t& existingSize) {
  existingSize = 0;
  UniqueFile handle(CreateFileW(name, GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                append ? OPEN_ALWAYS : CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  RETURN_LAST_ERROR_IF(!handle);
  LARGE_INTEGER end{};
  RETURN_LAST_ERROR_IF(!SetFilePointerEx(handle.Get(), LARGE_INTEGER{}, &end, FILE_END));
  existingSize = static_cast<std::uint64_t>(end.QuadPart);
  out.reset(new (std::nothrow) Win32OutputFile(handle.Get()));
  RETURN_HR_IF_NULL(E_OUTOFMEMORY, out);
  handle.Release();
  return S_OK;
}

std::size_t Win32OutputFile::Write(const std::uint8_t* data, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(size - done, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file.Get(), data + done, piece, &written, nullptr)) {
      lastError = GetLastError();
      break;
    }
    if (written == 0) {
      lastError = ERROR_DISK_FULL;  // Nothing written, no error named: no room.
      break;
    }
    done += written;
  }
  return done;
}

bool Win32OutputFile::Truncate(std::uint64_t size) {
  LARGE_INTEGER position{};
  position.QuadPart = static_cast<LONGLONG>(size);
  if (SetFilePointerEx(file.Get(), position, nullptr, FILE_BEGIN) && SetEndOfFile(file.Get())) {
    return true;
  }
  lastError = GetLastError();
  return false;
}

void Win32OutputFile::Close() { file.Reset(); }

}  // namespace tssink
