#pragma once
// IEnumPins over a filter's pins, by index.

#include <windows.h>
#include <strmif.h>
#include <wrl/client.h>

#include <atomic>

namespace dshow {

class BaseFilter;

class EnumPins final : public IEnumPins {
 public:
  static HRESULT CreateInstance(BaseFilter* filter, ULONG position, IEnumPins** out);

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IEnumPins
  STDMETHODIMP Next(ULONG count, IPin** pins, ULONG* fetched) override;
  STDMETHODIMP Skip(ULONG count) override;
  STDMETHODIMP Reset() override;
  STDMETHODIMP Clone(IEnumPins** out) override;

 private:
  EnumPins(BaseFilter* filter, ULONG position) noexcept;
  ~EnumPins() = default;

  Microsoft::WRL::ComPtr<IBaseFilter> holder;
  BaseFilter* filter;
  ULONG position;
  std::atomic<ULONG> refCount{1};
};

}  // namespace dshow
