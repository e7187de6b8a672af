#pragma once
// The counting sink's input pin: takes any media type and notes what it
// receives (see CountingSink).

#include "dshow/InputPin.h"

#include <mutex>
#include <string>

struct SinkReport {
  long samples = 0;
  long long bytes = 0;
  long withoutPts = 0;
  long discontinuities = 0;
  long syncPoints = 0;
  long ac3Frames = 0;  // samples that begin with the AC-3 sync word
  bool ptsRising = true;
  bool timeRising = true;
  long long firstPts = -1;
  long long lastPts = -1;
  long long firstTime = -1;
  long long lastTime = -1;
  std::string frameSize;  // from the first sequence header seen, "WxH"
  std::string frameSizes;  // every distinct size seen, in order
  long endsOfStream = 0;
};

class CountingSinkPin final : public dshow::InputPin {
 public:
  explicit CountingSinkPin(dshow::BaseFilter& filter) noexcept;

  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;

  SinkReport Report();
  void Clear();

 protected:
  HRESULT OnReceive(IMediaSample* sample) override;
  // Counted, and reported to the graph as a renderer does (EC_COMPLETE).
  HRESULT OnEndOfStream() override;

 private:
  std::mutex lock;
  SinkReport report;
};
