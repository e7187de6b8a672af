#include "standin/bda/AtscTuningSpace.h"

#include "standin/bda/AtscTuneRequest.h"
#include "standin/bda/BdaGuids.h"
#include "standin/bda/FailSteps.h"
#include "win/ComObject.h"
#include "win/HResultMacros.h"

namespace standin {

namespace {

HRESULT GuidText(const GUID& guid, BSTR* out) {
  wchar_t text[40];
  RETURN_HR_IF(E_UNEXPECTED, StringFromGUID2(guid, text, 40) == 0);
  return CopyBstr(text, out);
}

}  // namespace

AtscTuningSpace::AtscTuningSpace() { values.networkType = kAtscNetworkType; }

HRESULT AtscTuningSpace::CreateInstance(REFIID riid, void** object) try {
  return HandOutNew(new AtscTuningSpace(), riid, object);
}
CATCH_RETURN()

HRESULT AtscTuningSpace::Create(const std::wstring& uniqueName, TunerInputType input,
                                ITuningSpace** space) try {
  RETURN_HR_IF_NULL(E_POINTER, space);
  *space = nullptr;
  Microsoft::WRL::ComPtr<AtscTuningSpace> created;
  created = AdoptNew(new AtscTuningSpace());
  created->values.uniqueName = uniqueName;
  created->values.friendlyName = uniqueName;
  created->values.inputType = input;
  *space = created.Detach();
  return S_OK;
}
CATCH_RETURN()

HRESULT AtscTuningSpace::QueryOwnInterface(REFIID riid, void** object) {
  if (riid == IID_IATSCTuningSpace && StepFails(steps::kTuningSpaceAtscQuery)) {
    return E_NOINTERFACE;
  }
  if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_ITuningSpace ||
      riid == IID_IAnalogTVTuningSpace || riid == IID_IATSCTuningSpace) {
    return HandOut(static_cast<IATSCTuningSpace*>(this), object);
  }
  return E_NOINTERFACE;
}

STDMETHODIMP AtscTuningSpace::get_UniqueName(BSTR* name) {
  RETURN_HR_IF_NULL(E_POINTER, name);
  *name = nullptr;
  RETURN_HR_IF(E_FAIL, StepFails(steps::kTuningSpaceUniqueName));
  return CopyBstr(values.uniqueName.c_str(), name);
}

STDMETHODIMP AtscTuningSpace::put_UniqueName(BSTR name) try {
  values.uniqueName = name != nullptr ? name : L"";
  return S_OK;
}
CATCH_RETURN()

STDMETHODIMP AtscTuningSpace::get_FriendlyName(BSTR* name) {
  return CopyBstr(values.friendlyName.c_str(), name);
}

STDMETHODIMP AtscTuningSpace::put_FriendlyName(BSTR name) try {
  values.friendlyName = name != nullptr ? name : L"";
  return S_OK;
}
CATCH_RETURN()

STDMETHODIMP AtscTuningSpace::get_CLSID(BSTR* clsid) { return GuidText(kAtscTuningSpaceClsid, clsid); }
STDMETHODIMP AtscTuningSpace::get_NetworkType(BSTR* type) { return GuidText(values.networkType, type); }

STDMETHODIMP AtscTuningSpace::put_NetworkType(BSTR type) {
  RETURN_HR_IF_NULL(E_POINTER, type);
  GUID guid{};
  RETURN_IF_FAILED(CLSIDFromString(type, &guid));
  values.networkType = guid;
  return S_OK;
}

STDMETHODIMP AtscTuningSpace::get__NetworkType(GUID* type) { return Get(values.networkType, type); }
STDMETHODIMP AtscTuningSpace::put__NetworkType(REFCLSID type) { values.networkType = type; return S_OK; }

STDMETHODIMP AtscTuningSpace::CreateTuneRequest(ITuneRequest** request) {
  RETURN_HR_IF_NULL(E_POINTER, request);
  *request = nullptr;
  RETURN_HR_IF(E_FAIL, StepFails(steps::kTuningSpaceCreateTuneRequest));
  return AtscTuneRequest::Create(this, request);
}

