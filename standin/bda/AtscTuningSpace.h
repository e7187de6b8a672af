#pragma once
// The ATSC tuning space: a unique name, the ATSC network type and the channel
// ranges; it makes ATSC channel tune requests and clones itself.

#include <windows.h>
#include <tuner.h>
#include <wrl/client.h>

#include <string>

#include "standin/bda/DispatchObject.h"

namespace standin {

class AtscTuningSpace final : public DispatchObject<IATSCTuningSpace> {
 public:
  static HRESULT CreateInstance(REFIID riid, void** object);
  // A space with this unique name (and friendly name) and input.
  static HRESULT Create(const std::wstring& uniqueName, TunerInputType input,
                        ITuningSpace** space);

  // ITuningSpace
  STDMETHODIMP get_UniqueName(BSTR* name) override;
  STDMETHODIMP put_UniqueName(BSTR name) override;
  STDMETHODIMP get_FriendlyName(BSTR* name) override;
  STDMETHODIMP put_FriendlyName(BSTR name) override;
  STDMETHODIMP get_CLSID(BSTR* clsid) override;
  STDMETHODIMP get_NetworkType(BSTR* type) override;
  STDMETHODIMP put_NetworkType(BSTR type) override;
  STDMETHODIMP get__NetworkType(GUID* type) override;
  STDMETHODIMP put__NetworkType(REFCLSID type) override;
  STDMETHODIMP CreateTuneRequest(ITuneRequest** request) override;
  STDMETHODIMP EnumCategoryGUIDs(IEnumGUID** categories) override;
  STDMETHODIMP EnumDeviceMonikers(IEnumMoniker** monikers) override;
  STDMETHODIMP get_DefaultPreferredComponentTypes(IComponentTypes** types) override;
  STDMETHODIMP put_DefaultPreferredComponentTypes(IComponentTypes* types) override;
  STDMETHODIMP get_FrequencyMapping(BSTR* mapping) override;
  STDMETHODIMP put_FrequencyMapping(BSTR mapping) override;
  STDMETHODIMP get_DefaultLocator(ILocator** locator) override;
  STDMETHODIMP put_DefaultLocator(ILocator* locator) override;
  STDMETHODIMP Clone(ITuningSpace** copy) override;

  // IAnalogTVTuningSpace
  STDMETHODIMP get_MinChannel(LONG* value) override;
  STDMETHODIMP put_MinChannel(LONG value) override;
  STDMETHODIMP get_MaxChannel(LONG* value) override;
  STDMETHODIMP put_MaxChannel(LONG value) override;
  STDMETHODIMP get_InputType(TunerInputType* value) override;
  STDMETHODIMP put_InputType(TunerInputType value) override;
  STDMETHODIMP get_CountryCode(LONG* value) override;
  STDMETHODIMP put_CountryCode(LONG value) override;

  // IATSCTuningSpace
  STDMETHODIMP get_MinMinorChannel(LONG* value) override;
  STDMETHODIMP put_MinMinorChannel(LONG value) override;
  STDMETHODIMP get_MaxMinorChannel(LONG* value) override;
  STDMETHODIMP put_MaxMinorChannel(LONG value) override;
  STDMETHODIMP get_MinPhysicalChannel(LONG* value) override;
  STDMETHODIMP put_MinPhysicalChannel(LONG value) override;
  STDMETHODIMP get_MaxPhysicalChannel(LONG* value) override;
  STDMETHODIMP put_MaxPhysicalChannel(LONG value) override;

 protected:
  HRESULT QueryOwnInterface(REFIID riid, void** object) override;

 private:
  AtscTuningSpace();
  ~AtscTuningSpace() override = default;

  struct Values {
    std::wstring uniqueName = L"ATSC";
    std::wstring friendlyName = L"ATSC";
    std::wstring frequencyMapping;
    GUID networkType{};
    LONG minChannel = 1;
    LONG maxChannel = 99;
    TunerInputType inputType = TunerInputAntenna;
    LONG countryCode = 0;
    LONG minMinorChannel = 0;
    LONG maxMinorChannel = 999;
    LONG minPhysicalChannel = 2;
    LONG maxPhysicalChannel = 158;
  };
  Values values;
  Microsoft::WRL::ComPtr<ILocator> defaultLocator;
};

}  // namespace standin
