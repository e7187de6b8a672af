#pragma once
// Texts in the ANSI code page, as the programs keep names, folders and file
// names, turned into the wide-character texts that the platform's calls take.

#include <windows.h>

#include <climits>
#include <string>
#include <string_view>

// `text` in wide characters; empty when it cannot be converted.
inline std::wstring Widen(std::string_view text) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  if (MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length) != length) return {};
  return wide;
}
