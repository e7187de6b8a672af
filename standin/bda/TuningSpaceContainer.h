#pragma once
// The system tuning-space container. Its spaces are ATSC tuning spaces whose
// unique names and inputs come from the stand-in settings' "TuningSpaces"
// value; without the value it holds the list of the platform the stand-ins
// present (SystemSpaceList.h).

#include <windows.h>
#include <tuner.h>

#include "standin/bda/DispatchObject.h"
#include "standin/bda/TuningSpaceEnum.h"

namespace standin {

class TuningSpaceContainer final : public DispatchObject<ITuningSpaceContainer> {
 public:
  static HRESULT CreateInstance(REFIID riid, void** object);

  // ITuningSpaceContainer
  STDMETHODIMP get_Count(LONG* count) override;
  STDMETHODIMP get__NewEnum(IEnumVARIANT** spaces) override;
  STDMETHODIMP get_Item(VARIANT index, ITuningSpace** space) override;
  STDMETHODIMP put_Item(VARIANT index, ITuningSpace* space) override;
  STDMETHODIMP TuningSpacesForCLSID(BSTR clsid, ITuningSpaces** spaces) override;
  STDMETHODIMP _TuningSpacesForCLSID(REFCLSID clsid, ITuningSpaces** spaces) override;
  STDMETHODIMP TuningSpacesForName(BSTR name, ITuningSpaces** spaces) override;
  STDMETHODIMP FindID(ITuningSpace* space, LONG* id) override;
  STDMETHODIMP Add(ITuningSpace* space, VARIANT* newIndex) override;
  STDMETHODIMP get_EnumTuningSpaces(IEnumTuningSpaces** spaces) override;
  STDMETHODIMP Remove(VARIANT index) override;
  STDMETHODIMP get_MaxCount(LONG* count) override;
  STDMETHODIMP put_MaxCount(LONG count) override;

 protected:
  HRESULT QueryOwnInterface(REFIID riid, void** object) override;

 private:
  TuningSpaceContainer() = default;
  ~TuningSpaceContainer() override = default;
  HRESULT LoadSpaces();

  TuningSpaceList::Spaces spaces;
};

}  // namespace standin
