#pragma once

// Test support: virtual channels as a station's channel table lists them.

#include <string>
#include <utility>

#include "core/ts/VirtualChannelTable.h"

// A visible digital television channel MAJOR-MINOR named NAME.
inline VirtualChannel Tv(std::string name, int major, int minor) {
  VirtualChannel channel;
  channel.shortName = std::move(name);
  channel.major = major;
  channel.minor = minor;
  channel.serviceType = kServiceTypeDigitalTelevision;
  return channel;
}
