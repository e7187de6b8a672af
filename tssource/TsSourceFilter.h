#pragma once
// The transport-stream push source: reads a recorded transport-stream file in
// 51200-byte blocks and pushes the raw bytes out of its one pin, "Out".

#include "dshow/BaseFilter.h"
#include "tssource/SourceFile.h"
#include "tssource/TsSourcePin.h"

namespace tssource {

class TsSourceFilter final : public dshow::BaseFilter, public IFileSourceFilter {
 public:
  static HRESULT CreateInstance(REFIID riid, void** object);

  FORWARD_IUNKNOWN_TO(dshow::BaseFilter)

  // IFileSourceFilter
  STDMETHODIMP Load(LPCOLESTR fileName, const AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP GetCurFile(LPOLESTR* fileName, AM_MEDIA_TYPE* mt) override;

  int PinCount() override { return 1; }
  dshow::BasePin* PinAt(int index) override { return index == 0 ? &pin : nullptr; }

 protected:
  HRESULT QueryOwnInterface(REFIID riid, void** object) override;

 private:
  TsSourceFilter();
  ~TsSourceFilter() override = default;

  SourceFile file;
  TsSourcePin pin;
};

}  // namespace tssource
