#include "graph/GraphBuildLog.h"

#include <array>
#include <system_error>

namespace {

// Connection texts that end with one line feed only.
constexpr std::array<std::string_view, 3> kSingleSpacedConnections{
    "CONNECTING VIDEO DECODER->DEFAULT VMR",
    "CONNECTING VIDEO DECODER->VMR",
    "CONNECTING MPEG2 DEMULTIPLEXER->VMR",
};

}  // namespace

bool GraphBuildLog::OpenIfPresent(const std::filesystem::path& file) {
  Close();
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) return false;
  // Binary mode: the lines end with a bare line feed on every platform.
  out.open(file, std::ios::out | std::ios::trunc | std::ios::binary);
  return out.is_open();
}

std::string GraphBuildLog::Entry(std::string_view text) {
  std::string entry(text);
  entry += '\n';
  if (!text.starts_with("CONNECTING")) return entry;
  for (std::string_view single : kSingleSpacedConnections) {
    if (text == single) return entry;
  }
  return entry + '\n';
}

void GraphBuildLog::Write(std::string_view text) {
  if (!out.is_open()) return;
  out << text;
  // Flushed at once: a build that ends the program leaves a complete log.
  out.flush();
}

void GraphBuildLog::Close() {
  if (out.is_open()) out.close();
}
