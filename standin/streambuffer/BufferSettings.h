#pragma once
// Where the stand-in stream buffer keeps its backing files and how many and
// how long they are. The configuration object writes them into the registry
// key the program hands it (IStreamBufferInitialize::SetHKEY), as the
// platform's engine keeps its own settings there; a sink given the same key
// reads them back. Without a key, the latest values set in the process hold.
//
//   "BufferDirectory" (string), "BackingFileMinimum", "BackingFileMaximum",
//   "BackingFileSeconds" (DWORD), "SyncNamespace" (string; empty for the
//   session's own namespace)

#include <windows.h>

#include <string>

namespace standin {

struct BufferSettings {
  std::wstring directory;  // empty: a folder under the temporary folder
  DWORD minimum = 4;
  DWORD maximum = 6;
  DWORD seconds = 300;
  // Where the reader and writer synchronisation objects are made. The
  // platform's default, "Global", needs administrator rights; programs that
  // run as a normal user choose the session's namespace (empty here).
  std::wstring syncNamespace = kGlobalNamespace;

  static constexpr wchar_t kGlobalNamespace[] = L"Global";
  // Whether a process without administrator rights may make its objects
  // there. The stand-in always behaves as for a normal user: Wine gives
  // every program an administrator's token, which Windows does not.
  bool NormalUserMayLock() const;
};

// Limits of the backing files, as the platform's engine keeps them.
inline constexpr DWORD kMinimumFiles = 2;
inline constexpr DWORD kMaximumFiles = 100;
inline constexpr DWORD kMinimumSeconds = 15;

// The settings last set in this process (a copy).
BufferSettings ProcessBufferSettings();
void SetProcessBufferSettings(const BufferSettings& settings);

// The values in `key` over `base`; missing values keep base's.
BufferSettings ReadBufferSettings(HKEY key, BufferSettings base);
HRESULT WriteBufferSettings(HKEY key, const BufferSettings& settings);

// The directory to use, with a trailing backslash, created when missing.
HRESULT PrepareDirectory(const BufferSettings& settings, std::wstring& directory);

// A duplicate of `key` that the caller owns (the program closes its own).
HKEY DuplicateKey(HKEY key);

}  // namespace standin
