#pragma once
// Initialises COM on the current thread for the lifetime of the object.

#include <objbase.h>

class ComScope {
 public:
  explicit ComScope(DWORD model = COINIT_APARTMENTTHREADED) noexcept
      : result(::CoInitializeEx(nullptr, model)) {}
  ~ComScope() {
    if (SUCCEEDED(result)) ::CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

  HRESULT Result() const noexcept { return result; }
  bool Succeeded() const noexcept { return SUCCEEDED(result); }

 private:
  HRESULT result;
};
