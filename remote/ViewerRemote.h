#pragma once

#include <string>
#include <vector>

#include "core/protocol/RemoteMessage.h"

// The viewer plug-in: finds the viewer's control panel or video window among
// the catalogue's window titles and posts the remote's keys to the panel.
// Viewers of a tuner named only in tuner.txt are not searched.
class ViewerRemote {
 public:
  // The title suffixes in search order: the catalogue's models 0 to 17, with
  // the suffix that models 4 and 5 share standing once.
  static const std::vector<std::string>& TitleSuffixes();

  // The titles searched, each as it fits a 50-byte slot (at most 49
  // characters), in the order of TitleSuffixes().
  static const std::vector<std::string>& PanelTitles();
  static const std::vector<std::string>& VideoTitles();

  explicit ViewerRemote(DesktopWindows& desktop) : desktop(desktop) {}

  // Whether a viewer panel or video window is the foreground window.
  bool IsInFocus() const;

  // Posts the message for the key to the viewer in front; false when no
  // viewer is in front, the key means nothing, or the post failed.
  bool HandleKey(int code, int eventType);

 private:
  // The panel of the viewer in front: the first panel in search order that
  // is the foreground window, else the panel whose video window is.
  WindowId FindTargetPanel() const;

  DesktopWindows& desktop;
};
