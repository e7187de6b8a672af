#include "SectionCarousel.h"

#include <algorithm>

namespace {
constexpr std::size_t kPayloadBytes = kTsPacketSize - 4;
constexpr std::uint8_t kStuffing = 0xFF;
}  // namespace

void SectionCarousel::Add(std::uint16_t pid, std::uint64_t interval27, TableSource source) {
  tables_.push_back({pid, std::max<std::uint64_t>(interval27, 1), std::move(source), 0});
}

void SectionCarousel::QueueDueTable(std::uint64_t time27) {
  // The earliest due first; among equals the one added first.
  Table* due = nullptr;
  for (Table& table : tables_) {
    if (table.due27 <= time27 && (!due || table.due27 < due->due27)) due = &table;
  }
  if (!due) return;
  // The next time follows the schedule, not the moment of sending, so the
  // interval holds on average whatever else the stream carries.
  due->due27 += due->interval27;
  for (auto& section : due->source(time27)) {
    if (!section.empty()) queue_.push_back({due->pid, std::move(section), 0});
  }
}

std::optional<TsPacket> SectionCarousel::NextPacket(std::uint64_t time27) {
  if (queue_.empty()) QueueDueTable(time27);
  if (queue_.empty()) return std::nullopt;

  QueuedSection& section = queue_.front();
  const bool start = section.sent == 0;
  std::vector<std::uint8_t> payload;
  payload.reserve(kPayloadBytes);
  if (start) payload.push_back(0);  // pointer field: the section starts right after it
  const std::size_t take = std::min(kPayloadBytes - payload.size(), section.bytes.size() - section.sent);
  const auto from = section.bytes.begin() + static_cast<std::ptrdiff_t>(section.sent);
  payload.insert(payload.end(), from, from + static_cast<std::ptrdiff_t>(take));
  payload.resize(kPayloadBytes, kStuffing);
  section.sent += take;

  std::uint8_t& counter = counters_[section.pid];
  TsPacket packet = BuildTsPacket(section.pid, counter, start, std::nullopt, payload).packet;
  counter = static_cast<std::uint8_t>((counter + 1) & 0x0F);
  if (section.sent == section.bytes.size()) queue_.pop_front();
  return packet;
}
