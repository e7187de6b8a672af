// Messages that the test tools send to the windows of the programs under
// test, each with a limit of seconds that holds whatever the target does.
#pragma once

#include <windows.h>

#include <optional>

namespace testsend {

// How long a program may take to answer one message on a loaded machine.
constexpr DWORD kAnswerLimitMs = 30000;
// After this long without an answer the tool says so on stderr ("... has
// not answered ... for 5 s") and waits on.
constexpr DWORD kSlowNoticeMs = 5000;

// Sends `message` to `hwnd` and returns the answer, or nothing when the
// window refused it (gone, or answering that it failed). A window whose
// thread does not answer within kAnswerLimitMs ends this process at once
// with status 1 and a line on stderr naming the tool's command, the
// window's title and the message: under Wine, SendMessageTimeout to a
// blocked thread does not come back at its limit, so the send runs on a
// worker thread that is abandoned when the limit passes.
// Text travels as ANSI, or with Charset::Wide as UTF-16 (list boxes of
// another process hand their lines over as UTF-16 whatever the asking side).
enum class Charset { Ansi, Wide };
std::optional<DWORD_PTR> Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                              Charset charset = Charset::Ansi);

}  // namespace testsend
