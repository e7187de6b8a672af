#pragma once
// Early-return helpers for HRESULT code: check every call, return the first
// failure. COM entry points wrap their bodies in try { ... } CATCH_RETURN().

#include <windows.h>

#include <new>

#define RETURN_IF_FAILED(expr)                 \
  do {                                         \
    const HRESULT hrCheck_ = (expr);           \
    if (FAILED(hrCheck_)) return hrCheck_;     \
  } while (0)

#define RETURN_HR_IF(hr, condition)            \
  do {                                         \
    if (condition) return (hr);                \
  } while (0)

#define RETURN_HR_IF_NULL(hr, ptr)             \
  do {                                         \
    if ((ptr) == nullptr) return (hr);         \
  } while (0)

#define RETURN_LAST_ERROR_IF(condition)                        \
  do {                                                         \
    if (condition) return HRESULT_FROM_WIN32(GetLastError());  \
  } while (0)

// Ends a try block in a COM method: no exception crosses the boundary.
#define CATCH_RETURN()                                 \
  catch (const std::bad_alloc&) {                      \
    return E_OUTOFMEMORY;                              \
  }                                                    \
  catch (...) {                                        \
    return E_UNEXPECTED;                               \
  }

// Runs `call` (which returns an HRESULT) and turns an exception it throws into
// an HRESULT, as CATCH_RETURN does: for a step inside a COM method that must
// undo its partial work when the step fails.
template <typename Call>
HRESULT CallCatchingExceptions(Call&& call) noexcept try {
  return call();
}
CATCH_RETURN()
