// telvlaunch STATUS-FILE PROGRAM [ARGUMENTS...]
//
// Starts PROGRAM, writes its process id to STATUS-FILE.started once it runs,
// waits for it to end and writes its exit code, in decimal, to STATUS-FILE
// before ending with the same code. The first file tells the harness that
// Wine did start the launcher and its program: on a loaded machine a Wine
// process has been seen to end at its start with status 1 and no word, and
// such a start is tried again. The test harness starts
// every program through it because the Unix exit status of a Wine process is
// not always its exit code: when a process has ended its threads but its Unix
// side is slow to go (a loaded machine), the Wine server kills it and the
// shell sees 137 whatever the program returned. The file keeps the code.
//
// The program runs in a job that ends with this launcher, so that a test
// that kills the launcher (to stop a program, or to cut it off as a crash
// would) kills the program too. It writes to the launcher's own standard
// handles (the test's output file), with no console of its own: a console
// program started with a new console would print where nobody reads.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {

// One argument quoted so that the program's command-line parser gives it
// back unchanged.
std::wstring Quoted(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) return argument;
  std::wstring out = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes before a quote are doubled, and the quote escaped.
    out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, L'\\');
  out += L'"';
  return out;
}

// A copy of one of this process's standard handles that a child inherits.
HANDLE InheritableStd(DWORD which) {
  const HANDLE handle = GetStdHandle(which);
  HANDLE copy = nullptr;
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE ||
      !DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy, 0, TRUE,
                       DUPLICATE_SAME_ACCESS)) {
    return nullptr;
  }
  return copy;
}

// Writes NUMBER and a line end to the file PATH, replacing it.
bool WriteNumber(const std::wstring& path, unsigned long number) {
  FILE* file = _wfopen(path.c_str(), L"w");
  if (file == nullptr) return false;
  const bool written = std::fprintf(file, "%lu\n", number) > 0;
  return std::fclose(file) == 0 && written;
}

int Fail(const char* what) {
  std::fprintf(stderr, "telvlaunch: %s failed (error %lu)\n", what, GetLastError());
  return 125;
}

}  // namespace

int main() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc < 3) {
    std::fprintf(stderr, "usage: telvlaunch STATUS-FILE PROGRAM [ARGUMENTS...]\n");
    return 125;
  }
  const std::wstring statusFile = argv[1];
  std::wstring commandLine;
  for (int i = 2; i < argc; ++i) {
    if (i > 2) commandLine += L' ';
    commandLine += Quoted(argv[i]);
  }
  LocalFree(argv);

  HANDLE job = CreateJobObjectW(nullptr, nullptr);
  if (job == nullptr) return Fail("CreateJobObject");
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (!SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
    return Fail("SetInformationJobObject");
  }

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = InheritableStd(STD_INPUT_HANDLE);
  startup.hStdOutput = InheritableStd(STD_OUTPUT_HANDLE);
  startup.hStdError = InheritableStd(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                      CREATE_SUSPENDED | DETACHED_PROCESS, nullptr, nullptr, &startup, &process)) {
    return Fail("CreateProcess");
  }
  if (!AssignProcessToJobObject(job, process.hProcess)) {
    TerminateProcess(process.hProcess, 125);
    return Fail("AssignProcessToJobObject");
  }
  ResumeThread(process.hThread);
  CloseHandle(process.hThread);
  if (!WriteNumber(statusFile + L".started", process.dwProcessId)) {
    std::fprintf(stderr, "telvlaunch: cannot write the start file (error %lu)\n", GetLastError());
  }

  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  if (!GetExitCodeProcess(process.hProcess, &code)) return Fail("GetExitCodeProcess");
  CloseHandle(process.hProcess);

  if (!WriteNumber(statusFile, code)) return Fail("writing the status file");
  return static_cast<int>(code);
}
