#include "info/FilterCheck.h"

namespace {

struct FilterPair {
  const char* first;
  const char* second;
};

constexpr FilterPair kStreamBufferFilters{"StreamBufferSource", "StreamBufferSink"};
constexpr FilterPair kTransportStreamFilters{"TelvantisTSSource", "TelvantisTSSink"};

// The names of the pair that are registered, as often as they are, and
// whether both of them are there. Two registrations of one filter do not
// make up for the other one missing.
FilterCheckResult FindPair(const std::vector<std::string>& filterNames, const FilterPair& pair,
                           std::size_t& distinctFound) {
  FilterCheckResult result;
  bool firstFound = false;
  bool secondFound = false;
  for (const std::string& name : filterNames) {
    if (name == pair.first) {
      firstFound = true;
      result.lines.push_back(name);
    } else if (name == pair.second) {
      secondFound = true;
      result.lines.push_back(name);
    }
  }
  distinctFound = (firstFound ? 1 : 0) + (secondFound ? 1 : 0);
  result.installed = distinctFound == 2;
  return result;
}

}  // namespace

FilterCheckResult CheckStreamBufferFilters(const std::vector<std::string>& filterNames) {
  std::size_t found = 0;
  FilterCheckResult result = FindPair(filterNames, kStreamBufferFilters, found);
  if (found == 1) result.lines.push_back("The DVR-MS filters aren't installed properly!");
  if (found == 0) result.lines.push_back("The DVR-MS filters aren't installed!");
  return result;
}

FilterCheckResult CheckTransportStreamFilters(const std::vector<std::string>& filterNames) {
  std::size_t found = 0;
  FilterCheckResult result = FindPair(filterNames, kTransportStreamFilters, found);
  if (found < 2) {
    result.lines.push_back("The Telvantis Transport Stream filters");
    result.lines.push_back(found == 1 ? "   aren't installed properly!" : "   aren't installed!");
  }
  return result;
}

std::string StreamBufferStatus(bool installed) {
  return installed ? "DVR-MS OK" : "DVR-MS NOT INSTALLED";
}

std::string TransportStreamStatus(bool installed) {
  return installed ? "TS OK" : "TS NOT INSTALLED";
}

std::string TransportStreamButtonCaption(bool installed) {
  return installed ? "Uninstall TS" : "Install TS";
}
