#include "viewer/setup/SchedulePage.h"

#include <optional>

#include "core/files/FileNames.h"
#include "core/schedule/ScheduleFile.h"
#include "core/schedule/ScheduleRow.h"
#include "viewer/setup/ListViewRows.h"
#include "viewer/setup/SetupResource.h"

SchedulePage::SchedulePage() : Dialog(IDD_SETUP_SCHEDULE) {}

INT_PTR SchedulePage::HandleMessage(UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? OnInitDialog() : FALSE;
}

// The rows are read once, when the window opens. A missing file is an
// empty list; of a damaged one, the events that can be read are shown.
INT_PTR SchedulePage::OnInitDialog() {
  HWND list = Item(IDC_SCHEDULE_LIST);
  AddListColumns(list, {{"DATE", 100, false},
                        {"CH", 45, true},
                        {"START", 65, true},
                        {"END", 65, true},
                        {"DURATION", 80, true},
                        {"TYPE", 110, true},
                        {"FREQUENCY", 100, true},
                        {"WHEN DONE", 150, true}});
  const std::optional<ScheduleFile::Contents> contents = ScheduleFile::Read(FileNames::kSchedule);
  if (!contents) return TRUE;
  int index = 0;
  for (const ScheduleEvent& event : contents->events) {
    const ScheduleRow row = ScheduleRow::ForViewer(event);
    InsertListRow(list, index++, {row.date, row.channel, row.start, row.end, row.duration, row.type,
                                  row.frequency, row.whenDone});
  }
  return TRUE;
}
