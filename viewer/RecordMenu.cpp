#include "viewer/RecordMenu.h"

#include "core/time/TimeTexts.h"

std::vector<RecordChoice> RecordForChoices() {
  return {{"   1/2 HOUR", 30}, {"   1 HOUR", 60}, {"   1 1/2 HOURS", 90}, {"   2 HOURS", 120}};
}

std::vector<RecordChoice> RecordUntilChoices(int hour, int minute) {
  std::vector<RecordChoice> choices;
  for (int half = 0; half < 5; ++half) {
    const int untilHour = (hour + 1 + half / 2) % 24;
    const int untilMinute = half % 2 == 0 ? 0 : 30;
    choices.push_back({"   " + ClockText12(untilHour, untilMinute), 60 + 30 * half - minute});
  }
  return choices;
}
