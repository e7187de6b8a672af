#include "core/tuning/SignalPercent.h"

int SignalPercent(SignalScale scale, long s) {
  switch (scale) {
    case SignalScale::AtiDtvWonder: {
      if (s < 0) return 0;
      const long p = s / 350;
      return static_cast<int>(p > 110 ? s / 70000 : p);
    }
    case SignalScale::FusionHdtv: {
      long p = static_cast<long>(-static_cast<double>(s) / 250.0 + 80.0);
      if (p < s / 220) p = s / 220;
      return static_cast<int>(p < 0 ? 0 : p);
    }
    case SignalScale::VBox: {
      const long p = (s + 10000) / 210;
      return static_cast<int>(p < 0 ? 0 : p);
    }
    case SignalScale::PerCent: break;
  }
  return static_cast<int>(s);
}

SignalScale SignalScaleOf(const TuningModel* model) {
  return model != nullptr ? model->signalScale : SignalScale::PerCent;
}

int SignalPercent(const std::optional<TuningModel>& model, long rawStrength) {
  return SignalPercent(SignalScaleOf(model ? &*model : nullptr), rawStrength);
}
