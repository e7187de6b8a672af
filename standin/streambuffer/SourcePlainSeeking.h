#pragma once
// The stream-buffer source's plain IMediaSeeking: the same seeking as its
// IStreamBufferMediaSeeking, under another interface pointer, answered only
// while the source allows it (a finished recording, and only until the
// application has taken IStreamBufferMediaSeeking). Calls through a pointer
// taken earlier fail with E_NOTIMPL once it no longer does. Reference
// counting goes to the filter, which owns this object.

#include <windows.h>
#include <strmif.h>

#include <functional>

#include "win/HResultMacros.h"

namespace standin {

class SourcePlainSeeking final : public IMediaSeeking {
 public:
  SourcePlainSeeking(IUnknown& owner, IMediaSeeking& seeking, std::function<bool()> allowed)
      : owner(owner), seeking(seeking), allowed(std::move(allowed)) {}

  // IUnknown: the filter's identity.
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override { return owner.QueryInterface(riid, object); }
  STDMETHODIMP_(ULONG) AddRef() override { return owner.AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return owner.Release(); }

  // IMediaSeeking
  STDMETHODIMP GetCapabilities(DWORD* c) override { return Allowed() ? seeking.GetCapabilities(c) : kRefused; }
  STDMETHODIMP CheckCapabilities(DWORD* c) override { return Allowed() ? seeking.CheckCapabilities(c) : kRefused; }
  STDMETHODIMP IsFormatSupported(const GUID* f) override { return Allowed() ? seeking.IsFormatSupported(f) : kRefused; }
  STDMETHODIMP QueryPreferredFormat(GUID* f) override {
    return Allowed() ? seeking.QueryPreferredFormat(f) : kRefused;
  }
  STDMETHODIMP GetTimeFormat(GUID* f) override { return Allowed() ? seeking.GetTimeFormat(f) : kRefused; }
  STDMETHODIMP IsUsingTimeFormat(const GUID* f) override { return Allowed() ? seeking.IsUsingTimeFormat(f) : kRefused; }
  STDMETHODIMP SetTimeFormat(const GUID* f) override { return Allowed() ? seeking.SetTimeFormat(f) : kRefused; }
  STDMETHODIMP GetDuration(LONGLONG* d) override { return Allowed() ? seeking.GetDuration(d) : kRefused; }
  STDMETHODIMP GetStopPosition(LONGLONG* s) override { return Allowed() ? seeking.GetStopPosition(s) : kRefused; }
  STDMETHODIMP GetCurrentPosition(LONGLONG* c) override {
    return Allowed() ? seeking.GetCurrentPosition(c) : kRefused;
  }
  STDMETHODIMP ConvertTimeFormat(LONGLONG* target, const GUID* targetFormat, LONGLONG source,
                                 const GUID* sourceFormat) override {
    return Allowed() ? seeking.ConvertTimeFormat(target, targetFormat, source, sourceFormat) : kRefused;
  }
  STDMETHODIMP SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop, DWORD stopFlags) override {
    return Allowed() ? seeking.SetPositions(current, currentFlags, stop, stopFlags) : kRefused;
  }
  STDMETHODIMP GetPositions(LONGLONG* current, LONGLONG* stop) override {
    return Allowed() ? seeking.GetPositions(current, stop) : kRefused;
  }
  STDMETHODIMP GetAvailable(LONGLONG* earliest, LONGLONG* latest) override {
    return Allowed() ? seeking.GetAvailable(earliest, latest) : kRefused;
  }
  STDMETHODIMP SetRate(double rate) override { return Allowed() ? seeking.SetRate(rate) : kRefused; }
  STDMETHODIMP GetRate(double* rate) override { return Allowed() ? seeking.GetRate(rate) : kRefused; }
  STDMETHODIMP GetPreroll(LONGLONG* preroll) override { return Allowed() ? seeking.GetPreroll(preroll) : kRefused; }

 private:
  static constexpr HRESULT kRefused = E_NOTIMPL;
  bool Allowed() const { return allowed(); }

  IUnknown& owner;
  IMediaSeeking& seeking;
  std::function<bool()> allowed;
};

}  // namespace standin
