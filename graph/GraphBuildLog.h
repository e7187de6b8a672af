#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

// The optional progress log of the live graph build (telvdebug.txt). It is
// written only when the user has created the file beforehand: opening never
// creates it, and an existing file starts over empty.
class GraphBuildLog {
 public:
  // Opens the file for writing when it exists; returns whether it is open.
  bool OpenIfPresent(const std::filesystem::path& file);

  // Writes text as it stands (nothing when the log is not open).
  void Write(std::string_view text);

  void Close();
  bool IsOpen() const { return out.is_open(); }

  // A progress text with the line feeds that follow it: one, or two for a
  // text that announces a connection ("CONNECTING ...") so that a blank
  // line follows it, except the three that connect to the video renderer.
  static std::string Entry(std::string_view text);

 private:
  std::ofstream out;
};
