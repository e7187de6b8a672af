#pragma once
// The shell's folder browser for choosing a recording folder. While the user
// moves through it, the status line shows the free space of a folder on a
// fixed disk; on any other kind of drive the line is cleared and OK disabled,
// so recordings never go to removable, network or optical drives.

#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <string>

#include "core/files/FreeSpace.h"

namespace folder_browser_detail {

inline bool IsOnFixedDisk(const char* folder) {
  char root[MAX_PATH + 1] = {};
  if (!GetVolumePathNameA(folder, root, MAX_PATH)) return false;
  return GetDriveTypeA(root) == DRIVE_FIXED;
}

inline int CALLBACK OnBrowseEvent(HWND browser, UINT message, LPARAM lParam, LPARAM) {
  if (message != BFFM_SELCHANGED) return 0;
  char folder[MAX_PATH + 1] = {};
  ULARGE_INTEGER available{};
  const bool usable = SHGetPathFromIDListA(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam), folder) &&
                      IsOnFixedDisk(folder) &&
                      GetDiskFreeSpaceExA(folder, &available, nullptr, nullptr);
  const std::string status = usable ? FreeSpaceText(available.QuadPart) : std::string();
  SendMessageA(browser, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(status.c_str()));
  SendMessageA(browser, BFFM_ENABLEOK, 0, usable ? TRUE : FALSE);
  return 0;
}

}  // namespace folder_browser_detail

// The folder the user chose, ending in a backslash; nothing when cancelled.
inline std::optional<std::string> BrowseForRecordingFolder(HWND owner, const char* title) {
  BROWSEINFOA info{};
  info.hwndOwner = owner;
  info.lpszTitle = title;
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
  info.lpfn = folder_browser_detail::OnBrowseEvent;
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&info);
  if (!chosen) return std::nullopt;
  char folder[MAX_PATH + 1] = {};
  const bool named = SHGetPathFromIDListA(chosen, folder);
  CoTaskMemFree(chosen);
  if (!named || folder[0] == '\0') return std::nullopt;
  std::string path(folder);
  if (path.back() != '\\') path += '\\';
  return path;
}
