#include "core/files/TextFiles.h"

#include <chrono>
#include <fstream>
#include <iterator>
#include <system_error>
#include <thread>

namespace {

// On Windows a file cannot be replaced while another program has it open
// without delete sharing, which is how every reader through the C library
// opens it. The suite's programs read each other's small files (the
// schedule, the guide, the settings) for moments at a time, so a refused
// replacement is tried again for up to two seconds before the write counts
// as failed.
constexpr int kReplaceAttempts = 100;
constexpr auto kReplaceRetryWait = std::chrono::milliseconds(20);

void ReplaceFile(const std::filesystem::path& from, const std::filesystem::path& to,
                 std::error_code& error) {
  for (int attempt = 1;; ++attempt) {
    std::filesystem::rename(from, to, error);
    if (!error || error != std::errc::permission_denied || attempt == kReplaceAttempts) return;
    std::this_thread::sleep_for(kReplaceRetryWait);
  }
}

}  // namespace

bool WriteFileAtomically(const std::filesystem::path& file, std::string_view content) {
  std::filesystem::path temporary = file;
  temporary += ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.flush();
    if (!out) {
      out.close();
      std::error_code ignored;  // the write failed already; the leftover is only tidied up
      std::filesystem::remove(temporary, ignored);
      return false;
    }
  }
  std::error_code error;
  ReplaceFile(temporary, file, error);
  if (error) {
    std::error_code ignored;  // the old file is untouched; the leftover is only tidied up
    std::filesystem::remove(temporary, ignored);
    return false;
  }
  return true;
}

bool RemoveFileIfPresent(const std::filesystem::path& file) {
  std::error_code error;
  std::filesystem::remove(file, error);
  return !error;
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::optional<std::string> ReadLimitedLine(std::istream& in, std::size_t bufferSize) {
  std::string line;
  if (!std::getline(in, line)) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  const std::size_t keep = bufferSize > 0 ? bufferSize - 1 : 0;
  if (line.size() > keep) line.resize(keep);
  return line;
}

bool AppendToFile(const std::filesystem::path& file, std::string_view text) {
  std::ofstream out(file, std::ios::binary | std::ios::app);
  if (!out) return false;
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  return static_cast<bool>(out.flush());
}

std::vector<int> ReadIntegers(std::istream& in, std::size_t maxCount) {
  std::vector<int> values;
  int value = 0;
  while (values.size() < maxCount && in >> value) values.push_back(value);
  return values;
}
