#pragma once
// The network provider, under either of its class ids: the ATSC network
// provider of the older systems or the generic network provider of Windows 7
// and later, which behave alike for ATSC (the generic one tunes the network
// type of the request's locator, and ATSC is the only one the virtual antenna
// carries). It takes ATSC channel tune requests through ITuner and tunes the
// virtual tuner connected to its output (a request put before the tuner is
// connected reaches it when it is); reports the signal strength of the tuned
// RF channel.

#include <windows.h>
#include <tuner.h>
#include <wrl/client.h>

#include <mutex>

#include "dshow/BaseFilter.h"
#include "standin/bda/ProviderOutputPin.h"

namespace standin {

class NetworkProvider final : public dshow::BaseFilter, public ITuner {
 public:
  static HRESULT CreateAtscInstance(REFIID riid, void** object);
  static HRESULT CreateGenericInstance(REFIID riid, void** object);

  FORWARD_IUNKNOWN_TO(dshow::BaseFilter)

  // ITuner
  STDMETHODIMP get_TuningSpace(ITuningSpace** space) override;
  STDMETHODIMP put_TuningSpace(ITuningSpace* space) override;
  STDMETHODIMP EnumTuningSpaces(IEnumTuningSpaces** spaces) override;
  STDMETHODIMP get_TuneRequest(ITuneRequest** request) override;
  STDMETHODIMP put_TuneRequest(ITuneRequest* request) override;
  STDMETHODIMP Validate(ITuneRequest* request) override;
  STDMETHODIMP get_PreferredComponentTypes(IComponentTypes** types) override;
  STDMETHODIMP put_PreferredComponentTypes(IComponentTypes* types) override;
  STDMETHODIMP get_SignalStrength(LONG* strength) override;
  STDMETHODIMP TriggerSignalEvents(LONG interval) override;

  int PinCount() override { return 1; }
  dshow::BasePin* PinAt(int index) override { return index == 0 ? &output : nullptr; }

  // Called by the output pin once it is connected to `tuner`.
  void TunerConnected(IBaseFilter* tuner);

 protected:
  HRESULT QueryOwnInterface(REFIID riid, void** object) override;

 private:
  explicit NetworkProvider(const CLSID& clsid);
  static HRESULT Create(const CLSID& clsid, REFIID riid, void** object);
  ~NetworkProvider() override = default;

  struct Channel {
    bool set = false;
    LONG physical = -1;
    LONG major = -1;
    LONG minor = -1;
  };

  ProviderOutputPin output;

  // The request lock guards what was asked for; it is not held while the
  // tuner tunes.
  std::mutex requestLock;
  Microsoft::WRL::ComPtr<ITuneRequest> request;
  Microsoft::WRL::ComPtr<ITuningSpace> space;
  Channel wanted;
};

}  // namespace standin
