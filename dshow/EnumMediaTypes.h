#pragma once
// IEnumMediaTypes over a pin's preferred media types, by index.

#include "dshow/IndexEnumerator.h"

#include <windows.h>
#include <strmif.h>
#include <wrl/client.h>

namespace dshow {

class BasePin;

class MediaTypeList {
 public:
  using Interface = IEnumMediaTypes;
  using Item = AM_MEDIA_TYPE*;

  explicit MediaTypeList(BasePin* pin) noexcept;

  static const IID& Iid() noexcept { return IID_IEnumMediaTypes; }
  // A copy in task memory, as IEnumMediaTypes hands them out.
  HRESULT Get(ULONG index, AM_MEDIA_TYPE*& type);
  ULONG Count();
  static void Free(AM_MEDIA_TYPE*& type) noexcept;

 private:
  Microsoft::WRL::ComPtr<IPin> holder;
  BasePin* pin;
};

using MediaTypeEnumerator = IndexEnumerator<MediaTypeList>;

}  // namespace dshow
