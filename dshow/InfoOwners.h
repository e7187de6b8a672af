#pragma once
// Owners for the structures whose query methods AddRef a pointer inside them.

#include <windows.h>
#include <strmif.h>

namespace dshow {

struct PinInfoOwner : PIN_INFO {
  PinInfoOwner() noexcept : PIN_INFO{} {}
  ~PinInfoOwner() {
    if (pFilter != nullptr) pFilter->Release();
  }
  PinInfoOwner(const PinInfoOwner&) = delete;
  PinInfoOwner& operator=(const PinInfoOwner&) = delete;
};

struct FilterInfoOwner : FILTER_INFO {
  FilterInfoOwner() noexcept : FILTER_INFO{} {}
  ~FilterInfoOwner() {
    if (pGraph != nullptr) pGraph->Release();
  }
  FilterInfoOwner(const FilterInfoOwner&) = delete;
  FilterInfoOwner& operator=(const FilterInfoOwner&) = delete;
};

}  // namespace dshow
