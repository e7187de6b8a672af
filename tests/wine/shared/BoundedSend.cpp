#include "BoundedSend.h"

#include <cstdio>
#include <string>

namespace testsend {
namespace {

// What the worker thread needs and what it reports. It lives on the heap:
// a worker that is abandoned may still write to it while the process ends.
struct PendingSend {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  Charset charset;
  LRESULT sent = 0;
  DWORD error = 0;
  DWORD_PTR answer = 0;
};

DWORD WINAPI SendOnWorker(void* context) {
  auto* send = static_cast<PendingSend*>(context);
  auto sendMessage = send->charset == Charset::Wide ? SendMessageTimeoutW : SendMessageTimeoutA;
  send->sent = sendMessage(send->hwnd, send->message, send->wParam, send->lParam, SMTO_ABORTIFHUNG,
                           kAnswerLimitMs, &send->answer);
  if (!send->sent) send->error = GetLastError();
  return 0;
}

const char* MessageName(UINT message) {
  switch (message) {
    case WM_SETTEXT: return "WM_SETTEXT";
    case WM_GETTEXT: return "WM_GETTEXT";
    case WM_GETTEXTLENGTH: return "WM_GETTEXTLENGTH";
    case STM_GETICON: return "STM_GETICON";
    default: return nullptr;
  }
}

// The window's title, or for a control its id and its top-level window's
// title. GetWindowText reads another process's caption without a message.
std::string Describe(HWND hwnd) {
  char title[512] = "";
  HWND top = GetAncestor(hwnd, GA_ROOT);
  GetWindowTextA(top != nullptr ? top : hwnd, title, sizeof title);
  std::string what = "the window \"" + std::string(title) + "\"";
  if (top != nullptr && top != hwnd) what = "control " + std::to_string(GetDlgCtrlID(hwnd)) + " of " + what;
  return what;
}

// The tool's name, from its file name without the folder and ".exe".
std::string ToolName() {
  char path[MAX_PATH] = "";
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string name(path, length < sizeof path ? length : 0);
  name = name.substr(name.find_last_of("\\/") + 1);
  if (name.size() > 4 && name.compare(name.size() - 4, 4, ".exe") == 0) name.resize(name.size() - 4);
  return name.empty() ? "test tool" : name;
}

// "WM_GETTEXT (0x000D)", or "message (0x8001)" for one without a name here.
std::string MessageText(UINT message) {
  char number[16];
  snprintf(number, sizeof number, "0x%04X", message);
  const char* name = MessageName(message);
  return std::string(name != nullptr ? name : "message") + " (" + number + ")";
}

[[noreturn]] void GiveUp(HWND hwnd, UINT message) {
  fflush(stdout);
  fprintf(stderr, "%s: %s did not answer %s within %lu s; command: %s\n", ToolName().c_str(),
          Describe(hwnd).c_str(), MessageText(message).c_str(), kAnswerLimitMs / 1000, GetCommandLineA());
  fflush(stderr);
  // The worker is still inside the send: end the whole process now.
  TerminateProcess(GetCurrentProcess(), 1);
  ExitProcess(1);
}

}  // namespace

std::optional<DWORD_PTR> Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, Charset charset) {
  auto* send = new PendingSend{hwnd, message, wParam, lParam, charset};
  HANDLE worker = CreateThread(nullptr, 0, SendOnWorker, send, 0, nullptr);
  if (worker == nullptr) {
    // No thread to spare: send here, with the platform's own limit.
    SendOnWorker(send);
  } else {
    // A slow answer is announced while the send still waits, so that the
    // test harness can look at the program while it is stuck. The whole
    // wait is a little longer than the send's own limit, so that on
    // Windows the send's own time-out is what reports a hung program.
    DWORD waited = WaitForSingleObject(worker, kSlowNoticeMs);
    if (waited == WAIT_TIMEOUT) {
      fprintf(stderr, "%s: %s has not answered %s for %lu s\n", ToolName().c_str(), Describe(hwnd).c_str(),
              MessageText(message).c_str(), kSlowNoticeMs / 1000);
      fflush(stderr);
      waited = WaitForSingleObject(worker, kAnswerLimitMs + 2000 - kSlowNoticeMs);
    }
    CloseHandle(worker);
    if (waited != WAIT_OBJECT_0) GiveUp(hwnd, message);
  }
  if (!send->sent && send->error == ERROR_TIMEOUT) GiveUp(hwnd, message);
  std::optional<DWORD_PTR> answer;
  if (send->sent) answer = send->answer;
  delete send;
  return answer;
}

}  // namespace testsend
