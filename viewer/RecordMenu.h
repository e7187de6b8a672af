#pragma once
// The choices of the record state label's popup: recordings of a fixed
// length and recordings until one of the next five full or half hours.

#include <string>
#include <vector>

struct RecordChoice {
  std::string text;  // the menu item
  int minutes = 0;   // how long to record from now
};

// "   1/2 HOUR" to "   2 HOURS": 30, 60, 90 and 120 minutes.
std::vector<RecordChoice> RecordForChoices();

// At `hour`:`minute` (24-hour clock): the next full hour and the four half
// hours after it, "   11:00 AM", "   11:30 AM", ..., each recording until
// then.
std::vector<RecordChoice> RecordUntilChoices(int hour, int minute);
