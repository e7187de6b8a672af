#pragma once
// Wine's VMR-7 has no IVMRAspectRatioControl. This object, registered under
// the VMR-7's class id in a test or demo prefix only, creates Wine's own
// VMR-7 from its original server as an aggregated inner object, hands out
// every interface of it, and adds IVMRAspectRatioControl. In letter-box mode
// it fits the picture into the destination rectangle given to
// IVMRWindowlessControl::SetVideoPosition, keeping its shape, and paints the
// bars black then and on RepaintVideo (Wine's renderer leaves them as they
// were). GetVideoPosition gives back the destination the caller set.
//
// It also takes the stream's picture size from the test decoder
// (IStandinVideoSize): Wine's renderer keeps the size it was connected with,
// so the wrapper reports the stream's size as the native size and scales the
// caller's source rectangles, given in it, onto the connected picture.

#include "dshow/ServerLock.h"
#include "win/ComObject.h"
#include "standin/shared/StandinInterfaces.h"

#include <windows.h>
#include <strmif.h>
#include <wrl/client.h>

#include <atomic>
#include <mutex>

namespace decoders {

class VmrLetterboxWrapper final
    : public ComObject<IVMRAspectRatioControl, IVMRWindowlessControl, standin::IStandinVideoSize> {
 public:
  static HRESULT CreateInstance(REFIID riid, void** object);

  // IVMRAspectRatioControl (and the same two methods of IVMRWindowlessControl)
  STDMETHODIMP GetAspectRatioMode(DWORD* mode) override;
  STDMETHODIMP SetAspectRatioMode(DWORD mode) override;

  // IVMRWindowlessControl: Wine's, with the destination letter-boxed.
  STDMETHODIMP GetNativeVideoSize(LONG* width, LONG* height, LONG* aspectX,
                                  LONG* aspectY) override;
  STDMETHODIMP GetMinIdealVideoSize(LONG* width, LONG* height) override;
  STDMETHODIMP GetMaxIdealVideoSize(LONG* width, LONG* height) override;
  STDMETHODIMP SetVideoPosition(const LPRECT source, const LPRECT destination) override;
  STDMETHODIMP GetVideoPosition(LPRECT source, LPRECT destination) override;
  STDMETHODIMP SetVideoClippingWindow(HWND window) override;
  STDMETHODIMP RepaintVideo(HWND window, HDC dc) override;
  STDMETHODIMP DisplayModeChanged() override;
  STDMETHODIMP GetCurrentImage(BYTE** dib) override;
  STDMETHODIMP SetBorderColor(COLORREF colour) override;
  STDMETHODIMP GetBorderColor(COLORREF* colour) override;
  STDMETHODIMP SetColorKey(COLORREF colour) override;
  STDMETHODIMP GetColorKey(COLORREF* colour) override;

  // IStandinVideoSize
  STDMETHODIMP SetStreamVideoSize(LONG width, LONG height, LONG aspectX, LONG aspectY) override;

 protected:
  // The wrapper is the aggregate's identity (the controlling unknown that the
  // inner renderer delegates to); what it does not answer itself is the
  // inner renderer's, through the inner object's own (non-delegating)
  // IUnknown.
  HRESULT QueryOwnInterface(REFIID riid, void** object) override;

 private:
  VmrLetterboxWrapper() noexcept = default;
  ~VmrLetterboxWrapper() override;

  HRESULT CreateInner();
  HRESULT InnerWindowless(Microsoft::WRL::ComPtr<IVMRWindowlessControl>& out);
  // Calls the renderer's own windowless control, for the methods that the
  // wrapper passes on unchanged.
  template <typename Method, typename... Args>
  HRESULT ForwardToRenderer(Method method, Args... args) {
    Microsoft::WRL::ComPtr<IVMRWindowlessControl> theirs;
    const HRESULT hr = InnerWindowless(theirs);
    if (FAILED(hr)) return hr;
    return (theirs.Get()->*method)(args...);
  }
  // Applies the mode to the last position the caller set.
  HRESULT ApplyPosition();
  // The caller's source rectangle on the renderer's connected picture.
  RECT OnConnectedPicture(IVMRWindowlessControl* theirs, const RECT& given);
  void PaintBars(HDC given, const RECT& destination, const RECT& picture);

  dshow::ServerReference serverReference;
  HMODULE innerModule = nullptr;  // never freed: see the destructor
  Microsoft::WRL::ComPtr<IUnknown> inner;  // the aggregated VMR-7

  std::mutex lock;  // the settings below
  DWORD mode = VMR_ARMODE_NONE;
  HWND clippingWindow = nullptr;
  bool positionSet = false;
  RECT source{};       // as the caller gave them
  RECT destination{};
  RECT pictureRect{};  // where the picture went, letter-boxed or not
  bool sourceGiven = false;
  LONG streamWidth = 0;  // from the decoder; 0 while it has told none
  LONG streamHeight = 0;
  LONG streamAspectX = 0;
  LONG streamAspectY = 0;
  std::atomic<DWORD> displayModeChanges{0};  // calls of DisplayModeChanged
};

}  // namespace decoders
