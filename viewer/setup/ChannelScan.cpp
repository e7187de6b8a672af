#include "viewer/setup/ChannelScan.h"

#include <algorithm>
#include <utility>

#include "core/ts/ChannelScanRules.h"

ChannelScan::ChannelScan(int from, int to, std::vector<ChannelEntry> list, Clock::time_point now)
    : from(std::min(from, to)), to(std::max(from, to)), current(this->from),
      known(std::move(list)), since(now) {}

ChannelScan::Step ChannelScan::Tick(Clock::time_point now, std::optional<int> signalPercent,
                                    const std::optional<Tvct>& tvct) {
  if (done) return {};
  const bool signal = signalPercent && *signalPercent > 0;
  if (!locked) {
    if (!signal) {
      if (now - since < kScanLockWait) return {};
      return Finish(now, {current, ScanRfResult::Kind::NoSignal, {}});
    }
    locked = true;
    since = now;
  }
  if (tvct) {
    ScanRfResult result{current, ScanRfResult::Kind::Channels, OfferedChannels(*tvct, current, known)};
    known.insert(known.end(), result.offered.begin(), result.offered.end());
    return Finish(now, std::move(result));
  }
  if (now - since < kScanTableWait) return {};
  return Finish(now, {current, ScanRfResult::Kind::NoChannelTable, {}});
}

ChannelScan::Step ChannelScan::Finish(Clock::time_point now, ScanRfResult result) {
  Step step;
  step.finished = std::move(result);
  if (current >= to) {
    done = true;
    return step;
  }
  ++current;
  locked = false;
  since = now;
  step.tune = current;
  return step;
}

std::string ScanTryingText(int physical, std::optional<int> signalPercent) {
  const std::string rf = "RF " + std::to_string(physical) + ": ";
  if (!signalPercent || *signalPercent <= 0) return rf + "NO SIGNAL";
  return rf + "SIGNAL " + std::to_string(*signalPercent) + "%";
}

std::string ScanResultText(const ScanRfResult& result) {
  const std::string rf = "RF " + std::to_string(result.physical) + ": ";
  switch (result.kind) {
    case ScanRfResult::Kind::NoSignal:
      return rf + "NO SIGNAL";
    case ScanRfResult::Kind::NoChannelTable:
      return rf + "SIGNAL, NO CHANNEL TABLE";
    case ScanRfResult::Kind::Channels:
      break;
  }
  const std::size_t count = result.offered.size();
  return rf + std::to_string(count) + (count == 1 ? " NEW CHANNEL" : " NEW CHANNELS");
}
