#pragma once
// The guide's titles and descriptions are UTF-8 and channels.txt's names
// are in the ANSI code page: both are shown through the wide-character
// calls, so that a title in any script reads as the station sent it.

#include <windows.h>

#include <climits>
#include <string>
#include <string_view>

// `text` (UTF-8) in wide characters; invalid bytes become U+FFFD.
inline std::wstring WidenUtf8(std::string_view text) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  if (MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length) != length) return {};
  return wide;
}
