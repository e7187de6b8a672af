#pragma once
// The part of IMediaSeeking that does not depend on where playback is: the
// capabilities and the time format, which is media time (100 ns units) only.
// A seeking object derives from MediaTimeSeeking<its interface, its
// capabilities> and answers for duration, positions and rate itself.

#include <windows.h>
#include <strmif.h>

#include "win/HResultMacros.h"

namespace dshow {

bool IsMediaTimeFormat(const GUID& format) noexcept;
const GUID& MediaTimeFormat() noexcept;

template <typename Interface, DWORD kCapabilities>
class MediaTimeSeeking : public Interface {
 public:
  // IMediaSeeking
  STDMETHODIMP GetCapabilities(DWORD* capabilities) override {
    RETURN_HR_IF_NULL(E_POINTER, capabilities);
    *capabilities = kCapabilities;
    return S_OK;
  }

  // Keeps the capabilities asked for that are offered: S_OK for all of them,
  // S_FALSE for some, E_FAIL for none.
  STDMETHODIMP CheckCapabilities(DWORD* capabilities) override {
    RETURN_HR_IF_NULL(E_POINTER, capabilities);
    const DWORD asked = *capabilities;
    *capabilities &= kCapabilities;
    if (*capabilities == asked) return S_OK;
    return *capabilities != 0 ? S_FALSE : E_FAIL;
  }

  STDMETHODIMP IsFormatSupported(const GUID* format) override {
    RETURN_HR_IF_NULL(E_POINTER, format);
    return IsMediaTimeFormat(*format) ? S_OK : S_FALSE;
  }

  STDMETHODIMP QueryPreferredFormat(GUID* format) override {
    RETURN_HR_IF_NULL(E_POINTER, format);
    *format = MediaTimeFormat();
    return S_OK;
  }

  STDMETHODIMP GetTimeFormat(GUID* format) override { return QueryPreferredFormat(format); }

  STDMETHODIMP IsUsingTimeFormat(const GUID* format) override { return IsFormatSupported(format); }

  STDMETHODIMP SetTimeFormat(const GUID* format) override {
    RETURN_HR_IF_NULL(E_POINTER, format);
    return IsMediaTimeFormat(*format) ? S_OK : E_INVALIDARG;
  }

  // A null format stands for media time.
  STDMETHODIMP ConvertTimeFormat(LONGLONG* target, const GUID* targetFormat, LONGLONG source,
                                 const GUID* sourceFormat) override {
    RETURN_HR_IF_NULL(E_POINTER, target);
    const bool targetOk = targetFormat == nullptr || IsMediaTimeFormat(*targetFormat);
    const bool sourceOk = sourceFormat == nullptr || IsMediaTimeFormat(*sourceFormat);
    RETURN_HR_IF(E_INVALIDARG, !targetOk || !sourceOk);
    *target = source;
    return S_OK;
  }

  STDMETHODIMP GetPreroll(LONGLONG* preroll) override {
    RETURN_HR_IF_NULL(E_POINTER, preroll);
    *preroll = 0;
    return S_OK;
  }

 protected:
  MediaTimeSeeking() = default;
  ~MediaTimeSeeking() = default;
};

}  // namespace dshow
