#include "standin/streambuffer/BufferSettings.h"

#include "win/HResultMacros.h"

#include <mutex>
#include <optional>
#include <vector>

namespace standin {

namespace {

constexpr wchar_t kDirectoryValue[] = L"BufferDirectory";
constexpr wchar_t kMinimumValue[] = L"BackingFileMinimum";
constexpr wchar_t kMaximumValue[] = L"BackingFileMaximum";
constexpr wchar_t kSecondsValue[] = L"BackingFileSeconds";
constexpr wchar_t kNamespaceValue[] = L"SyncNamespace";
constexpr wchar_t kDefaultFolder[] = L"TelvantisStreamBuffer\\";

std::mutex settingsLock;
BufferSettings processSettings;

void ReadDword(HKEY key, const wchar_t* name, DWORD& value) {
  DWORD read = 0, type = 0, size = sizeof read;
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&read), &size) ==
          ERROR_SUCCESS &&
      type == REG_DWORD) {
    value = read;
  }
}

// A string value of `key`, when it holds one of a sane length.
std::optional<std::wstring> ReadString(HKEY key, const wchar_t* name) {
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      type != REG_SZ || size >= 64 * 1024) {
    return std::nullopt;
  }
  std::vector<wchar_t> text(size / sizeof(wchar_t) + 1, L'\0');
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::wstring(text.data());
}

}  // namespace

bool BufferSettings::NormalUserMayLock() const {
  return _wcsicmp(syncNamespace.c_str(), kGlobalNamespace) != 0;
}

BufferSettings ProcessBufferSettings() {
  std::lock_guard lock(settingsLock);
  return processSettings;
}

void SetProcessBufferSettings(const BufferSettings& settings) {
  std::lock_guard lock(settingsLock);
  processSettings = settings;
}

BufferSettings ReadBufferSettings(HKEY key, BufferSettings base) {
  if (key == nullptr) return base;
  if (auto directory = ReadString(key, kDirectoryValue)) base.directory = *directory;
  ReadDword(key, kMinimumValue, base.minimum);
  ReadDword(key, kMaximumValue, base.maximum);
  ReadDword(key, kSecondsValue, base.seconds);
  if (auto name = ReadString(key, kNamespaceValue)) base.syncNamespace = *name;
  return base;
}

HRESULT WriteBufferSettings(HKEY key, const BufferSettings& settings) {
  if (key == nullptr) return S_OK;
  const auto bytes = static_cast<DWORD>((settings.directory.size() + 1) * sizeof(wchar_t));
  LSTATUS status = RegSetValueExW(key, kDirectoryValue, 0, REG_SZ,
                                  reinterpret_cast<const BYTE*>(settings.directory.c_str()), bytes);
  if (status == ERROR_SUCCESS) {
    const auto nameBytes = static_cast<DWORD>((settings.syncNamespace.size() + 1) * sizeof(wchar_t));
    status = RegSetValueExW(key, kNamespaceValue, 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(settings.syncNamespace.c_str()), nameBytes);
  }
  for (auto [name, value] : {std::pair{kMinimumValue, settings.minimum},
                             std::pair{kMaximumValue, settings.maximum},
                             std::pair{kSecondsValue, settings.seconds}}) {
    if (status == ERROR_SUCCESS) {
      status = RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                              sizeof value);
    }
  }
  return HRESULT_FROM_WIN32(status);
}

HRESULT PrepareDirectory(const BufferSettings& settings, std::wstring& directory) {
  directory = settings.directory;
  if (directory.empty()) {
    wchar_t temp[MAX_PATH + 1] = L"";
    const DWORD length = GetTempPathW(MAX_PATH, temp);
    RETURN_HR_IF(E_FAIL, length == 0 || length > MAX_PATH);
    directory = std::wstring(temp) + kDefaultFolder;
  }
  if (directory.back() != L'\\' && directory.back() != L'/') directory += L'\\';
  RETURN_HR_IF(HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE), directory.size() >= MAX_PATH - 40);
  const DWORD attributes = GetFileAttributesW(directory.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    return attributes & FILE_ATTRIBUTE_DIRECTORY ? S_OK : HRESULT_FROM_WIN32(ERROR_DIRECTORY);
  }
  // Each missing folder on the way is made, the last one included.
  for (std::size_t at = directory.find_first_of(L"\\/", 3); at != std::wstring::npos;
       at = directory.find_first_of(L"\\/", at + 1)) {
    const std::wstring part = directory.substr(0, at);
    if (GetFileAttributesW(part.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
    RETURN_LAST_ERROR_IF(!CreateDirectoryW(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS);
  }
  return S_OK;
}

HKEY DuplicateKey(HKEY key) {
  HKEY copy = nullptr;
  if (key == nullptr || RegOpenKeyExW(key, nullptr, 0, KEY_ALL_ACCESS, &copy) != ERROR_SUCCESS) {
    return nullptr;
  }
  return copy;
}

}  // namespace standin
