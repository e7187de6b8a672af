#include "dshow/MemAllocator.h"

#include "win/HResultMacros.h"

#include <vfwmsgs.h>

#include <new>

namespace dshow {

HRESULT MemAllocator::CreateInstance(IMemAllocator** out) try {
  RETURN_HR_IF_NULL(E_POINTER, out);
  *out = new MemAllocator();
  return S_OK;
}
CATCH_RETURN()

MemAllocator::~MemAllocator() { FreeMemory(); }

HRESULT MemAllocator::QueryOwnInterface(REFIID riid, void** object) {
  IMemAllocator* self = this;
  return HandOutInterface(riid, object, {{IID_IUnknown, self}, {IID_IMemAllocator, self}});
}

STDMETHODIMP MemAllocator::SetProperties(ALLOCATOR_PROPERTIES* request,
                                         ALLOCATOR_PROPERTIES* actual) {
  RETURN_HR_IF_NULL(E_POINTER, request);
  RETURN_HR_IF_NULL(E_POINTER, actual);
  std::lock_guard guard(lock);
  RETURN_HR_IF(VFW_E_ALREADY_COMMITTED, committed);
  RETURN_HR_IF(VFW_E_BUFFERS_OUTSTANDING, freeSamples.size() != samples.size());
  const long align = request->cbAlign;
  RETURN_HR_IF(VFW_E_BADALIGN, align <= 0 || (align & (align - 1)) != 0);
  RETURN_HR_IF(E_INVALIDARG, request->cbBuffer < 0 || request->cbPrefix < 0);
  FreeMemory();  // New sizes: the old memory goes at once (no sample is out).
  props.cBuffers = request->cBuffers > 0 ? request->cBuffers : 1;
  props.cbBuffer = request->cbBuffer;
  props.cbAlign = align;
  props.cbPrefix = request->cbPrefix;
  propertiesSet = true;
  *actual = props;
  return S_OK;
}

STDMETHODIMP MemAllocator::GetProperties(ALLOCATOR_PROPERTIES* out) {
  RETURN_HR_IF_NULL(E_POINTER, out);
  std::lock_guard guard(lock);
  *out = props;
  return S_OK;
}

// One block of memory for all samples. Each sample's data starts on the
// agreed alignment, with its prefix (rounded up likewise) before it.
HRESULT MemAllocator::Allocate() {
  if (memory != nullptr) return S_OK;
  const SIZE_T align = static_cast<SIZE_T>(props.cbAlign);
  const auto roundUp = [align](SIZE_T n) { return (n + align - 1) / align * align; };
  const SIZE_T prefix = roundUp(static_cast<SIZE_T>(props.cbPrefix));
  const SIZE_T stride = prefix + roundUp(static_cast<SIZE_T>(props.cbBuffer));
  // VirtualAlloc gives page alignment; a larger alignment needs slack.
  const SIZE_T slack = align > 4096 ? align : 0;
  memory = static_cast<BYTE*>(VirtualAlloc(nullptr, stride * props.cBuffers + slack,
                                           MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  RETURN_HR_IF_NULL(E_OUTOFMEMORY, memory);
  BYTE* base = reinterpret_cast<BYTE*>(roundUp(reinterpret_cast<SIZE_T>(memory)));
  try {
    for (long i = 0; i < props.cBuffers; ++i) {
      samples.push_back(std::make_unique<MediaSample>(*this, base + stride * i + prefix,
                                                      props.cbBuffer));
      freeSamples.push_back(samples.back().get());
    }
  } catch (const std::bad_alloc&) {
    FreeMemory();
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

void MemAllocator::FreeMemory() {
  freeSamples.clear();
  samples.clear();
  if (memory != nullptr) VirtualFree(memory, 0, MEM_RELEASE);
  memory = nullptr;
}

STDMETHODIMP MemAllocator::Commit() {
  std::lock_guard guard(lock);
  RETURN_HR_IF(VFW_E_SIZENOTSET, !propertiesSet);
  if (committed) return S_OK;
  RETURN_IF_FAILED(Allocate());
  committed = true;
  return S_OK;
}

// Waiting GetBuffer calls fail at once; the memory goes when the last sample
// out comes back.
STDMETHODIMP MemAllocator::Decommit() {
  std::lock_guard guard(lock);
  committed = false;
  if (freeSamples.size() == samples.size()) FreeMemory();
  sampleFreed.notify_all();
  return S_OK;
}

STDMETHODIMP MemAllocator::GetBuffer(IMediaSample** out, REFERENCE_TIME*, REFERENCE_TIME*,
                                     DWORD flags) {
  RETURN_HR_IF_NULL(E_POINTER, out);
  *out = nullptr;
  std::unique_lock guard(lock);
  for (;;) {
    RETURN_HR_IF(VFW_E_NOT_COMMITTED, !committed);
    if (!freeSamples.empty()) break;
    RETURN_HR_IF(VFW_E_TIMEOUT, flags & AM_GBF_NOWAIT);
    sampleFreed.wait(guard);
  }
  MediaSample* sample = freeSamples.back();
  freeSamples.pop_back();
  sample->Reset();
  AddRef();  // A sample out keeps its allocator.
  *out = sample;
  return S_OK;
}

STDMETHODIMP MemAllocator::ReleaseBuffer(IMediaSample* sample) {
  RETURN_HR_IF_NULL(E_POINTER, sample);
  {
    std::lock_guard guard(lock);
    freeSamples.push_back(static_cast<MediaSample*>(sample));
    if (!committed && freeSamples.size() == samples.size()) FreeMemory();
    sampleFreed.notify_one();
  }
  Release();  // The reference the sample held; may be the last one.
  return S_OK;
}

}  // namespace dshow
