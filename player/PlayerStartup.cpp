#include "player/PlayerStartup.h"

#include <algorithm>
#include <fstream>
#include <vector>

#include "core/files/FileNames.h"
#include "core/files/TextFiles.h"

namespace {
constexpr std::size_t kMaxPathCharacters = 200;
constexpr int kModelValue = 1;
constexpr int kOverscanValue = 17;
}  // namespace

PlayerStartup ReadPlayerStartup(const std::filesystem::path& folder, Size screen,
                                int panelClientWidth) {
  PlayerStartup startup;
  const PlayConfig defaults = DefaultPlayConfig(screen, panelClientWidth);
  startup.config = ReadPlayConfig(folder / FileNames::kPlayConfig, defaults).value_or(defaults);
  std::ifstream config(folder / FileNames::kConfig);
  if (config) {
    const std::vector<int> values = ReadIntegers(config, kOverscanValue);
    if (values.size() >= kModelValue) startup.modelNumber = values[kModelValue - 1];
    if (values.size() >= kOverscanValue) startup.overscan = values[kOverscanValue - 1] != 0;
  }
  return startup;
}

std::string CommandLinePath(const std::string& commandLine) {
  std::string path;
  std::copy_if(commandLine.begin(), commandLine.end(), std::back_inserter(path),
               [](char c) { return c != '"'; });
  if (path.size() > kMaxPathCharacters) path.resize(kMaxPathCharacters);
  return path;
}
