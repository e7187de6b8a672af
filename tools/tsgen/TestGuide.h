#pragma once

#include <string>
#include <vector>

// The programme guide a generated stream broadcasts, as the guide file gives
// it: per virtual channel, programmes placed in whole minutes from the
// stream's start time rounded down to the minute.

struct TestGuideProgramme {
  int startMinute = 0;     // minutes after the stream's start minute
  int lengthMinutes = 1;
  std::string title;        // UTF-8
  std::string description;  // UTF-8, empty for none
  int line = 0;             // the guide file's line that gave it

  friend bool operator==(const TestGuideProgramme&, const TestGuideProgramme&) = default;
};

struct TestGuideChannel {
  int major = 1;
  int minor = 0;
  std::vector<TestGuideProgramme> programmes;  // in start order, none overlapping

  friend bool operator==(const TestGuideChannel&, const TestGuideChannel&) = default;
};

struct TestGuide {
  std::vector<TestGuideChannel> channels;

  friend bool operator==(const TestGuide&, const TestGuide&) = default;
};
