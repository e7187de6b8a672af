#include "standin/demux/InfTeeFilter.h"

#include "standin/demux/DemuxFailSteps.h"
#include "win/ComObject.h"
#include "win/HResultMacros.h"
#include "standin/shared/StandinSettings.h"

#include <uuids.h>

#include <string>

namespace standin {

namespace {
// A bound on the outputs, far beyond any graph, so a caller that connects in
// a loop cannot make the tee grow without end.
constexpr std::size_t kMaxOutputs = 64;
}  // namespace

InfTeeFilter::InfTeeFilter() : BaseFilter(CLSID_InfTee), input(*this) {
  if (FAILED(AddOutput())) throw std::bad_alloc();
}

HRESULT InfTeeFilter::CreateInstance(REFIID riid, void** object) try {
  RETURN_HR_IF_NULL(E_POINTER, object);
  *object = nullptr;
  RETURN_HR_IF(E_FAIL, ShouldFail(steps::kInfTeeCreate));
  return HandOutNew(new InfTeeFilter(), riid, object);
}
CATCH_RETURN()

int InfTeeFilter::PinCount() {
  std::lock_guard lock(StateLock());
  return 1 + static_cast<int>(outputs.size());
}

dshow::BasePin* InfTeeFilter::PinAt(int index) {
  std::lock_guard lock(StateLock());
  if (index == 0) return &input;
  if (index < 1 || index > static_cast<int>(outputs.size())) return nullptr;
  return outputs[static_cast<std::size_t>(index - 1)].get();
}

HRESULT InfTeeFilter::AddOutput() try {
  RETURN_HR_IF(E_OUTOFMEMORY, outputs.size() >= kMaxOutputs);
  const std::wstring name = L"Output" + std::to_wstring(outputs.size() + 1);
  outputs.push_back(std::make_unique<TeeOutputPin>(*this, name.c_str(), input));
  return S_OK;
}
CATCH_RETURN()

// Once an output is connected, the input keeps to the type it carries.
bool InfTeeFilter::AcceptsInputType(const AM_MEDIA_TYPE& mt) {
  std::lock_guard lock(StateLock());
  for (auto& pin : outputs) {
    AM_MEDIA_TYPE carried{};
    if (FAILED(pin->ConnectionMediaType(&carried))) continue;
    const bool same = carried.majortype == mt.majortype && carried.subtype == mt.subtype;
    dshow::FreeMediaTypeContents(carried);
    return same;
  }
  return true;
}

// A new free output when none is left. Failing that (the bound reached), the
// connection made stays made.
HRESULT InfTeeFilter::OnOutputConnected() {
  std::lock_guard lock(StateLock());
  for (auto& pin : outputs) {
    if (!pin->IsConnected()) return S_OK;
  }
  AddOutput();  // see above: no free output is no failure of this connection
  return S_OK;
}

}  // namespace standin