STDMETHODIMP AtscTuningSpace::EnumCategoryGUIDs(IEnumGUID** categories) {
  if (categories != nullptr) *categories = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP AtscTuningSpace::EnumDeviceMonikers(IEnumMoniker** monikers) {
  if (monikers != nullptr) *monikers = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP AtscTuningSpace::get_DefaultPreferredComponentTypes(IComponentTypes** types) {
  if (types != nullptr) *types = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP AtscTuningSpace::put_DefaultPreferredComponentTypes(IComponentTypes*) { return E_NOTIMPL; }

STDMETHODIMP AtscTuningSpace::get_FrequencyMapping(BSTR* mapping) {
  return CopyBstr(values.frequencyMapping.c_str(), mapping);
}

STDMETHODIMP AtscTuningSpace::put_FrequencyMapping(BSTR mapping) try {
  values.frequencyMapping = mapping != nullptr ? mapping : L"";
  return S_OK;
}
CATCH_RETURN()

STDMETHODIMP AtscTuningSpace::get_DefaultLocator(ILocator** locator) {
  RETURN_HR_IF_NULL(E_POINTER, locator);
  *locator = nullptr;
  if (!defaultLocator) return S_FALSE;
  return defaultLocator.CopyTo(locator);
}

STDMETHODIMP AtscTuningSpace::put_DefaultLocator(ILocator* locator) {
  defaultLocator = locator;
  return S_OK;
}

STDMETHODIMP AtscTuningSpace::Clone(ITuningSpace** copy) try {
  RETURN_HR_IF_NULL(E_POINTER, copy);
  *copy = nullptr;
  RETURN_HR_IF(E_FAIL, StepFails(steps::kTuningSpaceClone));
  Microsoft::WRL::ComPtr<AtscTuningSpace> clone;
  clone = AdoptNew(new AtscTuningSpace());
  clone->values = values;
  clone->defaultLocator = defaultLocator;
  *copy = clone.Detach();
  return S_OK;
}
CATCH_RETURN()

STDMETHODIMP AtscTuningSpace::get_MinChannel(LONG* v) { return Get(values.minChannel, v); }
STDMETHODIMP AtscTuningSpace::put_MinChannel(LONG v) { values.minChannel = v; return S_OK; }
STDMETHODIMP AtscTuningSpace::get_MaxChannel(LONG* v) { return Get(values.maxChannel, v); }
STDMETHODIMP AtscTuningSpace::put_MaxChannel(LONG v) { values.maxChannel = v; return S_OK; }
STDMETHODIMP AtscTuningSpace::get_InputType(TunerInputType* v) { return Get(values.inputType, v); }
STDMETHODIMP AtscTuningSpace::put_InputType(TunerInputType v) { values.inputType = v; return S_OK; }
STDMETHODIMP AtscTuningSpace::get_CountryCode(LONG* v) { return Get(values.countryCode, v); }
STDMETHODIMP AtscTuningSpace::put_CountryCode(LONG v) { values.countryCode = v; return S_OK; }
STDMETHODIMP AtscTuningSpace::get_MinMinorChannel(LONG* v) { return Get(values.minMinorChannel, v); }
STDMETHODIMP AtscTuningSpace::put_MinMinorChannel(LONG v) { values.minMinorChannel = v; return S_OK; }
STDMETHODIMP AtscTuningSpace::get_MaxMinorChannel(LONG* v) { return Get(values.maxMinorChannel, v); }
STDMETHODIMP AtscTuningSpace::put_MaxMinorChannel(LONG v) { values.maxMinorChannel = v; return S_OK; }
STDMETHODIMP AtscTuningSpace::get_MinPhysicalChannel(LONG* v) { return Get(values.minPhysicalChannel, v); }
STDMETHODIMP AtscTuningSpace::put_MinPhysicalChannel(LONG v) { values.minPhysicalChannel = v; return S_OK; }
STDMETHODIMP AtscTuningSpace::get_MaxPhysicalChannel(LONG* v) { return Get(values.maxPhysicalChannel, v); }
STDMETHODIMP AtscTuningSpace::put_MaxPhysicalChannel(LONG v) { values.maxPhysicalChannel = v; return S_OK; }

}  // namespace standin
