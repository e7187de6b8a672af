#pragma once
// The ATSC channel tune request: major channel, minor channel and the
// locator with the physical channel, made by an ATSC tuning space.

#include <windows.h>
#include <tuner.h>
#include <wrl/client.h>

#include "standin/bda/DispatchObject.h"

namespace standin {

class AtscTuneRequest final : public DispatchObject<IATSCChannelTuneRequest> {
 public:
  static HRESULT Create(ITuningSpace* space, ITuneRequest** request);

  // ITuneRequest
  STDMETHODIMP get_TuningSpace(ITuningSpace** space) override;
  STDMETHODIMP get_Components(IComponents** components) override;
  STDMETHODIMP Clone(ITuneRequest** copy) override;
  STDMETHODIMP get_Locator(ILocator** locator) override;
  STDMETHODIMP put_Locator(ILocator* locator) override;

  // IChannelTuneRequest
  STDMETHODIMP get_Channel(LONG* channel) override;
  STDMETHODIMP put_Channel(LONG channel) override;

  // IATSCChannelTuneRequest
  STDMETHODIMP get_MinorChannel(LONG* minor) override;
  STDMETHODIMP put_MinorChannel(LONG minor) override;

 protected:
  HRESULT QueryOwnInterface(REFIID riid, void** object) override;

 private:
  explicit AtscTuneRequest(ITuningSpace* space) noexcept : space(space) {}
  ~AtscTuneRequest() override = default;

  Microsoft::WRL::ComPtr<ITuningSpace> space;
  Microsoft::WRL::ComPtr<ILocator> locator;
  LONG channel = -1;
  LONG minorChannel = -1;
};

}  // namespace standin
