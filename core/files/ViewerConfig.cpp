#include "core/files/ViewerConfig.h"

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/files/TextFiles.h"

namespace {

constexpr int kCurrentChannelValue = 11;

// Each value of config.txt as an integer, in file order.
std::vector<int> ToValues(const ViewerConfig& c) {
  return {c.tunerModel,
          c.videoWindow.left,
          c.videoWindow.top,
          c.videoWindow.right,
          c.videoWindow.bottom,
          c.panelLeft,
          c.panelTop,
          FileValueOf(c.aspectMode),
          c.fullScreen,
          c.alwaysOnTop,
          c.currentChannel,
          c.displayChannelNumber,
          c.displayRemoteChannelNumber,
          c.displayVolume,
          c.lockResize,
          c.perChannelAspect,
          c.overscan,
          c.muteOnMinimize,
          c.perChannelVolume,
          c.skipForwardSeconds,
          c.skipBackSeconds,
          c.fullScreenOnPrimary,
          c.displayTransparent,
          c.savePerChannelVolume};
}

void ApplyValue(ViewerConfig& c, int number, int v) {
  switch (number) {
    case 1: c.tunerModel = v; break;
    case 2: c.videoWindow.left = v; break;
    case 3: c.videoWindow.top = v; break;
    case 4: c.videoWindow.right = v; break;
    case 5: c.videoWindow.bottom = v; break;
    case 6: c.panelLeft = v; break;
    case 7: c.panelTop = v; break;
    case 8: c.aspectMode = AspectModeFromFileValue(v); break;
    case 9: c.fullScreen = v != 0; break;
    case 10: c.alwaysOnTop = v != 0; break;
    case 11: c.currentChannel = v < 0 ? 0 : v; break;
    case 12: c.displayChannelNumber = v != 0; break;
    case 13: c.displayRemoteChannelNumber = v != 0; break;
    case 14: c.displayVolume = v != 0; break;
    case 15: c.lockResize = v != 0; break;
    case 16: c.perChannelAspect = v != 0; break;
    case 17: c.overscan = v != 0; break;
    case 18: c.muteOnMinimize = v != 0; break;
    case 19: c.perChannelVolume = v != 0; break;
    case 20: c.skipForwardSeconds = v; break;
    case 21: c.skipBackSeconds = v; break;
    case 22: c.fullScreenOnPrimary = v != 0; break;
    case 23: c.displayTransparent = (v > 1 ? 1 : v) != 0; break;
    case 24: c.savePerChannelVolume = (v > 1 ? 0 : v) != 0; break;
    default: break;
  }
}

std::string OnePerLine(const std::vector<int>& values) {
  std::string text;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) text += '\n';
    text += std::to_string(values[i]);
  }
  return text;
}

}  // namespace

AspectMode AspectModeFromFileValue(int value) {
  return value == static_cast<int>(AspectMode::Ratio4x3) ? AspectMode::Ratio4x3
                                                         : AspectMode::Ratio16x9;
}

int FileValueOf(AspectMode mode) { return static_cast<int>(mode); }

ViewerConfig DefaultViewerConfig(Size screen, int panelClientWidth, int tunerModel) {
  ViewerConfig c;
  c.tunerModel = tunerModel;
  const int left = static_cast<int>((screen.width - kDefaultVideoWidth) * 0.5);
  c.videoWindow = Rect{left, 0, static_cast<int>((screen.width - kDefaultVideoWidth) * 0.5 +
                                                 kDefaultVideoWidth),
                       kDefaultVideoHeight};
  c.panelLeft = static_cast<int>((screen.width - panelClientWidth) * 0.5);
  c.panelTop = static_cast<int>(screen.height * 0.75);
  return c;
}

std::optional<ViewerConfig> ReadViewerConfig(const std::filesystem::path& file,
                                             const ViewerConfig& defaults) {
  std::ifstream in(file);
  if (!in) return std::nullopt;
  ViewerConfig config = defaults;
  const std::vector<int> values = ReadIntegers(in, kConfigValueCount);
  for (std::size_t i = 0; i < values.size(); ++i) {
    ApplyValue(config, static_cast<int>(i) + 1, values[i]);
  }
  return config;
}

bool WriteViewerConfig(const std::filesystem::path& file, const ViewerConfig& config) {
  return WriteFileAtomically(file, OnePerLine(ToValues(config)));
}

bool RewriteCurrentChannel(const std::filesystem::path& file, int channelIndex) {
  const std::optional<std::string> text = ReadWholeFile(file);
  if (!text) return false;
  // Value 11 is found the way the reader finds it, and only its characters
  // are replaced: whatever follows (even stray text the reader stops at)
  // stays the user's, byte for byte.
  std::istringstream in(*text);
  std::size_t begin = 0;
  std::size_t end = 0;
  for (int number = 1; number <= kCurrentChannelValue; ++number) {
    const std::streampos before = in.tellg();
    int value = 0;
    if (before < 0 || !(in >> value)) return false;
    if (number == kCurrentChannelValue) {
      begin = text->find_first_not_of(" \t\n\v\f\r", static_cast<std::size_t>(before));
      end = in.eof() ? text->size() : static_cast<std::size_t>(in.tellg());
    }
  }
  std::string rewritten = *text;
  rewritten.replace(begin, end - begin, std::to_string(channelIndex));
  return WriteFileAtomically(file, rewritten);
}
