#include "Commands.h"

#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "Keys.h"
#include "Screenshot.h"
#include "WindowQuery.h"
#include "tests/wine/shared/BoundedSend.h"

namespace driver {
namespace {

constexpr double kBoxCloseSeconds = 10;
// How long a message box may take to paint its icon after it appears.
constexpr double kBoxIconSeconds = 3;

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string Handle(HWND hwnd) {
  char text[32];
  snprintf(text, sizeof text, "0x%08llX",
           static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hwnd)));
  return text;
}

void Print(const std::string& line) { printf("%s\n", line.c_str()); }

long long ParseInteger(const std::string& text, const char* what) {
  char* end = nullptr;
  errno = 0;
  long long value = std::strtoll(text.c_str(), &end, 0);
  if (text.empty() || *end != '\0' || errno == ERANGE)
    Usage(std::string(what) + " must be a number: " + Quoted(text));
  return value;
}

HWND WindowOrFail(const std::string& title) {
  HWND hwnd = FindWindowByTitle(title);
  if (hwnd == nullptr) Fail("no window titled " + Quoted(title));
  return hwnd;
}

HWND ControlOrFail(const Arguments& args) {
  long long id = ParseInteger(args.At(1), "the control id");
  HWND control = FindControl(WindowOrFail(args.At(0)), static_cast<int>(id));
  if (control == nullptr) Fail("window " + Quoted(args.At(0)) + " has no control " + args.At(1));
  return control;
}

std::string TextOrFail(HWND control) {
  std::optional<std::string> text = ReadWindowText(control);
  if (!text) Fail("the window " + Handle(control) + " does not answer WM_GETTEXT");
  return *text;
}

void Post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!PostMessageA(hwnd, message, wParam, lParam))
    Fail("PostMessage to " + Handle(hwnd) + " failed, error " + std::to_string(GetLastError()));
}

HWND WaitForMessageBox(const Arguments& args) {
  HWND box = nullptr;
  if (WaitUntil(args.timeout, [&] { return (box = FindMessageBox(args.title)) != nullptr; })) return box;
  if (!args.title) Fail("no message box");
  // A box with another title is shown as well: it tells what went wrong.
  std::string others;
  for (HWND other : VisibleMessageBoxes())
    others += (others.empty() ? " (shown: " : ", ") + Quoted(WindowTitle(other)) + " " +
              Quoted(MessageBoxText(other).value_or("?"));
  Fail("no message box titled " + Quoted(*args.title) + (others.empty() ? "" : others + ")"));
}

// The button to press: the one named, else OK, else the only one.
int ChooseButton(HWND box, const std::optional<std::string>& name) {
  static constexpr struct {
    const char* name;
    int id;
  } kButtons[] = {{"ok", IDOK},         {"cancel", IDCANCEL}, {"abort", IDABORT}, {"retry", IDRETRY},
                  {"ignore", IDIGNORE}, {"yes", IDYES},       {"no", IDNO}};
  if (name) {
    for (const auto& button : kButtons)
      if (*name == button.name) return button.id;
    return static_cast<int>(ParseInteger(*name, "the button"));
  }
  std::vector<int> ids = VisibleButtonIds(box);
  for (int id : ids)
    if (id == IDOK) return IDOK;
  if (ids.size() == 1) return ids[0];
  Fail("the message box has " + std::to_string(ids.size()) + " buttons and no OK: choose one with --button");
}

void Find(const Arguments& args) { Print(Handle(WindowOrFail(args.At(0)))); }

void Wait(const Arguments& args) {
  HWND hwnd = nullptr;
  if (!WaitUntil(args.SecondsAt(1), [&] { return (hwnd = FindWindowByTitle(args.At(0))) != nullptr; }))
    Fail("no window titled " + Quoted(args.At(0)) + " appeared");
  Print(Handle(hwnd));
}

