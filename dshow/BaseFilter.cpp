#include "dshow/BaseFilter.h"

#include "dshow/BasePin.h"
#include "dshow/EnumPins.h"
#include "win/HResultMacros.h"
#include "dshow/ServerLock.h"

#include <vector>

namespace dshow {

using Microsoft::WRL::ComPtr;

BaseFilter::BaseFilter(const CLSID& clsid) noexcept : clsid(clsid) {
  ServerLock::Increment();
}

BaseFilter::~BaseFilter() { ServerLock::Decrement(); }

STDMETHODIMP BaseFilter::QueryInterface(REFIID riid, void** object) {
  RETURN_HR_IF_NULL(E_POINTER, object);
  *object = nullptr;
  if (riid == IID_IUnknown || riid == IID_IPersist || riid == IID_IMediaFilter ||
      riid == IID_IBaseFilter) {
    *object = static_cast<IBaseFilter*>(this);
    AddRef();
    return S_OK;
  }
  return QueryFilterInterface(riid, object);
}

HRESULT BaseFilter::QueryFilterInterface(REFIID, void** object) {
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) BaseFilter::AddRef() { return ++refCount; }

STDMETHODIMP_(ULONG) BaseFilter::Release() {
  ULONG left = --refCount;
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP BaseFilter::GetClassID(CLSID* out) {
  RETURN_HR_IF_NULL(E_POINTER, out);
  *out = clsid;
  return S_OK;
}

FILTER_STATE BaseFilter::State() {
  std::lock_guard lock(stateLock);
  return state;
}

// The pins are activated and deactivated outside the state lock: stopping a
// pin may wait for its streaming thread.
STDMETHODIMP BaseFilter::Stop() {
  std::vector<BasePin*> pins;
  {
    std::lock_guard lock(stateLock);
    if (state == State_Stopped) return S_OK;
    state = State_Stopped;
    for (int i = 0; i < PinCount(); ++i) {
      if (PinAt(i)->IsConnected()) pins.push_back(PinAt(i));
    }
  }
  HRESULT result = S_OK;
  for (BasePin* pin : pins) {
    HRESULT hr = pin->Inactive();
    if (FAILED(hr) && SUCCEEDED(result)) result = hr;
  }
  return result;
}

STDMETHODIMP BaseFilter::Pause() {
  std::vector<BasePin*> pins;
  {
    std::lock_guard lock(stateLock);
    FILTER_STATE old = state;
    state = State_Paused;
    if (old != State_Stopped) return S_OK;
    for (int i = 0; i < PinCount(); ++i) {
      if (PinAt(i)->IsConnected()) pins.push_back(PinAt(i));
    }
  }
  for (BasePin* pin : pins) {
    HRESULT hr = pin->Active();
    if (FAILED(hr)) {
      Stop();  // Undo the pins already started; the first failure is what counts.
      return hr;
    }
  }
  return S_OK;
}

STDMETHODIMP BaseFilter::Run(REFERENCE_TIME start) {
  if (IsStopped()) RETURN_IF_FAILED(Pause());
  std::lock_guard lock(stateLock);
  startTime = start;
  state = State_Running;
  return S_OK;
}

STDMETHODIMP BaseFilter::GetState(DWORD, FILTER_STATE* out) {
  RETURN_HR_IF_NULL(E_POINTER, out);
  *out = State();
  return S_OK;
}

STDMETHODIMP BaseFilter::SetSyncSource(IReferenceClock* newClock) {
  std::lock_guard lock(stateLock);
  clock = newClock;
  return S_OK;
}

STDMETHODIMP BaseFilter::GetSyncSource(IReferenceClock** out) {
  RETURN_HR_IF_NULL(E_POINTER, out);
  std::lock_guard lock(stateLock);
  *out = nullptr;
  if (clock) return clock.CopyTo(out);
  return S_OK;
}

STDMETHODIMP BaseFilter::EnumPins(IEnumPins** out) {
  RETURN_HR_IF_NULL(E_POINTER, out);
  *out = nullptr;
  return EnumPins::CreateInstance(this, 0, out);
}

STDMETHODIMP BaseFilter::FindPin(LPCWSTR id, IPin** out) {
  RETURN_HR_IF_NULL(E_POINTER, out);
  *out = nullptr;
  RETURN_HR_IF_NULL(E_POINTER, id);
  std::lock_guard lock(stateLock);
  for (int i = 0; i < PinCount(); ++i) {
    if (PinAt(i)->Name() == id) {
      *out = PinAt(i);
      (*out)->AddRef();
      return S_OK;
    }
  }
  return VFW_E_NOT_FOUND;
}

STDMETHODIMP BaseFilter::QueryFilterInfo(FILTER_INFO* info) {
  RETURN_HR_IF_NULL(E_POINTER, info);
  std::lock_guard lock(stateLock);
  lstrcpynW(info->achName, name.c_str(), MAX_FILTER_NAME);
  info->pGraph = graph;
  if (graph != nullptr) graph->AddRef();
  return S_OK;
}

STDMETHODIMP BaseFilter::JoinFilterGraph(IFilterGraph* newGraph, LPCWSTR newName) {
  std::lock_guard lock(stateLock);
  graph = newGraph;
  eventSink = nullptr;
  ComPtr<IMediaEventSink> sink;
  // A graph without an event sink simply gets no events.
  if (graph != nullptr && SUCCEEDED(graph->QueryInterface(IID_PPV_ARGS(&sink)))) {
    eventSink = sink.Get();
  }
  name = newName != nullptr ? newName : L"";
  return S_OK;
}

STDMETHODIMP BaseFilter::QueryVendorInfo(LPWSTR*) { return E_NOTIMPL; }

// The sink is called outside the state lock: the graph may hold its own lock
// while it calls into this filter.
HRESULT BaseFilter::NotifyEvent(long code, LONG_PTR param1, LONG_PTR param2) {
  IMediaEventSink* sink = nullptr;
  {
    std::lock_guard lock(stateLock);
    sink = eventSink;
  }
  if (sink == nullptr) return E_NOTIMPL;
  return sink->Notify(code, param1, param2);
}

}  // namespace dshow
