#include "graph/WindowlessRenderer.h"

#include "graph/GraphToolkit.h"
#include "win/HResultMacros.h"
#include "core/geometry/VideoPosition.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr DWORD kMaxMonitors = 4;

RECT ToRect(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// Makes `guid` the renderer's display, pausing a running graph around it.
void SetMonitor(IVMRMonitorConfig* monitors, const VMRGUID& guid, IMediaControl* control) {
  if (control != nullptr) control->Pause();  // a graph that cannot pause still moves
  monitors->SetMonitor(&guid);               // a refused display keeps the old one
  if (control != nullptr) control->Run();
}

}  // namespace

HRESULT WindowlessRenderer::SetUp(IBaseFilter* filter, HWND videoWindow,
                                  bool fullScreenOnPrimary, IMediaControl* graphControl) {
  RETURN_HR_IF_NULL(E_POINTER, filter);
  renderer = filter;
  control.Reset();
  ComPtr<IVMRFilterConfig> config;
  HRESULT hr = filter->QueryInterface(IID_IVMRFilterConfig, reinterpret_cast<void**>(config.GetAddressOf()));
  if (SUCCEEDED(hr)) {
    hr = config->SetRenderingMode(VMRMode_Windowless);
    if (FAILED(hr)) ShowGraphMessage(ErrorBox("FAILED TO SET WINDOWLESSMODE"));
  }
  if (SUCCEEDED(hr)) hr = filter->QueryInterface(IID_IVMRWindowlessControl,
                                                 reinterpret_cast<void**>(control.GetAddressOf()));
  if (FAILED(hr)) {
    ShowGraphMessage(ErrorBox("INIT VMRWC FAILED"));
    return hr;
  }
  if (FAILED(control->SetVideoClippingWindow(videoWindow))) {
    ShowGraphMessage(ErrorBox("CAN'T SET VIDEO CLIPPING WINDOW"));
  }
  ComPtr<IVMRAspectRatioControl> aspect;
  if (FAILED(filter->QueryInterface(IID_IVMRAspectRatioControl,
                                   reinterpret_cast<void**>(aspect.GetAddressOf())))) {
    ShowGraphMessage(ErrorBox("CAN'T QI VMRAR"));
  } else if (FAILED(aspect->SetAspectRatioMode(VMR_ARMODE_LETTER_BOX))) {
    ShowGraphMessage(ErrorBox("CAN'T SET ASPECT RATIO "));
  }
  SelectMonitor(fullScreenOnPrimary, graphControl);
  return S_OK;
}

void WindowlessRenderer::SelectMonitor(bool fullScreenOnPrimary, IMediaControl* graphControl) {
  ComPtr<IVMRMonitorConfig> monitors;
  if (!renderer || FAILED(renderer->QueryInterface(
                       IID_IVMRMonitorConfig, reinterpret_cast<void**>(monitors.GetAddressOf())))) {
    return;  // the renderer stays on its default display
  }
  VMRMONITORINFO info[kMaxMonitors] = {};
  DWORD count = 0;
  if (FAILED(monitors->GetAvailableMonitors(info, kMaxMonitors, &count))) return;
  bool primaryChosen = false;
  for (DWORD i = 0; i < count && i < kMaxMonitors; ++i) {
    if (info[i].dwFlags & MONITORINFOF_PRIMARY) {
      if (fullScreenOnPrimary && !primaryChosen) {
        SetMonitor(monitors.Get(), info[i].guid, graphControl);
        primaryChosen = true;
      }
    } else {
      secondary = Size{info[i].rcMonitor.right - info[i].rcMonitor.left,
                       info[i].rcMonitor.bottom - info[i].rcMonitor.top};
      hasSecondary = true;
      if (!fullScreenOnPrimary) SetMonitor(monitors.Get(), info[i].guid, graphControl);
    }
  }
}

HRESULT WindowlessRenderer::SetVideoPosition(HWND videoWindow, AspectMode aspectMode, bool overscan) {
  RETURN_HR_IF(E_UNEXPECTED, !control);
  LONG width = 0;
  LONG height = 0;
  RETURN_IF_FAILED(control->GetNativeVideoSize(&width, &height, nullptr, nullptr));
  native = Size{width, height};
  // Before the first picture the renderer knows no size; there is nothing
  // to place yet, and a rectangle made from it would be refused.
  if (width <= 0 || height <= 0) return S_FALSE;
  RECT client{};
  GetClientRect(videoWindow, &client);
  RECT source = ToRect(VideoSourceRect(native, overscan));
  RECT destination =
      ToRect(VideoDestinationRect(aspectMode, Size{client.right, client.bottom}, native));
  const HRESULT hr = control->SetVideoPosition(&source, &destination);
  if (FAILED(hr)) ShowGraphMessage(PlainBox("CAN'T SET VIDEO POSITION"));
  return hr;
}

bool WindowlessRenderer::Repaint(HWND videoWindow, HDC dc) {
  if (!control) return false;
  control->RepaintVideo(videoWindow, dc);  // not every renderer repaints on request
  return true;
}

void WindowlessRenderer::Release() {
  control.Reset();
  renderer.Reset();
}
