#include "dshow/SourceSeeking.h"

#include "win/ComObject.h"
#include "win/HResultMacros.h"

namespace dshow {

namespace {

// Applies one half of SetPositions to `value`; true when it changed.
bool ApplyPosition(LONGLONG& value, const LONGLONG* requested, DWORD flags) {
  LONGLONG next = value;
  switch (flags & AM_SEEKING_PositioningBitsMask) {
    case AM_SEEKING_AbsolutePositioning: next = *requested; break;
    case AM_SEEKING_RelativePositioning: next = value + *requested; break;
    case AM_SEEKING_IncrementalPositioning: next = value + *requested; break;
    default: return false;
  }
  const bool changed = next != value;
  value = next;
  return changed;
}

}  // namespace

SourceSeeking::SourceSeeking(IUnknown& owner) noexcept : owner(owner) {}

// The seeking object answers for itself; IUnknown and everything else are the
// owner's.
STDMETHODIMP SourceSeeking::QueryInterface(REFIID riid, void** object) {
  RETURN_HR_IF_NULL(E_POINTER, object);
  if (riid == IID_IMediaSeeking) return HandOut(static_cast<IMediaSeeking*>(this), object);
  return owner.QueryInterface(riid, object);
}

STDMETHODIMP_(ULONG) SourceSeeking::AddRef() { return owner.AddRef(); }
STDMETHODIMP_(ULONG) SourceSeeking::Release() { return owner.Release(); }

REFERENCE_TIME SourceSeeking::Duration() { return 0; }

STDMETHODIMP SourceSeeking::GetDuration(LONGLONG* duration) {
  RETURN_HR_IF_NULL(E_POINTER, duration);
  *duration = Duration();
  return S_OK;
}

STDMETHODIMP SourceSeeking::GetStopPosition(LONGLONG* out) {
  RETURN_HR_IF_NULL(E_POINTER, out);
  std::lock_guard guard(lock);
  *out = stopSet ? stop : Duration();
  return S_OK;
}

STDMETHODIMP SourceSeeking::GetCurrentPosition(LONGLONG*) { return E_NOTIMPL; }

STDMETHODIMP SourceSeeking::SetPositions(LONGLONG* current, DWORD currentFlags,
                                         LONGLONG* stopPosition, DWORD stopFlags) {
  const DWORD currentMode = currentFlags & AM_SEEKING_PositioningBitsMask;
  const DWORD stopMode = stopFlags & AM_SEEKING_PositioningBitsMask;
  RETURN_HR_IF(E_POINTER, currentMode != AM_SEEKING_NoPositioning && current == nullptr);
  RETURN_HR_IF(E_POINTER, stopMode != AM_SEEKING_NoPositioning && stopPosition == nullptr);

  bool startChanged = false;
  bool stopChanged = false;
  REFERENCE_TIME requestedStart = 0;
  {
    std::lock_guard guard(lock);
    if (currentMode != AM_SEEKING_NoPositioning) {
      // Seeking to the same place still restarts from there.
      ApplyPosition(start, current, currentFlags);
      requestedStart = start;
      startChanged = true;
    }
    if (stopMode != AM_SEEKING_NoPositioning) {
      if (!stopSet) stop = Duration();
      stopChanged = ApplyPosition(stop, stopPosition, stopFlags);
      stopSet = true;
    }
  }
  if (startChanged) {
    RETURN_IF_FAILED(ChangeStart(requestedStart));
  } else if (stopChanged) {
    RETURN_IF_FAILED(ChangeStop());
  }
  std::lock_guard guard(lock);
  if (current != nullptr && (currentFlags & AM_SEEKING_ReturnTime)) *current = start;
  if (stopPosition != nullptr && (stopFlags & AM_SEEKING_ReturnTime)) *stopPosition = stop;
  return S_OK;
}

STDMETHODIMP SourceSeeking::GetPositions(LONGLONG* current, LONGLONG* stopPosition) {
  std::lock_guard guard(lock);
  if (current != nullptr) *current = start;
  if (stopPosition != nullptr) *stopPosition = stopSet ? stop : Duration();
  return S_OK;
}

STDMETHODIMP SourceSeeking::GetAvailable(LONGLONG* earliest, LONGLONG* latest) {
  if (earliest != nullptr) *earliest = 0;
  if (latest != nullptr) *latest = Duration();
  return S_OK;
}

STDMETHODIMP SourceSeeking::SetRate(double newRate) {
  RETURN_HR_IF(E_INVALIDARG, newRate == 0.0);
  {
    std::lock_guard guard(lock);
    rate = newRate;
  }
  return ChangeRate();
}

STDMETHODIMP SourceSeeking::GetRate(double* out) {
  RETURN_HR_IF_NULL(E_POINTER, out);
  std::lock_guard guard(lock);
  *out = rate;
  return S_OK;
}

SourceSeeking::Segment SourceSeeking::CurrentSegment() {
  std::lock_guard guard(lock);
  return {start, stopSet ? stop : Duration(), rate};
}

void SourceSeeking::SetStart(REFERENCE_TIME newStart) {
  std::lock_guard guard(lock);
  start = newStart;
}

}  // namespace dshow
