// telvtscheck FILE: checks a transport-stream recording and prints one line
// of figures:
//   packets=N sync=N continuity=N pcrgaps=N trailing=N seconds=S rate=R
// Exit status 0 when the file is whole (no sync, continuity or clock fault,
// nothing after the last packet), 1 when it is not, 2 when it cannot be read.
#include <cstdio>

#include "recorder/RecordingCheck.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: telvtscheck FILE\n");
    return 2;
  }
  const auto result = RecordingCheck::CheckFile(argv[1]);
  if (!result) {
    std::fprintf(stderr, "telvtscheck: cannot read %s\n", argv[1]);
    return 2;
  }
  std::printf("packets=%llu sync=%llu continuity=%llu pcrgaps=%llu trailing=%zu seconds=%.3f "
              "rate=%.0f\n",
              static_cast<unsigned long long>(result->packets),
              static_cast<unsigned long long>(result->syncErrors),
              static_cast<unsigned long long>(result->continuityErrors),
              static_cast<unsigned long long>(result->pcrGaps), result->trailingBytes,
              result->pcrSeconds, result->bitsPerSecond);
  const bool whole = result->packets > 0 && result->syncErrors == 0 &&
                     result->continuityErrors == 0 && result->pcrGaps == 0 &&
                     result->trailingBytes == 0;
  return whole ? 0 : 1;
}