// A dialog is visible only once its WM_INITDIALOG has returned: what a test
// reads or changes before then, the set-up may still overwrite.
void WaitShown(const Arguments& args) {
  HWND hwnd = nullptr;
  if (!WaitUntil(args.SecondsAt(1), [&] {
        hwnd = FindWindowByTitle(args.At(0));
        return hwnd != nullptr && IsWindowVisible(hwnd);
      }))
    Fail("no window titled " + Quoted(args.At(0)) + " was shown");
  Print(Handle(hwnd));
}

void WaitGone(const Arguments& args) {
  if (!WaitUntil(args.SecondsAt(1), [&] { return FindWindowByTitle(args.At(0)) == nullptr; }))
    Fail("the window titled " + Quoted(args.At(0)) + " is still there");
}

void List(const Arguments&) {
  for (const TopLevelWindow& w : ListTopLevelWindows())
    printf("%s\t%d\t%lu\t%s\t%s\n", Handle(w.hwnd).c_str(), w.visible ? 1 : 0, w.processId,
           w.className.c_str(), w.title.c_str());
}

// The title of the window that has the keyboard's attention (a menu opened
// by a window in the background does not close on a click elsewhere).
void Foreground(const Arguments&) {
  HWND hwnd = GetForegroundWindow();
  if (hwnd == nullptr) Fail("no window is in the foreground");
  Print(WindowTitle(hwnd));
}

// Makes the window the foreground window, as a click on it would.
void Activate(const Arguments& args) {
  HWND hwnd = WindowOrFail(args.At(0));
  SetForegroundWindow(hwnd);  // checked below: the wait says whether it worked
  if (!WaitUntil(args.SecondsAt(1), [&] { return GetForegroundWindow() == hwnd; }))
    Fail(Quoted(args.At(0)) + " did not come to the foreground");
}

void Children(const Arguments& args) {
  for (const ChildWindow& c : ListChildWindows(WindowOrFail(args.At(0))))
    printf("%s\t%d\t%d\t%s\t%s\n", Handle(c.hwnd).c_str(), c.id, c.visible ? 1 : 0,
           c.className.c_str(), ReadWindowText(c.hwnd).value_or("").c_str());
}

void PostNumbered(const Arguments& args) {
  Post(WindowOrFail(args.At(0)), static_cast<UINT>(ParseInteger(args.At(1), "the message")),
       static_cast<WPARAM>(args.IntegerAt(2, "WPARAM")), static_cast<LPARAM>(args.IntegerAt(3, "LPARAM")));
}

void PostRegistered(const Arguments& args) {
  HWND hwnd = WindowOrFail(args.At(0));
  UINT message = RegisterWindowMessageA(args.At(1).c_str());
  if (message == 0) Fail("cannot register the message " + Quoted(args.At(1)));
  Post(hwnd, message, static_cast<WPARAM>(args.IntegerAt(2, "WPARAM")),
       static_cast<LPARAM>(args.IntegerAt(3, "LPARAM")));
}

void Key(const Arguments& args) {
  std::optional<unsigned> key = ParseVirtualKey(args.At(1));
  if (!key) Usage("unknown key " + Quoted(args.At(1)));
  HWND hwnd = WindowOrFail(args.At(0));
  // Repeat count 1 and the scan code, as the keyboard sends them; the key-up
  // also has the previous-state and transition bits.
  LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(*key, MAPVK_VK_TO_VSC)) << 16;
  Post(hwnd, WM_KEYDOWN, *key, 1 | scan);
  Post(hwnd, WM_KEYUP, *key, 1 | scan | (LPARAM{1} << 30) | (LPARAM{1} << 31));
}

// Posted, not sent: a click that opens a modal box would block a sender.
void Click(const Arguments& args) { Post(ControlOrFail(args), BM_CLICK, 0, 0); }

void Command(const Arguments& args) {
  HWND hwnd = WindowOrFail(args.At(0));
  int id = static_cast<int>(ParseInteger(args.At(1), "the command id"));
  // A control with this id is named as the sender, as a button click would.
  Post(hwnd, WM_COMMAND, MAKEWPARAM(id, 0), reinterpret_cast<LPARAM>(FindControl(hwnd, id)));
}

void Text(const Arguments& args) { Print(TextOrFail(ControlOrFail(args))); }

