#include "standin/bda/SystemSpaceList.h"

#include <sstream>
#include <string_view>

namespace standin {

namespace {

constexpr std::string_view kCableSuffix = ":cable";

}  // namespace

std::vector<SystemSpace> SystemSpaces(const std::optional<std::string>& value, bool windows7) {
  const std::string names = value ? *value : windows7 ? "ATSCCable:cable ATSCAntenna" : "ATSC";
  std::istringstream words(names);
  std::vector<SystemSpace> spaces;
  std::string word;
  while (words >> word) {
    SystemSpace space{word, false};
    // ":cable" alone is a name, not an empty name with a cable input.
    if (word.size() > kCableSuffix.size() && word.ends_with(kCableSuffix)) {
      space.uniqueName.resize(word.size() - kCableSuffix.size());
      space.cable = true;
    }
    spaces.push_back(std::move(space));
  }
  return spaces;
}

}  // namespace standin
