#include "core/files/TunerFiles.h"

#include <fstream>
#include <utility>

#include "core/files/TextFiles.h"

namespace {

std::optional<std::pair<std::string, std::string>> ReadTwoNames(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::string first = ReadLimitedLine(in, kNameLineBuffer).value_or("");
  std::string second = ReadLimitedLine(in, kNameLineBuffer).value_or("");
  return std::pair{std::move(first), std::move(second)};
}

bool WriteTwoNames(const std::filesystem::path& file, const std::string& first,
                   const std::string& second) {
  return WriteFileAtomically(file, first + "\n" + second + "\n");
}

}  // namespace

std::optional<TunerNames> ReadTunerFile(const std::filesystem::path& file) {
  auto names = ReadTwoNames(file);
  if (!names) return std::nullopt;
  return TunerNames{std::move(names->first), std::move(names->second)};
}

std::optional<DecoderNames> ReadDecodersFile(const std::filesystem::path& file) {
  auto names = ReadTwoNames(file);
  if (!names) return std::nullopt;
  return DecoderNames{std::move(names->first), std::move(names->second)};
}

bool WriteTunerFile(const std::filesystem::path& file, const TunerNames& names) {
  return WriteTwoNames(file, names.tuner, names.capture);
}

bool WriteDecodersFile(const std::filesystem::path& file, const DecoderNames& names) {
  return WriteTwoNames(file, names.video, names.audio);
}
