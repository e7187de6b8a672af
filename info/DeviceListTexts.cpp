#include "info/DeviceListTexts.h"

namespace {

std::vector<std::string> WithDriverAdvice(std::string first) {
  return {std::move(first), "   Uninstall tuner drivers,", "   restart computer,",
          "   then install tuner drivers."};
}

}  // namespace

std::vector<std::string> NoTunerLines() { return WithDriverAdvice("No Tuners Found-"); }

std::vector<std::string> NoCaptureLines() { return WithDriverAdvice("No Capture Devices Found-"); }

bool IsCaptureDeviceListed(std::string_view friendlyName) {
  return friendlyName != "BDA Slip De-Framer" && friendlyName != "BDA MPE Filter";
}
