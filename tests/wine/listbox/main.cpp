// telvlistbox: reads and selects the lines of a list box, or of a combo
// box's list, in another program's window, for the tests of programs whose
// choices are list lines. Selecting a combo box's line also tells its window
// (CBN_SELCHANGE), as a choice made with the mouse does.
//
// Usage: telvlistbox items TITLE ID        print every line, one per line
//        telvlistbox select TITLE ID TEXT  select the line that reads TEXT
//        telvlistbox selected TITLE ID     print the selected line
// Exit status: 0 done; 1 no such window, control or line; 2 bad usage.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "tests/wine/shared/BoundedSend.h"

namespace {

int Fail(const std::string& message) {
  fprintf(stderr, "telvlistbox: %s\n", message.c_str());
  return 1;
}

int Usage() {
  fputs("Usage: telvlistbox items|selected TITLE ID | select TITLE ID TEXT\n", stderr);
  return 2;
}

// The wide messages: list boxes of another process hand their lines over as
// UTF-16 whatever the asking side, so they are converted here.
std::optional<LRESULT> Ask(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  std::optional<DWORD_PTR> answer = testsend::Send(list, message, wParam, lParam, testsend::Charset::Wide);
  if (!answer) return std::nullopt;
  return static_cast<LRESULT>(*answer);
}

// The messages of a list box and their combo-box counterparts.
struct ListMessages {
  UINT getCount, getTextLength, getText, getSelection, setSelection;
  bool combo;
};
constexpr ListMessages kListBox{LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT, LB_GETCURSEL, LB_SETCURSEL, false};
constexpr ListMessages kComboBox{CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT, CB_GETCURSEL, CB_SETCURSEL, true};
ListMessages messages = kListBox;

std::optional<std::string> Line(HWND list, LRESULT index) {
  auto length = Ask(list, messages.getTextLength, static_cast<WPARAM>(index), 0);
  if (!length || *length == LB_ERR) return std::nullopt;
  std::wstring wide(static_cast<size_t>(*length) + 1, L'\0');
  auto copied = Ask(list, messages.getText, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(wide.data()));
  if (!copied || *copied == LB_ERR) return std::nullopt;
  wide.resize(static_cast<size_t>(*copied));
  if (wide.empty()) return std::string();
  const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                       nullptr, nullptr);
  if (size <= 0) return std::nullopt;
  std::string text(static_cast<size_t>(size), '\0');
  if (WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size, nullptr,
                          nullptr) != size)
    return std::nullopt;
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return Usage();
  const std::string command = argv[1];
  if (!((command == "items" || command == "selected") && argc == 4) && !(command == "select" && argc == 5))
    return Usage();
  char* end = nullptr;
  const long id = std::strtol(argv[3], &end, 0);
  if (*end != '\0') return Usage();

  HWND window = FindWindowA(nullptr, argv[2]);
  if (window == nullptr) return Fail(std::string("no window titled \"") + argv[2] + "\"");
  HWND list = GetDlgItem(window, static_cast<int>(id));
  if (list == nullptr) return Fail("no control " + std::to_string(id));

  char className[32] = "";
  GetClassNameA(list, className, sizeof className);
  if (lstrcmpiA(className, "ComboBox") == 0) messages = kComboBox;
  auto count = Ask(list, messages.getCount, 0, 0);
  if (!count || *count == LB_ERR) return Fail("the control does not answer as a list box");
  if (command == "selected") {
    auto index = Ask(list, messages.getSelection, 0, 0);
    if (!index || *index == LB_ERR) return Fail("no line is selected");
    auto line = Line(list, *index);
    if (!line) return Fail("cannot read the selected line");
    printf("%s\n", line->c_str());
    return 0;
  }
  for (LRESULT i = 0; i < *count; ++i) {
    auto line = Line(list, i);
    if (!line) return Fail("cannot read line " + std::to_string(i));
    if (command == "items") {
      printf("%s\n", line->c_str());
    } else if (*line == argv[4]) {
      auto selected = Ask(list, messages.setSelection, static_cast<WPARAM>(i), 0);
      if (!selected || *selected == LB_ERR) return Fail("cannot select the line");
      if (messages.combo) {
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
      }
      return 0;
    }
  }
  if (command == "select") return Fail(std::string("no line \"") + argv[4] + "\"");
  return 0;
}
