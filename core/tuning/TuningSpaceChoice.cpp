#include "core/tuning/TuningSpaceChoice.h"

std::optional<std::size_t> ChooseAtscTuningSpace(std::span<const TuningSpaceFacts> spaces) {
  for (std::size_t i = 0; i < spaces.size(); ++i) {
    if (spaces[i].uniqueName == L"ATSC") return i;
  }
  for (std::size_t i = 0; i < spaces.size(); ++i) {
    if (spaces[i].atscAntenna) return i;
  }
  return std::nullopt;
}
