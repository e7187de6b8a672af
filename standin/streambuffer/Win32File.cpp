#include "standin/streambuffer/Win32File.h"

#include "win/HResultMacros.h"

#include <algorithm>

namespace standin {

HRESULT ReadableFile::Open(const std::wstring& path) {
  file.Reset(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  RETURN_LAST_ERROR_IF(!file.IsValid());
  return S_OK;
}

std::uint64_t ReadableFile::Size() {
  LARGE_INTEGER size{};
  if (!file.IsValid() || !GetFileSizeEx(file.Get(), &size)) return 0;
  return static_cast<std::uint64_t>(size.QuadPart);
}

std::size_t ReadableFile::ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) {
  if (!file.IsValid() || out.empty()) return 0;
  LARGE_INTEGER at{};
  at.QuadPart = static_cast<LONGLONG>(offset);
  if (!SetFilePointerEx(file.Get(), at, nullptr, FILE_BEGIN)) return 0;
  DWORD read = 0;
  const auto want = static_cast<DWORD>(std::min<std::size_t>(out.size(), 64u << 20));
  if (!ReadFile(file.Get(), out.data(), want, &read, nullptr)) return 0;
  return read;
}

HRESULT WritableFile::Create(const std::wstring& path) {
  file.Reset(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  RETURN_LAST_ERROR_IF(!file.IsValid());
  return S_OK;
}

HRESULT WritableFile::Append(std::span<const std::uint8_t> data) {
  RETURN_HR_IF(E_UNEXPECTED, !file.IsValid());
  std::size_t at = 0;
  while (at < data.size()) {
    DWORD written = 0;
    const auto want = static_cast<DWORD>(std::min<std::size_t>(data.size() - at, 1u << 20));
    RETURN_LAST_ERROR_IF(!WriteFile(file.Get(), data.data() + at, want, &written, nullptr));
    RETURN_HR_IF(HRESULT_FROM_WIN32(ERROR_DISK_FULL), written == 0);
    at += written;
  }
  return S_OK;
}

bool IsStillWritten(const std::wstring& path) {
  UniqueFile probe(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  return !probe.IsValid() && GetLastError() == ERROR_SHARING_VIOLATION;
}

}  // namespace standin
