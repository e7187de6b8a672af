#pragma once
// The transport-stream dump filter ("TelvantisTSSink"): one input pin; while
// the graph runs, everything it receives goes to the file named through
// IFileSinkFilter, and the file is finished when the graph stops.

#include "dshow/BaseFilter.h"
#include "tssink/TsSinkInputPin.h"

namespace tssink {

class TsSinkFilter final : public dshow::BaseFilter, public IFileSinkFilter {
 public:
  static HRESULT CreateInstance(REFIID riid, void** object);

  FORWARD_IUNKNOWN_TO(dshow::BaseFilter)

  // IFileSinkFilter
  STDMETHODIMP SetFileName(LPCOLESTR fileName, const AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP GetCurFile(LPOLESTR* fileName, AM_MEDIA_TYPE* mt) override;

  int PinCount() override { return 1; }
  dshow::BasePin* PinAt(int index) override { return index == 0 ? &pin : nullptr; }

 protected:
  HRESULT QueryOwnInterface(REFIID riid, void** object) override;

 private:
  TsSinkFilter();
  ~TsSinkFilter() override = default;

  TsSinkInputPin pin;
  std::wstring fileName;  // under the state lock
};

}  // namespace tssink
