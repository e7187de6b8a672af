#pragma once
// IMediaSeeking for a source pin, in media time only. It keeps duration,
// start, stop and rate; a subclass acts on changes through ChangeStart,
// ChangeStop and ChangeRate, which are called without the seeking lock.
// ChangeStart gets the start asked for: the streaming thread moves the kept
// start on as it delivers, and may do so before ChangeStart runs. The
// object lives inside its pin and shares the filter's reference count.

#include <windows.h>
#include <strmif.h>

#include <mutex>

#include "dshow/MediaTimeSeeking.h"

namespace dshow {

inline constexpr DWORD kSourceSeekingCapabilities =
    AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanSeekForwards | AM_SEEKING_CanSeekBackwards |
    AM_SEEKING_CanGetStopPos | AM_SEEKING_CanGetDuration;

class SourceSeeking : public MediaTimeSeeking<IMediaSeeking, kSourceSeekingCapabilities> {
 public:
  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IMediaSeeking (the time format is MediaTimeSeeking's)
  STDMETHODIMP GetDuration(LONGLONG* duration) override;
  STDMETHODIMP GetStopPosition(LONGLONG* stop) override;
  STDMETHODIMP GetCurrentPosition(LONGLONG* current) override;
  STDMETHODIMP SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop,
                            DWORD stopFlags) override;
  STDMETHODIMP GetPositions(LONGLONG* current, LONGLONG* stop) override;
  STDMETHODIMP GetAvailable(LONGLONG* earliest, LONGLONG* latest) override;
  STDMETHODIMP SetRate(double rate) override;
  STDMETHODIMP GetRate(double* rate) override;

  struct Segment {
    REFERENCE_TIME start;
    REFERENCE_TIME stop;
    double rate;
  };
  Segment CurrentSegment();
  void SetStart(REFERENCE_TIME start);

 protected:
  explicit SourceSeeking(IUnknown& owner) noexcept;
  virtual ~SourceSeeking() = default;

  virtual REFERENCE_TIME Duration();
  virtual HRESULT ChangeStart(REFERENCE_TIME requestedStart) = 0;
  virtual HRESULT ChangeStop() = 0;
  virtual HRESULT ChangeRate() = 0;

 private:
  IUnknown& owner;
  std::mutex lock;
  REFERENCE_TIME start = 0;
  REFERENCE_TIME stop = 0;
  double rate = 1.0;
  bool stopSet = false;
};

}  // namespace dshow
