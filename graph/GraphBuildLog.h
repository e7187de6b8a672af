#pragma once

#include <filesystem>
#include <fstream>
#include <string_view>

// The optional progress log of the live graph build (telvdebug.txt). It is
// written only when the user has created the file beforehand: opening never
// creates it, and an existing file starts over empty.
class GraphBuildLog {
 public:
  // Opens the file for writing when it exists; returns whether it is open.
  bool OpenIfPresent(const std::filesystem::path& file);

  // Writes one progress text and its line end. A text that announces a
  // connection ("CONNECTING ...") gets a blank line after it, except the
  // three that connect to the video renderer.
  void Step(std::string_view text);

  // An extra line feed (the blank line before the sound renderer's steps).
  void LineFeed();

  void Close();
  bool IsOpen() const { return out.is_open(); }

  // The line feeds that follow a progress text: 1 or 2.
  static int LineFeedsAfter(std::string_view text);

 private:
  std::ofstream out;
};
