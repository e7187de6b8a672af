// telvcommoncontrols: reads and drives common controls in another program's
// window, for the tests of windows whose choices are list-view rows, tabs
// and drop-down lists. The control is found among all the descendants of
// the top-level window titled TITLE.
//
// Usage: telvcommoncontrols rows TITLE ID          print each list-view row,
//                                                  cells separated by tabs
//        telvcommoncontrols select-row TITLE ID ROW  select a list-view row
//        telvcommoncontrols tab TITLE ID INDEX     choose a tab, as a click does
//        telvcommoncontrols current-tab TITLE ID   print the chosen tab's index
//        telvcommoncontrols combo-select TITLE ID INDEX
//                                                  select a drop-down line
//        telvcommoncontrols notify-click TITLE ID  post the click of a static
//                                                  label (SS_NOTIFY) to its owner
// Exit status: 0 done; 1 no such window, control or row; 2 bad usage.
//
// List-view messages carry pointers, so their structures and text buffers
// are placed in the other process's memory.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "tests/wine/shared/BoundedSend.h"

namespace {

constexpr std::size_t kCellLength = 260;

int Fail(const std::string& message) {
  std::fprintf(stderr, "telvcommoncontrols: %s\n", message.c_str());
  return 1;
}

int Usage() {
  std::fputs("Usage: telvcommoncontrols rows|current-tab|notify-click TITLE ID\n"
             "       telvcommoncontrols select-row|tab|combo-select TITLE ID INDEX\n", stderr);
  return 2;
}

struct Search {
  int id;
  HWND found;
};

HWND FindControl(HWND window, int id) {
  Search search{id, nullptr};
  EnumChildWindows(
      window,
      [](HWND child, LPARAM context) -> BOOL {
        auto* s = reinterpret_cast<Search*>(context);
        if (GetDlgCtrlID(child) != s->id) return TRUE;
        s->found = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

LRESULT Send(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  return static_cast<LRESULT>(testsend::Send(control, message, wParam, lParam).value_or(0));
}

// Memory in the control's process, freed at the end.
class RemoteMemory {
 public:
  RemoteMemory(HWND control, std::size_t size) : size(size) {
    DWORD processId = 0;
    GetWindowThreadProcessId(control, &processId);
    process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (process != nullptr) {
      address = static_cast<char*>(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
    }
  }
  ~RemoteMemory() {
    if (address != nullptr) VirtualFreeEx(process, address, 0, MEM_RELEASE);
    if (process != nullptr) CloseHandle(process);
  }
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;

  bool IsValid() const { return address != nullptr; }
  char* Address() const { return address; }
  bool Write(std::size_t offset, const void* data, std::size_t length) {
    return WriteProcessMemory(process, address + offset, data, length, nullptr) != FALSE;
  }
  bool Read(std::size_t offset, void* data, std::size_t length) {
    return ReadProcessMemory(process, address + offset, data, length, nullptr) != FALSE;
  }

 private:
  HANDLE process = nullptr;
  char* address = nullptr;
  std::size_t size;
};

std::string CellText(HWND list, RemoteMemory& memory, int row, int column) {
  LVITEMA item{};
  item.iSubItem = column;
  item.cchTextMax = static_cast<int>(kCellLength);
  item.pszText = memory.Address() + sizeof item;
  char text[kCellLength + 1] = {};
  if (!memory.Write(0, &item, sizeof item)) return {};
  const LRESULT length = Send(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                              reinterpret_cast<LPARAM>(memory.Address()));
  if (length <= 0 || !memory.Read(sizeof item, text, kCellLength)) return {};
  return text;
}

int PrintRows(HWND list) {
  RemoteMemory memory(list, sizeof(LVITEMA) + kCellLength + 1);
  if (!memory.IsValid()) return Fail("cannot reach the program's memory");
  const auto rows = static_cast<int>(Send(list, LVM_GETITEMCOUNT, 0, 0));
  HWND header = reinterpret_cast<HWND>(Send(list, LVM_GETHEADER, 0, 0));
  const int columns = header != nullptr ? static_cast<int>(Send(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
  for (int row = 0; row < rows; ++row) {
    std::string line;
    for (int column = 0; column < columns; ++column) {
      if (column > 0) line += '\t';
      line += CellText(list, memory, row, column);
    }
    std::printf("%s\n", line.c_str());
  }
  return 0;
}

int SelectRow(HWND list, int row) {
  if (row < 0 || row >= static_cast<int>(Send(list, LVM_GETITEMCOUNT, 0, 0))) {
    return Fail("no row " + std::to_string(row));
  }
  RemoteMemory memory(list, sizeof(LVITEMA));
  if (!memory.IsValid()) return Fail("cannot reach the program's memory");
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  if (!memory.Write(0, &item, sizeof item)) return Fail("cannot write the program's memory");
  Send(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(memory.Address()));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return Usage();
  const std::string_view command = argv[1];
  HWND window = FindWindowA(nullptr, argv[2]);
  if (window == nullptr) return Fail(std::string("no window \"") + argv[2] + "\"");
  const int id = static_cast<int>(std::strtol(argv[3], nullptr, 0));
  HWND control = FindControl(window, id);
  if (control == nullptr) return Fail(std::string("no control ") + argv[3]);
  const bool hasIndex = argc == 5;
  const int index = hasIndex ? static_cast<int>(std::strtol(argv[4], nullptr, 0)) : 0;

  if (command == "rows" && !hasIndex) return PrintRows(control);
  if (command == "select-row" && hasIndex) return SelectRow(control, index);
  if (command == "tab" && hasIndex) {
    // Moving the focus to another tab chooses it and tells the owner, as a
    // click on the tab does.
    Send(control, TCM_SETCURFOCUS, static_cast<WPARAM>(index), 0);
    const LRESULT chosen = Send(control, TCM_GETCURSEL, 0, 0);
    return chosen == index ? 0 : Fail("the tab did not change (" + std::to_string(chosen) + " is chosen)");
  }
  if (command == "current-tab" && !hasIndex) {
    std::printf("%d\n", static_cast<int>(Send(control, TCM_GETCURSEL, 0, 0)));
    return 0;
  }
  if (command == "combo-select" && hasIndex) {
    return Send(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0) == index ? 0 : Fail("no such line");
  }
  if (command == "notify-click" && !hasIndex) {
    // Posted: the click may open a modal window.
    PostMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(id, STN_CLICKED), reinterpret_cast<LPARAM>(control));
    return 0;
  }
  return Usage();
}
