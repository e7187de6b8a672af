#pragma once
// A minimal check macro for dshowtest: reports the failed expression with
// its line and counts the failures.

#include <cstdio>

namespace dshowtest {
inline int failures = 0;
}

#define CHECK_THAT(condition)                                                         \
  do {                                                                                \
    if (!(condition)) {                                                               \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      ++dshowtest::failures;                                                          \
    }                                                                                 \
  } while (0)

#define CHECK_HR(expected, expr) CHECK_THAT((expr) == (expected))

void CheckAllocator();
void CheckSample();
void CheckMediaTypes();
void CheckSeeking();
void CheckGraph();
void CheckComObjects();
