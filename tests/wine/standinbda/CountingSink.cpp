#include "CountingSink.h"

#include <new>

namespace {
// {6B7E0C3A-2F4A-4E59-8D1C-3A5F7B9E2D41}: never registered.
constexpr CLSID kCountingSinkClsid = {
    0x6B7E0C3A, 0x2F4A, 0x4E59, {0x8D, 0x1C, 0x3A, 0x5F, 0x7B, 0x9E, 0x2D, 0x41}};
}  // namespace

CountingSink::CountingSink() : BaseFilter(kCountingSinkClsid), pin(*this, counter) {}

HRESULT CountingSink::Create(CountingSink** sink) {
  if (sink == nullptr) return E_POINTER;
  *sink = new (std::nothrow) CountingSink();
  return *sink != nullptr ? S_OK : E_OUTOFMEMORY;
}
