#include "core/files/PlayConfig.h"

#include <fstream>
#include <string>
#include <vector>

#include "core/files/TextFiles.h"

PlayConfig DefaultPlayConfig(Size screen, int panelClientWidth) {
  const ViewerConfig viewer = DefaultViewerConfig(screen, panelClientWidth, -1);
  PlayConfig c;
  c.videoWindow = viewer.videoWindow;
  c.panelLeft = viewer.panelLeft;
  c.panelTop = viewer.panelTop;
  return c;
}

std::optional<PlayConfig> ReadPlayConfig(const std::filesystem::path& file,
                                         const PlayConfig& defaults) {
  std::ifstream in(file);
  if (!in) return std::nullopt;
  PlayConfig c = defaults;
  const std::vector<int> v = ReadIntegers(in, kPlayConfigValueCount);
  int keepTime = c.keepTime ? 1 : 0;
  int mode = static_cast<int>(c.timeDisplayMode);
  int aspect = FileValueOf(c.aspectMode);
  int primary = c.primaryDisplay ? 1 : 0;
  int* const fields[kPlayConfigValueCount] = {
      &c.videoWindow.left, &c.videoWindow.top, &c.videoWindow.right, &c.videoWindow.bottom,
      &c.panelLeft,        &c.panelTop,        &aspect,              &c.skipForwardSeconds,
      &c.skipBackSeconds,  &primary,           &keepTime,            &mode};
  for (std::size_t i = 0; i < v.size(); ++i) *fields[i] = v[i];
  c.aspectMode = AspectModeFromFileValue(aspect);
  c.primaryDisplay = primary != 0;
  if (keepTime > 1) keepTime = 0;
  if (mode > 2 || mode < 0) mode = 0;
  if (keepTime == 0) mode = 0;
  c.keepTime = keepTime != 0;
  c.timeDisplayMode = static_cast<TimeDisplayMode>(mode);
  return c;
}

bool WritePlayConfig(const std::filesystem::path& file, const PlayConfig& c) {
  const int values[kPlayConfigValueCount] = {
      c.videoWindow.left, c.videoWindow.top,   c.videoWindow.right,     c.videoWindow.bottom,
      c.panelLeft,        c.panelTop,          FileValueOf(c.aspectMode), c.skipForwardSeconds,
      c.skipBackSeconds,  c.primaryDisplay,    c.keepTime,              static_cast<int>(c.timeDisplayMode)};
  std::string text;
  for (const int value : values) text += std::to_string(value) + "\n";
  return WriteFileAtomically(file, text);
}
