#include "remote/ViewerRemote.h"

#include <algorithm>
#include <cstddef>

#include "remote/RemoteKeyTables.h"
#include "core/tuning/TuningModel.h"

namespace {

constexpr std::size_t kTitleSlot = 50;

std::vector<std::string> TitlesFor(ProgramWindow window) {
  std::vector<std::string> titles;
  for (const TuningModel& row : CatalogueModels()) {
    std::string title = WindowTitle(row, window);
    if (title.size() > kTitleSlot - 1) title.resize(kTitleSlot - 1);
    if (std::find(titles.begin(), titles.end(), title) == titles.end()) titles.push_back(title);
  }
  return titles;
}

}  // namespace

const std::vector<std::string>& ViewerRemote::TitleSuffixes() {
  static const std::vector<std::string> suffixes = [] {
    std::vector<std::string> list;
    for (const TuningModel& row : CatalogueModels()) {
      if (std::find(list.begin(), list.end(), row.titleSuffix) == list.end())
        list.push_back(row.titleSuffix);
    }
    return list;
  }();
  return suffixes;
}

const std::vector<std::string>& ViewerRemote::PanelTitles() {
  static const std::vector<std::string> titles = TitlesFor(ProgramWindow::ViewerPanel);
  return titles;
}

const std::vector<std::string>& ViewerRemote::VideoTitles() {
  static const std::vector<std::string> titles = TitlesFor(ProgramWindow::ViewerVideo);
  return titles;
}

bool ViewerRemote::IsInFocus() const {
  const WindowId front = desktop.Foreground();
  if (front == kNoWindow) return false;
  for (const auto* titles : {&PanelTitles(), &VideoTitles()}) {
    for (const std::string& title : *titles) {
      if (desktop.FindByTitle(title) == front) return true;
    }
  }
  return false;
}

WindowId ViewerRemote::FindTargetPanel() const {
  const WindowId front = desktop.Foreground();
  if (front == kNoWindow) return kNoWindow;
  for (const std::string& title : PanelTitles()) {
    if (desktop.FindByTitle(title) == front) return front;
  }
  const auto& videos = VideoTitles();
  for (std::size_t i = 0; i < videos.size(); ++i) {
    // The video window in front decides the viewer; its panel is the target.
    // A video window without its panel has no one to take the key.
    if (desktop.FindByTitle(videos[i]) == front) return desktop.FindByTitle(PanelTitles()[i]);
  }
  return kNoWindow;
}

bool ViewerRemote::HandleKey(int code, int eventType) {
  const WindowId panel = FindTargetPanel();
  if (panel == kNoWindow) return false;
  auto message = ViewerMessageForKey(code, eventType);
  if (!message) return false;
  return desktop.Post(panel, *message);
}
