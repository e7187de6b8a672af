#include "StandinSettings.h"

#include <windows.h>

namespace standin {

namespace {

std::string ReadSetting(const char* name) {
  char value[1024] = {};
  DWORD size = sizeof value - 1;
  if (RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS) {
    return {};
  }
  return value;
}

}  // namespace

std::string AntennaPath() { return ReadSetting("Antenna"); }

bool ShouldFail(std::string_view step) { return ListNamesStep(ReadSetting("Fail"), step); }

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
