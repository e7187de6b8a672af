#include "viewer/setup/FolderPage.h"

#include <optional>

#include "core/files/RecordingFolder.h"
#include "win/FolderBrowser.h"
#include "win/RegistryFolder.h"
#include "viewer/setup/SetupResource.h"

namespace {

// The folder of the program file, with its final backslash.
std::string ProgramFolder() {
  char path[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string file(path, length < MAX_PATH ? length : MAX_PATH);
  const std::size_t slash = file.find_last_of('\\');
  return slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
}

}  // namespace

FolderPage::FolderPage(const ViewerSession& session)
    : Dialog(IDD_SETUP_FOLDERS),
      session(session),
      timeshift{"", "Timeshift", "Select Timeshift Folder", IDC_TIMESHIFT_FOLDER},
      record{"", "Record", "Select Record Folder", IDC_RECORD_FOLDER} {}

INT_PTR FolderPage::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_TIMESHIFT_SELECT) Select(timeshift);
      else if (LOWORD(wParam) == IDC_RECORD_SELECT) Select(record);
      else return FALSE;
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR FolderPage::OnInitDialog() {
  timeshift.key = session.TimeshiftRegistryKey();
  record.key = session.RecordRegistryKey();
  Show(timeshift);
  Show(record);
  return TRUE;
}

// The folder kept in the registry; with none kept, the program's folder,
// which is then kept under both roots.
void FolderPage::Show(const FolderBox& box) {
  if (box.key.empty()) return;  // no tuner model: no key to read
  std::optional<std::string> folder = ReadFolderValue(box.key, box.valueName);
  if (!folder) {
    // When neither root takes it, the folder is shown all the same and the
    // next opening tries again.
    WriteFolderValue(box.key, box.valueName, ProgramFolder());
    folder = ReadFolderValue(box.key, box.valueName).value_or(ProgramFolder());
  }
  SetItemText(box.label, *folder);
}

// A folder is taken only when it exists and a file can be written there,
// so that a recording does not fail on it later.
void FolderPage::Select(const FolderBox& box) {
  if (box.key.empty()) return;
  const std::optional<std::string> folder = BrowseForRecordingFolder(hwnd, box.browseTitle);
  if (!folder) return;
  if (const std::optional<std::string> problem = RecordingFolderProblem(*folder)) {
    MessageBoxA(nullptr, problem->c_str(), "", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  const FolderWritten written = WriteFolderValue(box.key, box.valueName, *folder);
  // The box shows the folder the programs will use: they read HKLM first, so
  // a folder that only HKCU took is not used while HKLM holds an older one.
  const std::optional<std::string> inUse = ReadFolderValue(box.key, box.valueName);
  if (inUse) SetItemText(box.label, *inUse);
  if (written.machine) return;
  std::string text = written.user ? "THE FOLDER WAS SAVED FOR THIS USER ONLY: THE SYSTEM'S\n"
                                    "SETTINGS (HKEY_LOCAL_MACHINE) REFUSED IT."
                                  : "THE FOLDER COULD NOT BE SAVED: THE REGISTRY REFUSED IT.";
  text += inUse ? "\nTHE PROGRAMS WILL USE:\n" + *inUse : "\nNO FOLDER IS SET.";
  MessageBoxA(nullptr, text.c_str(), "", MB_OK | MB_ICONEXCLAMATION);
}
