#pragma once

#include <string>
#include <vector>

// The checks for the filter pairs that the suite needs registered: the
// stream-buffer sink and source (for .dvr-ms), and the suite's own
// transport-stream source and sink.

struct FilterCheckResult {
  std::vector<std::string> lines;  // the list's content, in order
  bool installed = false;
};

// From the friendly names of every filter of the DirectShow category: the
// stream-buffer filters found, and why they do not count as installed.
FilterCheckResult CheckStreamBufferFilters(const std::vector<std::string>& filterNames);

// The same for "TelvantisTSSource" and "TelvantisTSSink".
FilterCheckResult CheckTransportStreamFilters(const std::vector<std::string>& filterNames);

// The texts that follow from a check.
std::string StreamBufferStatus(bool installed);         // after a re-check
std::string TransportStreamStatus(bool installed);      // after a re-check
std::string TransportStreamButtonCaption(bool installed);
