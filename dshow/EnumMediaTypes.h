#pragma once
// IEnumMediaTypes over a pin's preferred media types, by index.

#include <windows.h>
#include <strmif.h>
#include <wrl/client.h>

#include <atomic>

namespace dshow {

class BasePin;

class EnumMediaTypes final : public IEnumMediaTypes {
 public:
  static HRESULT CreateInstance(BasePin* pin, ULONG position, IEnumMediaTypes** out);

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IEnumMediaTypes
  STDMETHODIMP Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) override;
  STDMETHODIMP Skip(ULONG count) override;
  STDMETHODIMP Reset() override;
  STDMETHODIMP Clone(IEnumMediaTypes** out) override;

 private:
  EnumMediaTypes(BasePin* pin, ULONG position) noexcept;
  ~EnumMediaTypes() = default;

  Microsoft::WRL::ComPtr<IPin> holder;
  BasePin* pin;
  ULONG position;
  std::atomic<ULONG> refCount{1};
};

}  // namespace dshow
