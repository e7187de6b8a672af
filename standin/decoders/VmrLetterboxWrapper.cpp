#include "standin/decoders/VmrLetterboxWrapper.h"

#include "win/ComObject.h"
#include "win/HResultMacros.h"
#include "win/InterfaceIds.h"
#include "standin/decoders/FrameCounters.h"
#include "standin/decoders/LetterBox.h"
#include "standin/shared/StandinSettings.h"
#include "standin/decoders/VmrRegistration.h"

#include <uuids.h>

namespace decoders {

using Microsoft::WRL::ComPtr;

namespace {

// Steps a test can make fail through the stand-in settings ("Fail").
constexpr char kFailCreate[] = "VideoMixingRenderer.Create";
constexpr char kFailQuery[] = "AspectRatio.QueryInterface";
constexpr char kFailSetMode[] = "AspectRatio.SetAspectRatioMode";
constexpr char kFailDisplayModeChanged[] = "VideoMixingRenderer.DisplayModeChanged";

using GetClassObjectFunction = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);

BoxRect ToBox(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
RECT ToRect(const BoxRect& b) { return {b.left, b.top, b.right, b.bottom}; }

}  // namespace

// The inner object may call back into our IUnknown while it goes; the count
// stands at one meanwhile (see ComObject::Release), so it cannot reach zero a
// second time. The renderer's server stays loaded: what it started (its
// window class, its threads) may outlive the object, as when COM loads it
// itself.
VmrLetterboxWrapper::~VmrLetterboxWrapper() { inner.Reset(); }

HRESULT VmrLetterboxWrapper::CreateInstance(REFIID riid, void** object) try {
  RETURN_HR_IF_NULL(E_POINTER, object);
  *object = nullptr;
  RETURN_HR_IF(E_FAIL, standin::ShouldFail(kFailCreate));
  ComPtr<VmrLetterboxWrapper> wrapper;
  wrapper = AdoptNew(new VmrLetterboxWrapper());
  RETURN_IF_FAILED(wrapper->CreateInner());
  return wrapper->QueryInterface(riid, object);
}
CATCH_RETURN()

HRESULT VmrLetterboxWrapper::CreateInner() {
  const std::wstring server = OriginalVmrServer();
  innerModule = LoadLibraryW(server.c_str());
  RETURN_LAST_ERROR_IF(innerModule == nullptr);
  // A damaged entry naming this very server would make us create ourselves.
  HMODULE self = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&VmrLetterboxWrapper::CreateInstance), &self);
  RETURN_HR_IF(E_UNEXPECTED, innerModule == self);
  auto getClassObject = reinterpret_cast<GetClassObjectFunction>(
      reinterpret_cast<void*>(GetProcAddress(innerModule, "DllGetClassObject")));
  RETURN_LAST_ERROR_IF(getClassObject == nullptr);
  ComPtr<IClassFactory> factory;
  RETURN_IF_FAILED(getClassObject(CLSID_VideoMixingRenderer, IID_PPV_ARGS(&factory)));
  return factory->CreateInstance(static_cast<IVMRAspectRatioControl*>(this), IID_IUnknown,
                                 reinterpret_cast<void**>(inner.GetAddressOf()));
}

HRESULT VmrLetterboxWrapper::QueryOwnInterface(REFIID riid, void** object) try {
  if (riid == IID_IUnknown) return HandOut(static_cast<IVMRAspectRatioControl*>(this), object);
  if (riid == IID_IVMRAspectRatioControl) {
    RETURN_HR_IF(E_NOINTERFACE, standin::ShouldFail(kFailQuery));
    return HandOut(static_cast<IVMRAspectRatioControl*>(this), object);
  }
  if (riid == standin::IID_IStandinVideoSize) {
    return HandOut(static_cast<standin::IStandinVideoSize*>(this), object);
  }
  if (riid == IID_IVMRWindowlessControl) {
    // Only where the renderer itself offers it.
    ComPtr<IVMRWindowlessControl> theirs;
    RETURN_IF_FAILED(InnerWindowless(theirs));
    return HandOut(static_cast<IVMRWindowlessControl*>(this), object);
  }
  RETURN_HR_IF(E_NOINTERFACE, !inner);
  return inner->QueryInterface(riid, object);
}
CATCH_RETURN()

HRESULT VmrLetterboxWrapper::InnerWindowless(ComPtr<IVMRWindowlessControl>& out) {
  RETURN_HR_IF(E_UNEXPECTED, !inner);
  return inner.As(&out);
}

STDMETHODIMP VmrLetterboxWrapper::GetAspectRatioMode(DWORD* out) {
  RETURN_HR_IF_NULL(E_POINTER, out);
  std::lock_guard guard(lock);
  *out = mode;
  return S_OK;
}

