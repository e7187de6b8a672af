#include "graph/WindowlessRenderer.h"

#include "core/geometry/VideoPosition.h"
#include "win/InterfaceIds.h"

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

GraphOutcome WindowlessRenderer::SetUp(IBaseFilter* filter, HWND videoWindow,
                                       bool fullScreenOnPrimary, IMediaControl* graphControl) {
  if (filter == nullptr) return GraphOutcome::Result(E_POINTER);
  renderer = filter;
  control.Reset();
  positionFailure.Reset();
  GraphOutcome outcome;
  ComPtr<IVMRFilterConfig> config;
  HRESULT hr = renderer.As(&config);
  if (SUCCEEDED(hr)) {
    hr = config->SetRenderingMode(VMRMode_Windowless);
    if (FAILED(hr)) outcome.messages.push_back(ErrorBox("FAILED TO SET WINDOWLESSMODE"));
  }
  if (SUCCEEDED(hr)) hr = renderer.As(&control);
  if (FAILED(hr)) {
    outcome.messages.push_back(ErrorBox("INIT VMRWC FAILED"));
    outcome.result = hr;
    return outcome;
  }
  if (FAILED(control->SetVideoClippingWindow(videoWindow))) {
    outcome.messages.push_back(ErrorBox("CAN'T SET VIDEO CLIPPING WINDOW"));
  }
  ComPtr<IVMRAspectRatioControl> aspect;
  if (FAILED(renderer.As(&aspect))) {
    outcome.messages.push_back(ErrorBox("CAN'T QI VMRAR"));
  } else if (FAILED(aspect->SetAspectRatioMode(VMR_ARMODE_LETTER_BOX))) {
    outcome.messages.push_back(ErrorBox("CAN'T SET ASPECT RATIO "));
  }
  SelectMonitor(fullScreenOnPrimary, graphControl);
  return outcome;
}

void WindowlessRenderer::SelectMonitor(bool fullScreenOnPrimary, IMediaControl* graphControl) {
  ComPtr<IVMRMonitorConfig> monitors;
  if (!renderer || FAILED(renderer.As(&monitors))) {
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

Size WindowlessRenderer::ReportedNativeSize() const {
  LONG width = 0;
  LONG height = 0;
  if (!control || FAILED(control->GetNativeVideoSize(&width, &height, nullptr, nullptr))) return {};
  return {width, height};
}

GraphOutcome WindowlessRenderer::SetVideoPosition(HWND videoWindow, AspectMode aspectMode,
                                                  bool overscan) {
  if (!control) return GraphOutcome::Result(E_UNEXPECTED);
  LONG width = 0;
  LONG height = 0;
  const HRESULT sized = control->GetNativeVideoSize(&width, &height, nullptr, nullptr);
  if (FAILED(sized)) return GraphOutcome::Result(sized);
  native = Size{width, height};
  // Before the first picture the renderer knows no size; there is nothing
  // to place yet, and a rectangle made from it would be refused.
  if (width <= 0 || height <= 0) return GraphOutcome::Result(S_FALSE);
  RECT client{};
  GetClientRect(videoWindow, &client);
  RECT source = ToRect(VideoSourceRect(native, overscan));
  RECT destination =
      ToRect(VideoDestinationRect(aspectMode, Size{client.right, client.bottom}, native));
  const HRESULT hr = control->SetVideoPosition(&source, &destination);
  GraphOutcome outcome = GraphOutcome::Result(hr);
  if (positionFailure.Report(FAILED(hr))) {
    outcome.messages.push_back(PlainBox("CAN'T SET VIDEO POSITION"));
  }
  return outcome;
}

bool WindowlessRenderer::Repaint(HWND videoWindow, HDC dc) {
  if (!control) return false;
  control->RepaintVideo(videoWindow, dc);  // not every renderer repaints on request
  return true;
}

HRESULT WindowlessRenderer::DisplayModeChanged() {
  if (!control) return E_UNEXPECTED;
  return control->DisplayModeChanged();
}

void WindowlessRenderer::Reset() {
  control.Reset();
  renderer.Reset();
  positionFailure.Reset();
}
