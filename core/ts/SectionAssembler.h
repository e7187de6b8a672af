#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "core/ts/TsPacket.h"

// Collects the PSI sections of one PID from its packets. Push-driven: feed
// every packet of the PID; each whole section is handed to the callback.
// Lost packets (a continuity gap) and damaged pointer fields drop the
// section being collected and are counted, never read past.
class SectionAssembler {
 public:
  using SectionHandler = std::function<void(std::span<const std::uint8_t> section)>;

  explicit SectionAssembler(SectionHandler handler) : handler_(std::move(handler)) {}

  void Feed(const TsPacket& packet);
  void Reset();

  int DroppedSections() const { return dropped_; }

 private:
  void Append(std::span<const std::uint8_t> bytes);
  void EmitWholeSections();

  SectionHandler handler_;
  std::vector<std::uint8_t> pending_;
  bool collecting_ = false;
  int lastCounter_ = -1;
  int dropped_ = 0;
};
