#include "tssource/TsSourceSeeking.h"

#include "tssource/SourceArithmetic.h"
#include "tssource/SourceFile.h"
#include "tssource/TsSourcePin.h"

namespace tssource {

TsSourceSeeking::TsSourceSeeking(IUnknown& owner, TsSourcePin& pin, SourceFile& file) noexcept
    : SourceSeeking(owner), pin(pin), file(file) {}

REFERENCE_TIME TsSourceSeeking::Duration() {
  return DurationForFileSize(file.Size());
}

// The worker is stopped before the file moves, so that no block read from the
// old place slips out after the flush.
HRESULT TsSourceSeeking::ChangeStart(REFERENCE_TIME requestedStart) {
  const std::uint64_t block = BlockIndexForStart(requestedStart);
  return pin.WithWorkerStopped([&] {
    file.SeekToBlock(block);
    SetStart(PositionForBlock(block));
  });
}

HRESULT TsSourceSeeking::ChangeStop() {
  return pin.WithWorkerStopped([] {});
}

// The source keeps its pace; the rate only travels with the next new segment.
HRESULT TsSourceSeeking::ChangeRate() { return S_OK; }

}  // namespace tssource
