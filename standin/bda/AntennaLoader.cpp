#include "standin/bda/AntennaLoader.h"

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "standin/shared/StandinSettings.h"

namespace standin {

namespace {

// An antenna file is a few lines; anything much larger is not one.
constexpr std::streamoff kMaxAntennaBytes = 1 << 20;

void Report(const std::string& text) {
  const std::string line = "telvstandin: " + text + "\n";
  std::fputs(line.c_str(), stderr);
  std::fflush(stderr);
  OutputDebugStringA(line.c_str());
}

}  // namespace

Antenna LoadAntenna() {
  std::vector<std::string> errors;
  const std::string path = AntennaPath();
  if (path.empty()) {
    Report("no antenna file is set (HKCU\\Software\\Telvantis Standin, value Antenna); nothing is received");
    return Antenna::Parse("", errors);
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    Report("cannot open the antenna file " + path + "; nothing is received");
    return Antenna::Parse("", errors);
  }
  file.seekg(0, std::ios::end);
  const std::streamoff size = file.tellg();
  if (size > kMaxAntennaBytes) {
    Report("the antenna file " + path + " is larger than 1 MB: it is not read; nothing is received");
    return Antenna::Parse("", errors);
  }
  file.seekg(0, std::ios::beg);
  std::ostringstream text;
  text << file.rdbuf();
  Antenna antenna = Antenna::Parse(text.str(), errors);
  for (const std::string& error : errors) Report(path + " " + error);
  antenna.ResolveFiles(path);
  return antenna;
}

}  // namespace standin
