#pragma once
// IEnumPins over a filter's pins, by index.

#include "dshow/IndexEnumerator.h"

#include <windows.h>
#include <strmif.h>
#include <wrl/client.h>

namespace dshow {

class BaseFilter;

class PinList {
 public:
  using Interface = IEnumPins;
  using Item = IPin*;

  explicit PinList(BaseFilter* filter) noexcept;

  static const IID& Iid() noexcept { return IID_IEnumPins; }
  HRESULT Get(ULONG index, IPin*& pin);
  ULONG Count();
  static void Free(IPin*& pin) noexcept;

 private:
  Microsoft::WRL::ComPtr<IBaseFilter> holder;
  BaseFilter* filter;
};

using PinEnumerator = IndexEnumerator<PinList>;

}  // namespace dshow
