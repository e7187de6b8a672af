#pragma once
// What input and output pins share: identity, the connection and its media
// type, media-type enumeration and flushing state. The pin lives inside its
// filter and shares the filter's reference count and state lock; it answers
// QueryInterface for itself (IUnknown and IPin, and what a concrete pin adds
// by overriding QueryOwnInterface).

#include "dshow/MediaType.h"
#include "win/ComObject.h"

#include <windows.h>
#include <strmif.h>
#include <vfwmsgs.h>
#include <wrl/client.h>

#include <string>

namespace dshow {

class BaseFilter;

class BasePin : public IPin {
 public:
  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IPin
  STDMETHODIMP Disconnect() override;
  STDMETHODIMP ConnectedTo(IPin** pin) override;
  STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP QueryPinInfo(PIN_INFO* info) override;
  STDMETHODIMP QueryDirection(PIN_DIRECTION* direction) override;
  STDMETHODIMP QueryId(LPWSTR* id) override;
  STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** types) override;
  STDMETHODIMP QueryInternalConnections(IPin** pins, ULONG* count) override;
  STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

  // Media types: CheckMediaType says whether a type is acceptable;
  // GetMediaType gives the preferred ones in order (VFW_S_NO_MORE_ITEMS past
  // the last).
  virtual HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) = 0;
  virtual HRESULT GetMediaType(int position, MediaType& mt);

  // Called by the filter when it leaves or enters the stopped state.
  virtual HRESULT Active();
  virtual HRESULT Inactive();

  const std::wstring& Name() const noexcept { return name; }
  bool IsConnected();
  BaseFilter& Filter() noexcept { return filter; }

 protected:
  BasePin(BaseFilter& filter, const wchar_t* name, PIN_DIRECTION direction) noexcept;
  virtual ~BasePin() = default;

  // IUnknown and IPin; a concrete pin answers for more and passes the rest
  // on. `object` is not null and is null on entry.
  virtual HRESULT QueryOwnInterface(REFIID riid, void** object);
  // After the media type is agreed: allocator negotiation and the like.
  virtual HRESULT CompleteConnect(IPin* receivePin);
  // Undoes what CompleteConnect did; called on disconnection.
  virtual void BreakConnect();

  // Records a connection under the state lock (held by the caller).
  HRESULT SetConnection(IPin* pin, const AM_MEDIA_TYPE& mt);
  void ClearConnection();

  BaseFilter& filter;
  const std::wstring name;
  const PIN_DIRECTION direction;
  Microsoft::WRL::ComPtr<IPin> connected;
  MediaType connectionType;
  REFERENCE_TIME segmentStart = 0;
  REFERENCE_TIME segmentStop = 0;
  double segmentRate = 1.0;
};

}  // namespace dshow
