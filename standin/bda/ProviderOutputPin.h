#pragma once
// The network provider's antenna output, which connects to the tuner's
// input. Nothing flows through it: once it is connected, the provider hands
// its tune request to the tuner behind it.

#include "dshow/OutputPin.h"

namespace standin {

class NetworkProvider;

class ProviderOutputPin final : public dshow::OutputPin {
 public:
  explicit ProviderOutputPin(NetworkProvider& provider) noexcept;

  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  HRESULT GetMediaType(int position, dshow::MediaType& mt) override;

  // The filter of the pin this one is connected to; VFW_E_NOT_CONNECTED.
  HRESULT ConnectedFilter(IBaseFilter** filter);

  // Active and Inactive do nothing: the pin never delivers, so its
  // allocator need not be committed.
  HRESULT Active() override { return S_OK; }
  HRESULT Inactive() override { return S_OK; }

 protected:
  HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES& request) override;
  HRESULT CompleteConnect(IPin* receivePin) override;

 private:
  NetworkProvider& provider;
};

}  // namespace standin
