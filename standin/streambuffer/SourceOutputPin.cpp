#include "standin/streambuffer/SourceOutputPin.h"

#include "dshow/BaseFilter.h"
#include "standin/shared/Mpeg2MediaTypes.h"
#include "win/HResultMacros.h"

#include <algorithm>

namespace standin {

SourceOutputPin::SourceOutputPin(dshow::BaseFilter& filter, const wchar_t* name, bool video)
    : OutputPin(filter, name), video(video), queue(*this) {
  type = video ? MakeMpeg2VideoType(1920, 1080, true) : MakeAc3AudioType();
}

HRESULT SourceOutputPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  std::lock_guard lock(filter.StateLock());
  if (mt.majortype != type->majortype || mt.subtype != type->subtype) return S_FALSE;
  if (mt.formattype != GUID_NULL && mt.formattype != type->formattype) return S_FALSE;
  return S_OK;
}

HRESULT SourceOutputPin::GetMediaType(int position, dshow::MediaType& mt) {
  RETURN_HR_IF(E_INVALIDARG, position < 0);
  if (position > 0) return VFW_S_NO_MORE_ITEMS;
  std::lock_guard lock(filter.StateLock());
  return mt.Set(*type);
}

HRESULT SourceOutputPin::SetType(const AM_MEDIA_TYPE& mt) {
  if (connected != nullptr) return S_FALSE;
  return type.Set(mt);
}

HRESULT SourceOutputPin::DecideBufferSize(IMemAllocator*, ALLOCATOR_PROPERTIES& request) {
  // A picture of high-definition video or a few AC-3 frames per buffer;
  // larger units go on in several.
  request.cBuffers = std::max<long>(request.cBuffers, video ? 12 : 24);
  request.cbBuffer = std::max<long>(request.cbBuffer, video ? 1024 * 1024 : 64 * 1024);
  request.cbAlign = std::max<long>(request.cbAlign, 1);
  return S_OK;
}

HRESULT SourceOutputPin::Active() {
  RETURN_IF_FAILED(OutputPin::Active());
  return queue.Start();
}

// Decommitting first releases a reader waiting for a buffer; the renderers
// downstream are stopped before us, so a delivery under way ends.
HRESULT SourceOutputPin::Inactive() {
  const HRESULT hr = OutputPin::Inactive();
  queue.Stop();
  return hr;
}

void SourceOutputPin::BeginFlushQueue() {
  if (!IsConnected()) return;
  DeliverBeginFlush();  // a refusal downstream changes nothing here
  queue.Flush();
}

void SourceOutputPin::EndFlushQueue() {
  if (!IsConnected()) return;
  queue.Flush();
  DeliverEndFlush();
}

}  // namespace standin
