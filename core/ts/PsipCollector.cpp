#include "core/ts/PsipCollector.h"

void PsipCollector::Feed(std::span<const std::uint8_t> section) {
  if (section.empty()) return;
  switch (section[0]) {
    case kTvctTableId:
      if (auto parsed = ParseTvctSection(section)) {
        tvct_.Add(std::move(*parsed));
        return;
      }
      break;
    case kMgtTableId:
      if (auto parsed = ParseMgtSection(section)) {
        mgt_.Add(std::move(*parsed));
        return;
      }
      break;
    case kSttTableId:
      if (auto parsed = ParseSttSection(section)) {
        if (parsed->header.current) stt_ = std::move(parsed->part);
        return;
      }
      break;
    default:
      return;
  }
  ++damaged_;
}
