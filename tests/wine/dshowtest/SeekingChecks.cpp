// The seeking object's bookkeeping: absolute and relative positions, the
// stop position, rate, time formats, and which change hook runs.

#include "Check.h"
#include "dshow/SourceSeeking.h"

#include <uuids.h>

namespace {

struct NoOwner : IUnknown {
  STDMETHODIMP QueryInterface(REFIID, void** object) override {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
};

class TestSeeking final : public dshow::SourceSeeking {
 public:
  explicit TestSeeking(IUnknown& owner) : SourceSeeking(owner) {}
  int starts = 0, stops = 0, rates = 0;
  REFERENCE_TIME requested = -1;
  // Stands for a streaming thread that moves the start on while a seek is
  // on its way to ChangeStart.
  REFERENCE_TIME streamedMeanwhile = -1;

 protected:
  REFERENCE_TIME Duration() override { return 1000000000; }
  HRESULT ChangeStart(REFERENCE_TIME requestedStart) override {
    if (streamedMeanwhile >= 0) SetStart(streamedMeanwhile);
    requested = requestedStart;
    return ++starts, S_OK;
  }
  HRESULT ChangeStop() override { return ++stops, S_OK; }
  HRESULT ChangeRate() override { return ++rates, S_OK; }
};

}  // namespace

void CheckSeeking() {
  NoOwner owner;
  TestSeeking seeking(owner);
  LONGLONG value = 0, stop = 0;
  CHECK_HR(S_OK, seeking.GetDuration(&value));
  CHECK_THAT(value == 1000000000);
  CHECK_HR(S_OK, seeking.GetStopPosition(&value));
  CHECK_THAT(value == 1000000000);

  LONGLONG to = 50000000;
  CHECK_HR(S_OK, seeking.SetPositions(&to, AM_SEEKING_AbsolutePositioning | AM_SEEKING_ReturnTime,
                                      nullptr, AM_SEEKING_NoPositioning));
  CHECK_THAT(seeking.starts == 1 && seeking.stops == 0 && to == 50000000);
  CHECK_THAT(seeking.requested == 50000000);
  LONGLONG step = 10000000;
  CHECK_HR(S_OK, seeking.SetPositions(&step, AM_SEEKING_RelativePositioning, nullptr,
                                      AM_SEEKING_NoPositioning));
  CHECK_HR(S_OK, seeking.GetPositions(&value, &stop));
  CHECK_THAT(value == 60000000 && stop == 1000000000 && seeking.starts == 2);

  // The start asked for reaches ChangeStart even when streaming moved the
  // kept start on in between.
  seeking.streamedMeanwhile = 70000000;
  LONGLONG back = 20000000;
  CHECK_HR(S_OK, seeking.SetPositions(&back, AM_SEEKING_AbsolutePositioning, nullptr,
                                      AM_SEEKING_NoPositioning));
  CHECK_THAT(seeking.requested == 20000000 && seeking.starts == 3);
  seeking.streamedMeanwhile = -1;
  CHECK_HR(S_OK, seeking.SetPositions(&to, AM_SEEKING_AbsolutePositioning, nullptr,
                                      AM_SEEKING_NoPositioning));
  CHECK_HR(S_OK, seeking.SetPositions(&step, AM_SEEKING_RelativePositioning, nullptr,
                                      AM_SEEKING_NoPositioning));

  LONGLONG end = 500000000;
  CHECK_HR(S_OK, seeking.SetPositions(nullptr, AM_SEEKING_NoPositioning, &end,
                                      AM_SEEKING_AbsolutePositioning));
  CHECK_THAT(seeking.starts == 5 && seeking.stops == 1);
  CHECK_HR(S_OK, seeking.GetPositions(&value, &stop));
  CHECK_THAT(value == 60000000 && stop == 500000000);
  CHECK_HR(E_POINTER, seeking.SetPositions(nullptr, AM_SEEKING_AbsolutePositioning, nullptr,
                                           AM_SEEKING_NoPositioning));

  CHECK_HR(E_INVALIDARG, seeking.SetTimeFormat(&TIME_FORMAT_FRAME));
  CHECK_HR(S_FALSE, seeking.IsFormatSupported(&TIME_FORMAT_FRAME));
  CHECK_HR(S_OK, seeking.SetTimeFormat(&TIME_FORMAT_MEDIA_TIME));
  CHECK_HR(E_INVALIDARG, seeking.SetRate(0.0));
  CHECK_HR(S_OK, seeking.SetRate(2.0));
  CHECK_THAT(seeking.rates == 1 && seeking.CurrentSegment().rate == 2.0);

  DWORD asked = AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanPlayBackwards;
  CHECK_HR(S_FALSE, seeking.CheckCapabilities(&asked));
  CHECK_THAT(asked == AM_SEEKING_CanSeekAbsolute);
}
