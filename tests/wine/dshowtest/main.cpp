// dshowtest: runs the checks of our DirectShow filter library and prints
// "dshowtest: N failures"; exit status 0 only when there were none.

#include "Check.h"
#include "win/ComScope.h"

int main() {
  ComScope com(COINIT_MULTITHREADED);
  if (!com.Succeeded()) return 2;
  CheckAllocator();
  CheckSample();
  CheckMediaTypes();
  CheckSeeking();
  CheckGraph();
  CheckComObjects();
  std::printf("dshowtest: %d failures\n", dshowtest::failures);
  return dshowtest::failures == 0 ? 0 : 1;
}
