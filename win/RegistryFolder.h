#pragma once
// The recording folders that the programs keep in the registry: one string
// value under a key of HKEY_LOCAL_MACHINE, with the same key under
// HKEY_CURRENT_USER as the fall-back for users who may not write the first.

#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>

#include "win/UniqueHandle.h"

// The value under one root, whole however long it is, an expandable string
// with its environment variables expanded; nothing when the key or the value
// is missing, empty or not a string.
inline std::optional<std::string> ReadFolderValueUnder(HKEY root, const std::string& key,
                                                       const char* valueName) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
    return std::nullopt;
  UniqueHkey owner(opened);
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(opened, valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return std::nullopt;
  std::string text;
  // The value may grow between the two calls: ask again with its new size.
  for (int attempt = 0;; ++attempt) {
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
    text.assign(static_cast<std::size_t>(size) + 1, '\0');  // room for a missing terminator
    DWORD read = size;
    const LSTATUS status = RegQueryValueExA(opened, valueName, nullptr, &type,
                                            reinterpret_cast<BYTE*>(text.data()), &read);
    if (status == ERROR_MORE_DATA && attempt < 4) {
      size = read;
      continue;
    }
    if (status != ERROR_SUCCESS) return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
    // The text ends at its first terminator, stored or not.
    text.resize(std::min<std::size_t>(read, text.size()));
    text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
    break;
  }
  if (type == REG_EXPAND_SZ && !text.empty()) {
    const DWORD needed = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    if (needed == 0) return std::nullopt;
    std::string expanded(needed, '\0');
    const DWORD written = ExpandEnvironmentStringsA(text.c_str(), expanded.data(), needed);
    if (written == 0 || written > needed) return std::nullopt;
    // The text ends at the terminator the call wrote.
    if (const std::size_t end = expanded.find('\0'); end != std::string::npos) expanded.resize(end);
    text = std::move(expanded);
  }
  if (text.empty()) return std::nullopt;
  return text;
}

// The value from HKLM, else from HKCU: the folder every program uses.
inline std::optional<std::string> ReadFolderValue(const std::string& key, const char* valueName) {
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
    if (auto folder = ReadFolderValueUnder(root, key, valueName)) return folder;
  return std::nullopt;
}

// Which roots took a folder.
struct FolderWritten {
  bool machine = false;  // HKEY_LOCAL_MACHINE
  bool user = false;     // HKEY_CURRENT_USER
};

// Writes the value under both roots, creating the keys.
inline FolderWritten WriteFolderValue(const std::string& key, const char* valueName,
                                      const std::string& folder) {
  FolderWritten written;
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    HKEY created = nullptr;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                        nullptr, &created, nullptr) != ERROR_SUCCESS)
      continue;
    UniqueHkey owner(created);
    if (RegSetValueExA(created, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                       static_cast<DWORD>(folder.size() + 1)) == ERROR_SUCCESS)
      (root == HKEY_LOCAL_MACHINE ? written.machine : written.user) = true;
  }
  return written;
}
