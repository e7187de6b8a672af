// telvstandinprogram: stands in for a program that another program starts
// (a silent recorder, a player, the shutdown command) in the tests: copied
// under that program's name, it appends "NAME ARGUMENTS" to started.txt in
// its working folder and ends.
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string name(path);
  name = name.substr(name.find_last_of("\\/") + 1);
  if (FILE* log = std::fopen("started.txt", "a")) {
    std::fprintf(log, "%s %s\n", name.c_str(), arguments);
    std::fclose(log);
  }
  return 0;
}
