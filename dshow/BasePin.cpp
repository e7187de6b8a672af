#include "dshow/BasePin.h"

#include "dshow/BaseFilter.h"
#include "dshow/EnumMediaTypes.h"
#include "win/ComObject.h"
#include "win/HResultMacros.h"
#include "win/TaskMemText.h"

#include <mutex>

namespace dshow {

BasePin::BasePin(BaseFilter& filter, const wchar_t* name, PIN_DIRECTION direction) noexcept
    : filter(filter), name(name), direction(direction) {}

STDMETHODIMP BasePin::QueryInterface(REFIID riid, void** object) {
  RETURN_HR_IF_NULL(E_POINTER, object);
  *object = nullptr;
  return QueryOwnInterface(riid, object);
}

HRESULT BasePin::QueryOwnInterface(REFIID riid, void** object) {
  IPin* self = this;
  return HandOutInterface(riid, object, {{IID_IUnknown, self}, {IID_IPin, self}});
}

STDMETHODIMP_(ULONG) BasePin::AddRef() { return filter.AddRef(); }
STDMETHODIMP_(ULONG) BasePin::Release() { return filter.Release(); }

bool BasePin::IsConnected() {
  std::lock_guard lock(filter.StateLock());
  return connected != nullptr;
}

HRESULT BasePin::SetConnection(IPin* pin, const AM_MEDIA_TYPE& mt) {
  RETURN_IF_FAILED(connectionType.Set(mt));
  connected = pin;
  return S_OK;
}

void BasePin::ClearConnection() {
  connected.Reset();
  connectionType.Clear();
}

STDMETHODIMP BasePin::Disconnect() {
  std::lock_guard lock(filter.StateLock());
  RETURN_HR_IF(VFW_E_NOT_STOPPED, filter.State() != State_Stopped);
  if (!connected) return S_FALSE;
  BreakConnect();
  ClearConnection();
  return S_OK;
}

STDMETHODIMP BasePin::ConnectedTo(IPin** out) {
  RETURN_HR_IF_NULL(E_POINTER, out);
  *out = nullptr;
  std::lock_guard lock(filter.StateLock());
  RETURN_HR_IF(VFW_E_NOT_CONNECTED, !connected);
  return connected.CopyTo(out);
}

STDMETHODIMP BasePin::ConnectionMediaType(AM_MEDIA_TYPE* out) {
  RETURN_HR_IF_NULL(E_POINTER, out);
  std::lock_guard lock(filter.StateLock());
  if (!connected) {
    *out = AM_MEDIA_TYPE{};
    return VFW_E_NOT_CONNECTED;
  }
  return CopyMediaType(*out, *connectionType);
}

STDMETHODIMP BasePin::QueryPinInfo(PIN_INFO* info) {
  RETURN_HR_IF_NULL(E_POINTER, info);
  info->pFilter = &filter;
  filter.AddRef();
  lstrcpynW(info->achName, name.c_str(), MAX_PIN_NAME);
  info->dir = direction;
  return S_OK;
}

STDMETHODIMP BasePin::QueryDirection(PIN_DIRECTION* out) {
  RETURN_HR_IF_NULL(E_POINTER, out);
  *out = direction;
  return S_OK;
}

STDMETHODIMP BasePin::QueryId(LPWSTR* id) { return CopyToTaskMem(name, id); }

STDMETHODIMP BasePin::QueryAccept(const AM_MEDIA_TYPE* mt) try {
  RETURN_HR_IF_NULL(E_POINTER, mt);
  return CheckMediaType(*mt) == S_OK ? S_OK : S_FALSE;
}
CATCH_RETURN()

STDMETHODIMP BasePin::EnumMediaTypes(IEnumMediaTypes** out) {
  RETURN_HR_IF_NULL(E_POINTER, out);
  *out = nullptr;
  return MediaTypeEnumerator::Create(MediaTypeList(this), out);
}

STDMETHODIMP BasePin::QueryInternalConnections(IPin**, ULONG*) { return E_NOTIMPL; }

STDMETHODIMP BasePin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  segmentStart = start;
  segmentStop = stop;
  segmentRate = rate;
  return S_OK;
}

HRESULT BasePin::GetMediaType(int, MediaType&) { return VFW_S_NO_MORE_ITEMS; }

HRESULT BasePin::Active() { return S_OK; }
HRESULT BasePin::Inactive() { return S_OK; }
HRESULT BasePin::CompleteConnect(IPin*) { return S_OK; }
void BasePin::BreakConnect() {}

}  // namespace dshow
