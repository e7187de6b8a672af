#pragma once
// The recording folders that the programs keep in the registry: one string
// value under a key of HKEY_LOCAL_MACHINE, with the same key under
// HKEY_CURRENT_USER as the fall-back for users who may not write the first.

#include <windows.h>

#include <optional>
#include <string>

#include "win/UniqueHandle.h"

// The value from HKLM, else from HKCU; nothing when neither holds a string.
inline std::optional<std::string> ReadFolderValue(const std::string& key, const char* valueName) {
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) continue;
    UniqueHkey owner(opened);
    char text[MAX_PATH + 1] = {};
    DWORD type = 0;
    DWORD size = MAX_PATH;  // one byte short of the buffer: the text always ends
    if (RegQueryValueExA(opened, valueName, nullptr, &type, reinterpret_cast<BYTE*>(text),
                         &size) == ERROR_SUCCESS &&
        type == REG_SZ && text[0] != '\0')
      return std::string(text);
  }
  return std::nullopt;
}

// Writes the value under both roots, creating the keys; true when at least
// one of them took it.
inline bool WriteFolderValue(const std::string& key, const char* valueName,
                             const std::string& folder) {
  bool written = false;
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    HKEY created = nullptr;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                        nullptr, &created, nullptr) != ERROR_SUCCESS)
      continue;
    UniqueHkey owner(created);
    if (RegSetValueExA(created, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                       static_cast<DWORD>(folder.size() + 1)) == ERROR_SUCCESS)
      written = true;
  }
  return written;
}
