#include "core/files/RecordingFolder.h"

#include <fstream>
#include <system_error>

namespace {

constexpr char kProbeName[] = "telvantis-folder-check.tmp";

}  // namespace

std::optional<std::string> RecordingFolderProblem(const std::filesystem::path& folder) {
  std::error_code error;
  if (folder.empty() || !std::filesystem::is_directory(folder, error)) {
    return "FOLDER DOES NOT EXIST";
  }
  const std::filesystem::path probe = folder / kProbeName;
  bool written = false;
  {
    std::ofstream out(probe, std::ios::binary | std::ios::trunc);
    written = static_cast<bool>(out << 'x') && static_cast<bool>(out.flush());
  }
  std::filesystem::remove(probe, error);  // a probe that was never made is no error
  if (!written) return "CAN'T WRITE TO THIS FOLDER";
  return std::nullopt;
}