STDMETHODIMP VmrLetterboxWrapper::SetAspectRatioMode(DWORD newMode) try {
  RETURN_HR_IF(E_FAIL, standin::ShouldFail(kFailSetMode));
  RETURN_HR_IF(E_INVALIDARG, newMode != VMR_ARMODE_NONE && newMode != VMR_ARMODE_LETTER_BOX);
  {
    std::lock_guard guard(lock);
    mode = newMode;
  }
  return ApplyPosition();
}
CATCH_RETURN()

STDMETHODIMP VmrLetterboxWrapper::SetVideoPosition(const LPRECT newSource,
                                                     const LPRECT newDestination) try {
  {
    std::lock_guard guard(lock);
    sourceGiven = newSource != nullptr;
    if (newSource != nullptr) source = *newSource;
    // Without a destination only the source changes; the last one stays.
    if (newDestination != nullptr) {
      destination = *newDestination;
      positionSet = true;
    }
  }
  if (newDestination == nullptr) {
    ComPtr<IVMRWindowlessControl> theirs;
    RETURN_IF_FAILED(InnerWindowless(theirs));
    if (newSource == nullptr) return theirs->SetVideoPosition(nullptr, nullptr);
    RECT onPicture = OnConnectedPicture(theirs.Get(), *newSource);
    return theirs->SetVideoPosition(&onPicture, nullptr);
  }
  return ApplyPosition();
}
CATCH_RETURN()

HRESULT VmrLetterboxWrapper::ApplyPosition() {
  RECT wantedSource{}, wanted{};
  bool withSource = false;
  DWORD currentMode = VMR_ARMODE_NONE;
  {
    std::lock_guard guard(lock);
    if (!positionSet) return S_OK;
    wantedSource = source;
    withSource = sourceGiven;
    wanted = destination;
    currentMode = mode;
  }
  ComPtr<IVMRWindowlessControl> theirs;
  RETURN_IF_FAILED(InnerWindowless(theirs));
  RECT picture = wanted;
  if (currentMode == VMR_ARMODE_LETTER_BOX) {
    // The shape is the source rectangle's, or the whole picture's.
    LONG width = 0, height = 0, aspectX = 0, aspectY = 0;
    if (withSource && wantedSource.right > wantedSource.left &&
        wantedSource.bottom > wantedSource.top) {
      aspectX = wantedSource.right - wantedSource.left;
      aspectY = wantedSource.bottom - wantedSource.top;
    } else if (SUCCEEDED(GetNativeVideoSize(&width, &height, &aspectX, &aspectY)) &&
               (aspectX <= 0 || aspectY <= 0)) {
      aspectX = width;
      aspectY = height;
    }
    picture = ToRect(LetterBox(ToBox(wanted), aspectX, aspectY));
  }
  RECT onPicture{};
  if (withSource) onPicture = OnConnectedPicture(theirs.Get(), wantedSource);
  RETURN_IF_FAILED(theirs->SetVideoPosition(withSource ? &onPicture : nullptr, &picture));
  {
    std::lock_guard guard(lock);
    pictureRect = picture;
  }
  PaintBars(nullptr, wanted, picture);
  return S_OK;
}

RECT VmrLetterboxWrapper::OnConnectedPicture(IVMRWindowlessControl* theirs, const RECT& given) {
  LONG fromWidth = 0, fromHeight = 0;
  {
    std::lock_guard guard(lock);
    fromWidth = streamWidth;
    fromHeight = streamHeight;
  }
  LONG toWidth = 0, toHeight = 0;
  // Nothing told, or the renderer knows no size yet: the rectangle as given.
  if (fromWidth <= 0 || FAILED(theirs->GetNativeVideoSize(&toWidth, &toHeight, nullptr, nullptr))) {
    return given;
  }
  return ToRect(ScaleToPicture(ToBox(given), fromWidth, fromHeight, toWidth, toHeight));
}

// Black where the destination is not covered by the picture, on `given` or
// else on the clipping window.
void VmrLetterboxWrapper::PaintBars(HDC given, const RECT& wanted, const RECT& picture) {
  HWND window = nullptr;
  {
    std::lock_guard guard(lock);
    window = clippingWindow;
  }
  if (EqualRect(&wanted, &picture) || (given == nullptr && window == nullptr)) return;
  HDC dc = given != nullptr ? given : GetDC(window);
  if (dc == nullptr) return;  // nothing to paint on: the bars stay as they are
  auto brush = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  const RECT bars[] = {{wanted.left, wanted.top, wanted.right, picture.top},
                       {wanted.left, picture.bottom, wanted.right, wanted.bottom},
                       {wanted.left, picture.top, picture.left, picture.bottom},
                       {picture.right, picture.top, wanted.right, picture.bottom}};
  for (const RECT& bar : bars) {
    if (bar.right > bar.left && bar.bottom > bar.top) FillRect(dc, &bar, brush);
  }
  if (given == nullptr) ReleaseDC(window, dc);
}

