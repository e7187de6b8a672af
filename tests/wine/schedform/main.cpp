// telvschedform: fills and reads the common controls of another program's
// dialog (the scheduler's form and event list), whose messages carry
// pointers: the structures are placed in the target process's memory.
//
// Usage: telvschedform combo TITLE ID INDEX         select entry INDEX, notify the dialog
//        telvschedform date TITLE ID YYYY MM DD     set a date picker's date
//        telvschedform time TITLE ID HH MM          set a time picker's time
//        telvschedform rows TITLE ID                print each list row, columns joined by |
//        telvschedform select-row TITLE ID ROW      select and focus a list row
//        telvschedform focus TITLE ID               give the control the keyboard focus, as
//                                                   the Tab key would (WM_NEXTDLGCTL, posted)
//        telvschedform tray-menu TITLE              right-click the tray icon (its callback,
//                                                   WM_APP + 10), print each item of the menu
//                                                   that opens as "TEXT|enabled" or "TEXT|grayed"
//                                                   and leave it open (status 3: open, but
//                                                   its items not readable from here)
//        telvschedform menu-rect TITLE              print the screen rectangle of the window's open
//                                                   popup menu: "LEFT TOP RIGHT BOTTOM"
//        telvschedform close-menu TITLE             end the open menu (WM_CANCELMODE)
// Exit status: 0 done; 1 no such window or control, or a failed call; 2 bad usage.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tests/wine/shared/BoundedSend.h"

namespace {

// Sends a message to the program under test within the test tools' limit;
// 0 when the window refused it.
LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return static_cast<LRESULT>(testsend::Send(window, message, wParam, lParam).value_or(0));
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "telvschedform: %s\n", message.c_str());
  return 1;
}

// A block of memory in the process that owns a window.
class RemoteBlock {
 public:
  RemoteBlock(HWND window, SIZE_T size) : size(size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process != nullptr)
      address = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  ~RemoteBlock() {
    if (address != nullptr) VirtualFreeEx(process, address, 0, MEM_RELEASE);
    if (process != nullptr) CloseHandle(process);
  }
  bool Ok() const { return address != nullptr; }
  char* At(SIZE_T offset = 0) const { return static_cast<char*>(address) + offset; }
  bool Write(const void* data, SIZE_T bytes, SIZE_T offset = 0) const {
    return WriteProcessMemory(process, At(offset), data, bytes, nullptr) != FALSE;
  }
  bool Read(void* data, SIZE_T bytes, SIZE_T offset = 0) const {
    return ReadProcessMemory(process, At(offset), data, bytes, nullptr) != FALSE;
  }

 private:
  HANDLE process = nullptr;
  void* address = nullptr;
  SIZE_T size;
};

int SetPicker(HWND dialog, HWND control, int argc, char** argv, bool date) {
  RemoteBlock block(control, sizeof(SYSTEMTIME));
  if (!block.Ok()) return Fail("no memory in the target");
  SYSTEMTIME time{};
  Ask(control, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(block.At()));
  block.Read(&time, sizeof time);
  if (date) {
    if (argc < 7) return 2;
    time.wYear = static_cast<WORD>(std::atoi(argv[4]));
    time.wMonth = static_cast<WORD>(std::atoi(argv[5]));
    time.wDay = static_cast<WORD>(std::atoi(argv[6]));
  } else {
    if (argc < 6) return 2;
    time.wHour = static_cast<WORD>(std::atoi(argv[4]));
    time.wMinute = static_cast<WORD>(std::atoi(argv[5]));
    time.wSecond = 0;
  }
  block.Write(&time, sizeof time);
  if (!Ask(control, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(block.At())))
    return Fail("the picker refused the value");
  (void)dialog;
  return 0;
}

