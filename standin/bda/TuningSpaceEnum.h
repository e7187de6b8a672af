#pragma once
// Enumerates a fixed list of tuning spaces, as the container hands it out.

#include <windows.h>
#include <tuner.h>
#include <wrl/client.h>

#include <atomic>
#include <vector>

namespace standin {

class TuningSpaceEnum final : public IEnumTuningSpaces {
 public:
  using Spaces = std::vector<Microsoft::WRL::ComPtr<ITuningSpace>>;
  static HRESULT Create(const Spaces& spaces, std::size_t position, IEnumTuningSpaces** out);

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IEnumTuningSpaces
  STDMETHODIMP Next(ULONG count, ITuningSpace** spaces, ULONG* fetched) override;
  STDMETHODIMP Skip(ULONG count) override;
  STDMETHODIMP Reset() override;
  STDMETHODIMP Clone(IEnumTuningSpaces** copy) override;

 private:
  TuningSpaceEnum(const Spaces& spaces, std::size_t position);
  ~TuningSpaceEnum();

  std::atomic<ULONG> refCount{1};
  const Spaces spaces;
  std::size_t position;
};

}  // namespace standin
