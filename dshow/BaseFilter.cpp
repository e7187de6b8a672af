#include "dshow/BaseFilter.h"

#include "dshow/BasePin.h"
#include "dshow/EnumPins.h"
#include "win/HResultMacros.h"

#include <vector>

namespace dshow {

using Microsoft::WRL::ComPtr;

BaseFilter::BaseFilter(const CLSID& clsid) noexcept : clsid(clsid) {}

HRESULT BaseFilter::QueryOwnInterface(REFIID riid, void** object) {
  IBaseFilter* self = this;
  return HandOutInterface(riid, object, {{IID_IUnknown, self},
                                         {IID_IPersist, self},
                                         {IID_IMediaFilter, self},
                                         {IID_IBaseFilter, self}});
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

std::optional<REFERENCE_TIME> BaseFilter::StreamTimeNow() {
  std::lock_guard lock(stateLock);
  REFERENCE_TIME now = 0;
  if (state != State_Running || !clock || FAILED(clock->GetTime(&now))) return std::nullopt;
  return now - startTime;
}

std::vector<BasePin*> BaseFilter::ConnectedPins() {
  std::vector<BasePin*> pins;
  for (int i = 0; i < PinCount(); ++i) {
    if (PinAt(i)->IsConnected()) pins.push_back(PinAt(i));
  }
  return pins;
}

// The pins are activated and deactivated outside the state lock: stopping a
// pin may wait for its streaming thread.
STDMETHODIMP BaseFilter::Stop() try {
  std::vector<BasePin*> pins;
  {
    std::lock_guard lock(stateLock);
    if (state == State_Stopped) return S_OK;
    pins = ConnectedPins();
    state = State_Stopped;
  }
  HRESULT result = S_OK;
  for (BasePin* pin : pins) {
    HRESULT hr = pin->Inactive();
    if (FAILED(hr) && SUCCEEDED(result)) result = hr;
  }
  return result;
}
CATCH_RETURN()

STDMETHODIMP BaseFilter::Pause() try {
  std::vector<BasePin*> pins;
  {
    std::lock_guard lock(stateLock);
    if (state != State_Stopped) {
      state = State_Paused;
      return S_OK;
    }
    pins = ConnectedPins();
    state = State_Paused;
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
CATCH_RETURN()

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

STDMETHODIMP BaseFilter::EnumPins(IEnumPins** out) try {
  RETURN_HR_IF_NULL(E_POINTER, out);
  *out = nullptr;
  return PinEnumerator::Create(PinList(this), out);
}
CATCH_RETURN()

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

STDMETHODIMP BaseFilter::JoinFilterGraph(IFilterGraph* newGraph, LPCWSTR newName) try {
  std::wstring newFilterName = newName != nullptr ? newName : L"";
  std::lock_guard lock(stateLock);
  graph = newGraph;
  eventSink = nullptr;
  ComPtr<IMediaEventSink> sink;
  // A graph without an event sink simply gets no events.
  if (graph != nullptr && SUCCEEDED(ComPtr<IFilterGraph>(graph).As(&sink))) {
    eventSink = sink.Get();
  }
  name = std::move(newFilterName);
  return S_OK;
}
CATCH_RETURN()

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
