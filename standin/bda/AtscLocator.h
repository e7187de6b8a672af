#pragma once
// The ATSC locator: where a tune request points, above all the physical (RF)
// channel. The other properties are kept and handed back, nothing more.

#include <windows.h>
#include <tuner.h>

#include "standin/bda/DispatchObject.h"

namespace standin {

class AtscLocator final : public DispatchObject<IATSCLocator> {
 public:
  static HRESULT CreateInstance(REFIID riid, void** object);

  // ILocator
  STDMETHODIMP get_CarrierFrequency(LONG* value) override;
  STDMETHODIMP put_CarrierFrequency(LONG value) override;
  STDMETHODIMP get_InnerFEC(FECMethod* value) override;
  STDMETHODIMP put_InnerFEC(FECMethod value) override;
  STDMETHODIMP get_InnerFECRate(BinaryConvolutionCodeRate* value) override;
  STDMETHODIMP put_InnerFECRate(BinaryConvolutionCodeRate value) override;
  STDMETHODIMP get_OuterFEC(FECMethod* value) override;
  STDMETHODIMP put_OuterFEC(FECMethod value) override;
  STDMETHODIMP get_OuterFECRate(BinaryConvolutionCodeRate* value) override;
  STDMETHODIMP put_OuterFECRate(BinaryConvolutionCodeRate value) override;
  STDMETHODIMP get_Modulation(ModulationType* value) override;
  STDMETHODIMP put_Modulation(ModulationType value) override;
  STDMETHODIMP get_SymbolRate(LONG* value) override;
  STDMETHODIMP put_SymbolRate(LONG value) override;
  STDMETHODIMP Clone(ILocator** copy) override;

  // IATSCLocator
  STDMETHODIMP get_PhysicalChannel(LONG* value) override;
  STDMETHODIMP put_PhysicalChannel(LONG value) override;
  STDMETHODIMP get_TSID(LONG* value) override;
  STDMETHODIMP put_TSID(LONG value) override;

 protected:
  HRESULT QueryOwnInterface(REFIID riid, void** object) override;

 private:
  AtscLocator() = default;
  ~AtscLocator() override = default;

  struct Values {
    LONG carrierFrequency = -1;
    FECMethod innerFec = BDA_FEC_METHOD_NOT_SET;
    BinaryConvolutionCodeRate innerFecRate = BDA_BCC_RATE_NOT_SET;
    FECMethod outerFec = BDA_FEC_METHOD_NOT_SET;
    BinaryConvolutionCodeRate outerFecRate = BDA_BCC_RATE_NOT_SET;
    ModulationType modulation = BDA_MOD_8VSB;
    LONG symbolRate = -1;
    LONG physicalChannel = -1;
    LONG tsid = -1;
  };
  // Set by one thread (the caller's) at a time, as the platform's objects.
  Values values;
};

}  // namespace standin