int Rows(HWND list) {
  const int count = static_cast<int>(Ask(list, LVM_GETITEMCOUNT, 0, 0));
  HWND header = reinterpret_cast<HWND>(Ask(list, LVM_GETHEADER, 0, 0));
  const int columns = header ? static_cast<int>(Ask(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
  constexpr SIZE_T kText = 512;
  RemoteBlock block(list, sizeof(LVITEMA) + kText);
  if (!block.Ok()) return Fail("no memory in the target");
  for (int row = 0; row < count; ++row) {
    std::string line;
    for (int column = 0; column < columns; ++column) {
      LVITEMA item{};
      item.iSubItem = column;
      item.pszText = block.At(sizeof(LVITEMA));
      item.cchTextMax = kText;
      block.Write(&item, sizeof item);
      Ask(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(block.At()));
      char text[kText] = {};
      block.Read(text, kText - 1, sizeof(LVITEMA));
      if (column > 0) line += '|';
      line += text;
    }
    std::printf("%s\n", line.c_str());
  }
  return 0;
}

int SelectRow(HWND list, int row) {
  RemoteBlock block(list, sizeof(LVITEMA));
  if (!block.Ok()) return Fail("no memory in the target");
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  block.Write(&item, sizeof item);
  if (!Ask(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(block.At())))
    return Fail("no row " + std::to_string(row));
  return 0;
}

// The popup menu window ("#32768") shown by the thread of `owner`.
HWND FindPopupMenu(HWND owner) {
  const DWORD thread = GetWindowThreadProcessId(owner, nullptr);
  HWND found = nullptr;
  for (HWND menu = FindWindowExA(nullptr, nullptr, "#32768", nullptr); menu != nullptr;
       menu = FindWindowExA(nullptr, menu, "#32768", nullptr)) {
    if (IsWindowVisible(menu) && GetWindowThreadProcessId(menu, nullptr) == thread) found = menu;
  }
  return found;
}

int TrayMenu(HWND dialog) {
  PostMessageA(dialog, WM_APP + 10, 1, WM_RBUTTONUP);
  HWND menuWindow = nullptr;
  for (int tries = 0; tries < 600 && menuWindow == nullptr; ++tries) {
    Sleep(50);
    menuWindow = FindPopupMenu(dialog);
  }
  if (menuWindow == nullptr) return Fail("no menu opened");
  HMENU menu = reinterpret_cast<HMENU>(Ask(menuWindow, MN_GETHMENU, 0, 0));
  const int count = menu != nullptr ? GetMenuItemCount(menu) : -1;
  // Wine keeps a menu's items in the process that made it: another process
  // gets no count. The menu is open all the same (status 3).
  if (count < 0) {
    std::fputs("telvschedform: the menu is open; its items cannot be read from here\n", stderr);
    return 3;
  }
  for (int i = 0; i < count; ++i) {
    const UINT state = GetMenuState(menu, i, MF_BYPOSITION);
    if (state & MF_SEPARATOR) continue;
    char text[128] = {};
    GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
    std::printf("%s|%s\n", text, (state & (MF_GRAYED | MF_DISABLED)) ? "grayed" : "enabled");
  }
  return 0;
}

// Where the open menu lies on the screen, so that a test can read the
// states of its items from a screenshot when it cannot read the menu.
int MenuRect(HWND dialog) {
  HWND menuWindow = FindPopupMenu(dialog);
  RECT rect{};
  if (menuWindow == nullptr || !GetWindowRect(menuWindow, &rect)) return Fail("no open menu");
  std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fputs("Usage: telvschedform combo|date|time|rows|select-row|focus|tray-menu|menu-rect|close-menu TITLE [ID] [VALUES]\n", stderr);
    return 2;
  }
  const std::string_view command = argv[1];
  HWND dialog = FindWindowA(nullptr, argv[2]);
  if (dialog == nullptr) return Fail(std::string("no window \"") + argv[2] + "\"");
  if (command == "tray-menu") return TrayMenu(dialog);
  if (command == "menu-rect") return MenuRect(dialog);
  if (command == "close-menu") {
    PostMessageA(dialog, WM_CANCELMODE, 0, 0);
    return 0;
  }
  if (argc < 4) return 2;
  const int id = static_cast<int>(std::strtol(argv[3], nullptr, 0));
  HWND control = GetDlgItem(dialog, id);
  if (control == nullptr) return Fail("no control " + std::to_string(id));
  if (command == "combo" && argc >= 5) {
    const int index = std::atoi(argv[4]);
    if (Ask(control, CB_SETCURSEL, index, 0) != index) return Fail("no entry " + std::to_string(index));
    Ask(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(control));
    return 0;
  }
  if (command == "date") return SetPicker(dialog, control, argc, argv, true);
  if (command == "time") return SetPicker(dialog, control, argc, argv, false);
  if (command == "rows") return Rows(control);
  if (command == "select-row" && argc >= 5) return SelectRow(control, std::atoi(argv[4]));
  if (command == "focus") {
    if (!PostMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE))
      return Fail("cannot post to the window");
    return 0;
  }
  return 2;
}
