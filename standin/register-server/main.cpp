// telvregister: registers or unregisters in-process COM servers (the
// stand-in servers and our filters) in a Wine prefix, as regsvr32 does: it
// loads each file and calls its DllRegisterServer or DllUnregisterServer.
// It is a program of our own, started by its path, so that registration does
// not depend on Wine finding its builtin regsvr32 and falling back to the
// shell, and every failure says what failed with the platform's error.
//
// Usage: telvregister [/u] FILE...
// Prints "registered FILE" (or "unregistered FILE") for each file done.
// Exit status: 0 all done; 1 a file failed (message on stderr); 2 bad usage.
#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string ErrorText(DWORD error) {
  char* text = nullptr;
  const DWORD length =
      FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = "error " + std::to_string(error);
  if (length > 0 && text != nullptr) {
    std::string said(text, length);
    while (!said.empty() && (said.back() == '\n' || said.back() == '\r' || said.back() == ' ')) said.pop_back();
    message += " (" + said + ")";
  }
  if (text != nullptr) LocalFree(text);
  return message;
}

// Registers or unregisters one server; returns false after saying why.
bool RunEntryPoint(const std::string& file, bool unregister) {
  HMODULE module = LoadLibraryExA(file.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (module == nullptr) {
    fprintf(stderr, "telvregister: cannot load %s: %s\n", file.c_str(), ErrorText(GetLastError()).c_str());
    return false;
  }
  const char* name = unregister ? "DllUnregisterServer" : "DllRegisterServer";
  using EntryPoint = HRESULT(STDAPICALLTYPE*)();
  auto entry = reinterpret_cast<EntryPoint>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  bool done = false;
  if (entry == nullptr) {
    fprintf(stderr, "telvregister: %s has no %s\n", file.c_str(), name);
  } else if (HRESULT hr = entry(); FAILED(hr)) {
    fprintf(stderr, "telvregister: %s of %s failed: 0x%08lX\n", name, file.c_str(), static_cast<unsigned long>(hr));
  } else {
    printf("%s %s\n", unregister ? "unregistered" : "registered", file.c_str());
    done = true;
  }
  FreeLibrary(module);
  return done;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> files;
  bool unregister = false;
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    if (word == "/u" || word == "-u") unregister = true;
    else files.push_back(word);
  }
  if (files.empty()) {
    fputs("Usage: telvregister [/u] FILE...\n", stderr);
    return 2;
  }
  // Filters register through the filter mapper, a COM object.
  if (FAILED(OleInitialize(nullptr))) {
    fputs("telvregister: cannot initialise COM\n", stderr);
    return 1;
  }
  bool allDone = true;
  for (const std::string& file : files) allDone = RunEntryPoint(file, unregister) && allDone;
  OleUninitialize();
  fflush(stdout);
  return allDone ? 0 : 1;
}