void SetText(const Arguments& args) {
  HWND control = ControlOrFail(args);
  std::optional<DWORD_PTR> result =
      testsend::Send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(args.At(2).c_str()));
  if (!result || !*result)
    Fail("cannot set the text of control " + args.At(1));
}

void WaitText(const Arguments& args) {
  HWND control = ControlOrFail(args);
  std::string last;
  if (!WaitUntil(args.SecondsAt(3), [&] { return (last = TextOrFail(control)) == args.At(2); }))
    Fail("control " + args.At(1) + " shows " + Quoted(last) + ", not " + Quoted(args.At(2)));
}

// The box's text, after its icon's name with --icon.
void PrintMessageBox(HWND box, const Arguments& args) {
  if (args.icon) Print(BoxIconName(MessageBoxIcon(box, kBoxIconSeconds)));
  std::optional<std::string> text = MessageBoxText(box);
  if (!text) Fail("the message box " + Handle(box) + " does not answer WM_GETTEXT");
  Print(*text);
}

void ShowMessageBox(const Arguments& args) { PrintMessageBox(WaitForMessageBox(args), args); }

void CloseMessageBox(const Arguments& args) {
  HWND box = WaitForMessageBox(args);
  int id = ChooseButton(box, args.button);
  HWND button = GetDlgItem(box, id);
  if (button == nullptr || !IsWindowVisible(button)) Fail("the message box has no button " + std::to_string(id));
  PrintMessageBox(box, args);
  // The box ends as it would on a click of that button.
  Post(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  if (!WaitUntil(kBoxCloseSeconds, [&] { return !IsWindow(box); })) Fail("the message box did not close");
}

void TakeScreenshot(const Arguments& args) {
  RECT area = DesktopRect();
  if (args.positional.size() == 2 && !GetWindowRect(WindowOrFail(args.At(1)), &area))
    Fail("cannot read the position of " + Quoted(args.At(1)));
  std::string error;
  if (!WriteScreenshot(args.At(0), area, error)) Fail(error);
}

struct CommandEntry {
  const char* name;
  size_t least, most;  // positional arguments
  void (*run)(const Arguments&);
};

constexpr CommandEntry kCommands[] = {
    {"find", 1, 1, Find},
    {"wait", 1, 2, Wait},
    {"wait-shown", 1, 2, WaitShown},
    {"wait-gone", 1, 2, WaitGone},
    {"list", 0, 0, List},
    {"children", 1, 1, Children},
    {"foreground", 0, 0, Foreground},
    {"activate", 1, 2, Activate},
    {"post", 2, 4, PostNumbered},
    {"post-registered", 2, 4, PostRegistered},
    {"key", 2, 2, Key},
    {"click", 2, 2, Click},
    {"command", 2, 2, Command},
    {"text", 2, 2, Text},
    {"set-text", 3, 3, SetText},
    {"wait-text", 3, 4, WaitText},
    {"msgbox", 0, 0, ShowMessageBox},
    {"close-msgbox", 0, 0, CloseMessageBox},
    {"screenshot", 1, 2, TakeScreenshot},
};

}  // namespace

void Fail(const std::string& message) { throw Failure{1, message}; }
void Usage(const std::string& message) { throw Failure{2, message}; }

double ParseSeconds(const std::string& text) {
  char* end = nullptr;
  double value = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || !(value >= 0 && value <= 86400))
    Usage("seconds must be a number from 0 to 86400: " + Quoted(text));
  return value;
}

long long Arguments::IntegerAt(size_t i, const char* what) const {
  return i < positional.size() ? ParseInteger(positional[i], what) : 0;
}

double Arguments::SecondsAt(size_t i) const {
  return i < positional.size() ? ParseSeconds(positional[i]) : timeout;
}

void RunCommand(const std::string& name, const Arguments& args) {
  for (const CommandEntry& command : kCommands) {
    if (name != command.name) continue;
    size_t count = args.positional.size();
    if (count < command.least || count > command.most) Usage("wrong number of arguments for " + name);
    command.run(args);
    return;
  }
  Usage("unknown command " + Quoted(name));
}

}  // namespace driver
