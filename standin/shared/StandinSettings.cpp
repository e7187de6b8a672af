#include "standin/shared/StandinSettings.h"

#include <windows.h>

namespace standin {

// Asks for the size first; a test may change the value in between, so a
// value that grew meanwhile is asked for again.
std::optional<std::string> ReadSetting(const char* name) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    DWORD size = 0;
    if (RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_SZ, nullptr, nullptr,
                     &size) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    std::string value(size, '\0');
    const LSTATUS status = RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_SZ,
                                        nullptr, value.data(), &size);
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS) return std::nullopt;
    // The size counts the terminating zero.
    if (const auto end = value.find('\0'); end != std::string::npos) value.resize(end);
    return value;
  }
  return std::nullopt;
}

std::string AntennaPath() { return ReadSetting("Antenna").value_or(""); }

bool IsWindows7Platform() { return ReadSetting("Platform").value_or("") == "Windows7"; }

bool ShouldFail(std::string_view step) {
  return ListNamesStep(ReadSetting("Fail").value_or(""), step);
}

bool ListNamesStep(std::string_view failList, std::string_view step) {
  std::size_t at = 0;
  while (at < failList.size()) {
    const std::size_t start = failList.find_first_not_of(" \t", at);
    if (start == std::string_view::npos) break;
    std::size_t end = failList.find_first_of(" \t", start);
    if (end == std::string_view::npos) end = failList.size();
    if (failList.substr(start, end - start) == step) return true;
    at = end;
  }
  return false;
}

}  // namespace standin
