#pragma once

#include <filesystem>
#include <string>

#include "core/files/PlayConfig.h"

// What the players read at start: playconfig.txt over its defaults, and
// from config.txt the tuner model number (value 1) and the overscan flag
// (value 17).
struct PlayerStartup {
  PlayConfig config;
  int modelNumber = 0;
  bool overscan = false;
};

PlayerStartup ReadPlayerStartup(const std::filesystem::path& folder, Size screen,
                                int panelClientWidth);

// The file named on the command line: every double quote removed, at most
// 200 characters.
std::string CommandLinePath(const std::string& commandLine);
