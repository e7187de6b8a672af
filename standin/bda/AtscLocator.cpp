#include "standin/bda/AtscLocator.h"

#include "standin/bda/BdaGuids.h"
#include "standin/bda/FailSteps.h"
#include "win/ComObject.h"
#include "win/HResultMacros.h"

#include <new>

namespace standin {

HRESULT AtscLocator::CreateInstance(REFIID riid, void** object) try {
  RETURN_HR_IF_NULL(E_POINTER, object);
  *object = nullptr;
  RETURN_HR_IF(E_FAIL, StepFails(steps::kLocatorCreate));
  return HandOutNew(new AtscLocator(), riid, object);
}
CATCH_RETURN()

HRESULT AtscLocator::QueryOwnInterface(REFIID riid, void** object) {
  if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_ILocator ||
      riid == kIidDigitalLocator || riid == IID_IATSCLocator) {
    return HandOut(static_cast<IATSCLocator*>(this), object);
  }
  return E_NOINTERFACE;
}

STDMETHODIMP AtscLocator::get_CarrierFrequency(LONG* value) { return Get(values.carrierFrequency, value); }
STDMETHODIMP AtscLocator::put_CarrierFrequency(LONG value) { values.carrierFrequency = value; return S_OK; }
STDMETHODIMP AtscLocator::get_InnerFEC(FECMethod* value) { return Get(values.innerFec, value); }
STDMETHODIMP AtscLocator::put_InnerFEC(FECMethod value) { values.innerFec = value; return S_OK; }
STDMETHODIMP AtscLocator::get_InnerFECRate(BinaryConvolutionCodeRate* value) { return Get(values.innerFecRate, value); }
STDMETHODIMP AtscLocator::put_InnerFECRate(BinaryConvolutionCodeRate value) { values.innerFecRate = value; return S_OK; }
STDMETHODIMP AtscLocator::get_OuterFEC(FECMethod* value) { return Get(values.outerFec, value); }
STDMETHODIMP AtscLocator::put_OuterFEC(FECMethod value) { values.outerFec = value; return S_OK; }
STDMETHODIMP AtscLocator::get_OuterFECRate(BinaryConvolutionCodeRate* value) { return Get(values.outerFecRate, value); }
STDMETHODIMP AtscLocator::put_OuterFECRate(BinaryConvolutionCodeRate value) { values.outerFecRate = value; return S_OK; }
STDMETHODIMP AtscLocator::get_Modulation(ModulationType* value) { return Get(values.modulation, value); }
STDMETHODIMP AtscLocator::put_Modulation(ModulationType value) { values.modulation = value; return S_OK; }
STDMETHODIMP AtscLocator::get_SymbolRate(LONG* value) { return Get(values.symbolRate, value); }
STDMETHODIMP AtscLocator::put_SymbolRate(LONG value) { values.symbolRate = value; return S_OK; }
STDMETHODIMP AtscLocator::get_PhysicalChannel(LONG* value) { return Get(values.physicalChannel, value); }
STDMETHODIMP AtscLocator::get_TSID(LONG* value) { return Get(values.tsid, value); }
STDMETHODIMP AtscLocator::put_TSID(LONG value) { values.tsid = value; return S_OK; }

STDMETHODIMP AtscLocator::put_PhysicalChannel(LONG value) {
  RETURN_HR_IF(E_FAIL, StepFails(steps::kLocatorPhysicalChannel));
  values.physicalChannel = value;
  return S_OK;
}

STDMETHODIMP AtscLocator::Clone(ILocator** copy) try {
  RETURN_HR_IF_NULL(E_POINTER, copy);
  *copy = nullptr;
  auto* clone = new AtscLocator();
  clone->values = values;
  *copy = clone;
  return S_OK;
}
CATCH_RETURN()

}  // namespace standin
