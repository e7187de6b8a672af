#include "core/tuning/SignalPercent.h"

int SignalPercent(int tunerModel, long s) {
  switch (tunerModel) {
    case 0: {
      if (s < 0) return 0;
      const long p = s / 350;
      return static_cast<int>(p > 110 ? s / 70000 : p);
    }
    case 1:
    case 2: {
      long p = static_cast<long>(-static_cast<double>(s) / 250.0 + 80.0);
      if (p < s / 220) p = s / 220;
      return static_cast<int>(p < 0 ? 0 : p);
    }
    case 4:
    case 5: {
      const long p = (s + 10000) / 210;
      return static_cast<int>(p < 0 ? 0 : p);
    }
    default:
      return static_cast<int>(s);
  }
}
