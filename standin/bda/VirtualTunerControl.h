#pragma once
// The private road from the network provider to the virtual tuner it is
// connected to: a tune request becomes a call here.

#include <windows.h>
#include <unknwn.h>

namespace standin {

// {6B7E0C3F-2F4A-4E59-8D1C-3A5F7B9E2D41}
inline constexpr IID IID_IVirtualTunerControl = {
    0x6B7E0C3F, 0x2F4A, 0x4E59, {0x8D, 0x1C, 0x3A, 0x5F, 0x7B, 0x9E, 0x2D, 0x41}};

// The id is also declared for __uuidof, so that ComPtr::As finds it.
struct DECLSPEC_UUID("6B7E0C3F-2F4A-4E59-8D1C-3A5F7B9E2D41") IVirtualTunerControl
    : public IUnknown {
  // Tunes to the RF channel and selects the program of major-minor (a major
  // of -1: the RF channel's first program). Reads the antenna file anew.
  virtual HRESULT STDMETHODCALLTYPE Tune(LONG physical, LONG major, LONG minor) = 0;
  // The antenna's strength of the tuned RF channel; 0 when it is not carried
  // or nothing is tuned.
  virtual HRESULT STDMETHODCALLTYPE GetSignalStrength(LONG* strength) = 0;
};

}  // namespace standin

#ifdef __CRT_UUID_DECL
__CRT_UUID_DECL(standin::IVirtualTunerControl, 0x6B7E0C3F, 0x2F4A, 0x4E59, 0x8D, 0x1C, 0x3A, 0x5F,
                0x7B, 0x9E, 0x2D, 0x41)
#endif
