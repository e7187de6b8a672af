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
