#include "tests/wine/shared/CountingSink.h"

#include "win/HResultMacros.h"

namespace {
// {5D3C1E7A-4B2F-4C61-9E8D-2A7F6B0C3D19}: only ever created in process.
constexpr CLSID kCountingSinkClsid = {
    0x5D3C1E7A, 0x4B2F, 0x4C61, {0x9E, 0x8D, 0x2A, 0x7F, 0x6B, 0x0C, 0x3D, 0x19}};
}  // namespace

CountingSink::CountingSink() : BaseFilter(kCountingSinkClsid), pin(*this) {}

HRESULT CountingSink::CreateInstance(IBaseFilter** out) try {
  RETURN_HR_IF_NULL(E_POINTER, out);
  *out = new CountingSink();
  return S_OK;
}
CATCH_RETURN()
