#pragma once
// Texts handed out in task memory, as COM out-parameters (IPin::QueryId,
// IFileSourceFilter::GetCurFile) want them: the caller frees the copy with
// CoTaskMemFree.

#include "win/HResultMacros.h"

#include <windows.h>
#include <objbase.h>

#include <cstring>
#include <string_view>

// *out gets a zero-terminated copy of `text`; null when the copy fails.
inline HRESULT CopyToTaskMem(std::wstring_view text, LPWSTR* out) noexcept {
  RETURN_HR_IF_NULL(E_POINTER, out);
  *out = static_cast<LPWSTR>(CoTaskMemAlloc((text.size() + 1) * sizeof(wchar_t)));
  RETURN_HR_IF_NULL(E_OUTOFMEMORY, *out);
  std::memcpy(*out, text.data(), text.size() * sizeof(wchar_t));
  (*out)[text.size()] = L'\0';
  return S_OK;
}