STDMETHODIMP VmrLetterboxWrapper::GetVideoPosition(LPRECT outSource, LPRECT outDestination) {
  ComPtr<IVMRWindowlessControl> theirs;
  RETURN_IF_FAILED(InnerWindowless(theirs));
  RETURN_IF_FAILED(theirs->GetVideoPosition(outSource, outDestination));
  // The caller learns the destination it set, not the letter-boxed one.
  std::lock_guard guard(lock);
  if (outDestination != nullptr && positionSet) *outDestination = destination;
  return S_OK;
}

STDMETHODIMP VmrLetterboxWrapper::SetVideoClippingWindow(HWND window) {
  ComPtr<IVMRWindowlessControl> theirs;
  RETURN_IF_FAILED(InnerWindowless(theirs));
  RETURN_IF_FAILED(theirs->SetVideoClippingWindow(window));
  std::lock_guard guard(lock);
  clippingWindow = window;
  return S_OK;
}

// The window asks for a repaint when it was uncovered: the bars are ours to
// paint; the picture is Wine's (whose repaint may well be missing).
STDMETHODIMP VmrLetterboxWrapper::RepaintVideo(HWND window, HDC dc) {
  ComPtr<IVMRWindowlessControl> theirs;
  RETURN_IF_FAILED(InnerWindowless(theirs));
  RECT wanted{}, picture{};
  bool letterBoxed = false;
  {
    std::lock_guard guard(lock);
    letterBoxed = positionSet && mode == VMR_ARMODE_LETTER_BOX;
    wanted = destination;
    picture = pictureRect;
  }
  if (letterBoxed && dc != nullptr) PaintBars(dc, wanted, picture);
  return theirs->RepaintVideo(window, dc);
}

// The rest goes to Wine's renderer as it is.
// The stream's size once the decoder told it, else the renderer's own.
STDMETHODIMP VmrLetterboxWrapper::GetNativeVideoSize(LONG* width, LONG* height, LONG* aspectX,
                                                       LONG* aspectY) {
  {
    std::lock_guard guard(lock);
    if (streamWidth > 0) {
      if (width != nullptr) *width = streamWidth;
      if (height != nullptr) *height = streamHeight;
      if (aspectX != nullptr) *aspectX = streamAspectX;
      if (aspectY != nullptr) *aspectY = streamAspectY;
      return S_OK;
    }
  }
  return ForwardToRenderer(&IVMRWindowlessControl::GetNativeVideoSize,
                           width, height, aspectX, aspectY);
}

// The caller re-fits the picture when it sees the new size (the viewer and
// the players poll it after a start or a channel change); until then the
// renderer keeps the rectangles it was last given.
STDMETHODIMP VmrLetterboxWrapper::SetStreamVideoSize(LONG width, LONG height, LONG aspectX,
                                                       LONG aspectY) {
  std::lock_guard guard(lock);
  const bool known = width > 0 && height > 0;
  streamWidth = known ? width : 0;
  streamHeight = known ? height : 0;
  const bool shaped = known && aspectX > 0 && aspectY > 0;
  streamAspectX = shaped ? aspectX : streamWidth;
  streamAspectY = shaped ? aspectY : streamHeight;
  return S_OK;
}

STDMETHODIMP VmrLetterboxWrapper::GetMinIdealVideoSize(LONG* width, LONG* height) {
  return ForwardToRenderer(&IVMRWindowlessControl::GetMinIdealVideoSize, width, height);
}

STDMETHODIMP VmrLetterboxWrapper::GetMaxIdealVideoSize(LONG* width, LONG* height) {
  return ForwardToRenderer(&IVMRWindowlessControl::GetMaxIdealVideoSize, width, height);
}

// Counted for the tests, which cannot change the display's mode under the
// program: they send the message that a change brings.
STDMETHODIMP VmrLetterboxWrapper::DisplayModeChanged() {
  ReportDisplayModeChanges(++displayModeChanges);
  RETURN_HR_IF(E_FAIL, standin::ShouldFail(kFailDisplayModeChanged));
  return ForwardToRenderer(&IVMRWindowlessControl::DisplayModeChanged);
}

STDMETHODIMP VmrLetterboxWrapper::GetCurrentImage(BYTE** dib) {
  return ForwardToRenderer(&IVMRWindowlessControl::GetCurrentImage, dib);
}

STDMETHODIMP VmrLetterboxWrapper::SetBorderColor(COLORREF colour) {
  return ForwardToRenderer(&IVMRWindowlessControl::SetBorderColor, colour);
}

STDMETHODIMP VmrLetterboxWrapper::GetBorderColor(COLORREF* colour) {
  return ForwardToRenderer(&IVMRWindowlessControl::GetBorderColor, colour);
}

STDMETHODIMP VmrLetterboxWrapper::SetColorKey(COLORREF colour) {
  return ForwardToRenderer(&IVMRWindowlessControl::SetColorKey, colour);
}

STDMETHODIMP VmrLetterboxWrapper::GetColorKey(COLORREF* colour) {
  return ForwardToRenderer(&IVMRWindowlessControl::GetColorKey, colour);
}

}  // namespace decoders
