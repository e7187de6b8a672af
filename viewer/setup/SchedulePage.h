#pragma once
// The "Schedule" tab: the events of schedule.txt, as the scheduler will run
// them. A view only: the viewer never writes the file.

#include "win/Dialog.h"

class SchedulePage : public Dialog<SchedulePage> {
 public:
  SchedulePage();
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  INT_PTR OnInitDialog();
};
