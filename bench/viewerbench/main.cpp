// viewerbench: the viewer's timings under Wine with the stand-in platform,
// and the same steps done by a bare graph program for reference.
//
//   viewerbench viewer EXE PANEL VIDEO   starts EXE (the viewer) in the
//       current folder, times its first picture, presses W on the panel
//       titled PANEL and times the next channel's first picture in the video
//       window titled VIDEO, then ends it with Esc (nothing is saved)
//   viewerbench bare                      builds the same live graph (tuner
//       model 17, channel 7-7-1) into a window of the viewer's size and
//       place, times its first picture, re-tunes it to 7-7-2 and times that
//       channel's first picture
// Both print "start_ms=N change_ms=N". A picture counts as seen when the
// screen shows its colour in the window's first colour bar: the stand-in
// decoder's test card of 7-1 starts with a C0C000 bar, that of 7-2 with an
// 00C0C0 bar. Exit status 1 when a picture does not come within 60 s.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "core/tuning/TuningModel.h"
#include "graph/FilterGraphs.h"
#include "graph/LiveGraph.h"
#include "graph/LiveGraphBuilder.h"
#include "win/ComScope.h"

namespace {

constexpr COLORREF kFirstBar = RGB(0xC0, 0xC0, 0x00);
constexpr COLORREF kSecondBar = RGB(0x00, 0xC0, 0xC0);
constexpr DWORD kTimeoutMs = 60000;
// The viewer's video window in the benchmark's config.txt.
constexpr RECT kVideoWindow{100, 50, 746, 416};

double NowMs() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

bool Near(COLORREF a, COLORREF b) {
  auto close = [](int x, int y) { return std::abs(x - y) <= 24; };
  return close(GetRValue(a), GetRValue(b)) && close(GetGValue(a), GetGValue(b)) &&
         close(GetBValue(a), GetBValue(b));
}

// The first colour bar is found along a row 88% down the window (below the
// card's text box): the first sample from the left that is not black, then
// one a little further in, inside the bar. The two programs place the
// picture differently (the viewer fills the window with overscan cropped,
// the bare program letter-boxes it between black bars), and a fixed point
// lands on the edge of the bar in one of them.
bool ShowsColour(HWND window, COLORREF colour) {
  RECT client{};
  if (window == nullptr || !GetClientRect(window, &client)) return false;
  HDC screen = GetDC(nullptr);
  auto sample = [&](int percent) {
    POINT point{client.right * percent / 100, client.bottom * 88 / 100};
    ClientToScreen(window, &point);
    return GetPixel(screen, point.x, point.y);
  };
  constexpr int kSearchPercent = 30;  // the bars start well before this
  constexpr int kIntoBarPercent = 3;  // a bar is a seventh of the picture
  COLORREF seen = CLR_INVALID;
  for (int percent = 1; percent <= kSearchPercent; ++percent) {
    const COLORREF edge = sample(percent);
    if (edge == CLR_INVALID) break;
    if (!Near(edge, RGB(0, 0, 0))) {
      seen = sample(percent + kIntoBarPercent);
      break;
    }
  }
  ReleaseDC(nullptr, screen);
  return seen != CLR_INVALID && Near(seen, colour);
}

void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

// Waits, pumping messages, until `seen` holds; the milliseconds since
// `start`, or nothing after the timeout.
template <class Check>
std::optional<double> WaitFor(double start, Check seen) {
  while (NowMs() - start < kTimeoutMs) {
    PumpMessages();
    if (seen()) return NowMs() - start;
    Sleep(5);
  }
  return std::nullopt;
}

int Report(std::optional<double> start, std::optional<double> change) {
  if (!start || !change) {
    std::fprintf(stderr, "viewerbench: no %s picture\n", start ? "second" : "first");
    return 1;
  }
  std::printf("start_ms=%.0f change_ms=%.0f\n", *start, *change);
  return 0;
}

int Viewer(const char* exe, const char* panelTitle, const char* videoTitle) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::string commandLine = std::string("\"") + exe + "\"";
  const double started = NowMs();
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    std::fprintf(stderr, "viewerbench: cannot start %s\n", exe);
    return 1;
  }
  HWND video = nullptr;
  const std::optional<double> first = WaitFor(started, [&] {
    if (video == nullptr) video = FindWindowA(nullptr, videoTitle);
    return ShowsColour(video, kFirstBar);
  });
  HWND panel = FindWindowA(nullptr, panelTitle);
  std::optional<double> second;
  if (first && panel != nullptr) {
    const double pressed = NowMs();
    PostMessageA(panel, WM_KEYDOWN, 'W', 1);
    PostMessageA(panel, WM_KEYUP, 'W', 0xC0000001);
    second = WaitFor(pressed, [&] { return ShowsColour(video, kSecondBar); });
  }
  if (panel != nullptr) {
    PostMessageA(panel, WM_KEYDOWN, VK_ESCAPE, 1);
    PostMessageA(panel, WM_KEYUP, VK_ESCAPE, 0xC0000001);
  }
  if (WaitForSingleObject(process.hProcess, kTimeoutMs) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 1);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return Report(first, second);
}

LRESULT CALLBACK BareWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

int Bare() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = BareWindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "ViewerBenchVideo";
  RegisterClassA(&windowClass);

  const double started = NowMs();
  HWND window = CreateWindowExA(
      WS_EX_TOOLWINDOW, windowClass.lpszClassName, "viewerbench", WS_POPUP | WS_THICKFRAME,
      kVideoWindow.left, kVideoWindow.top, kVideoWindow.right - kVideoWindow.left,
      kVideoWindow.bottom - kVideoWindow.top, nullptr, nullptr, windowClass.hInstance, nullptr);
  if (window == nullptr) return 1;
  ShowWindow(window, SW_SHOW);

  const std::optional<TuningModel> model = FindTuningModel(17, std::nullopt);
  LiveGraph live;
  if (CreateGraphs(live.graphs).Failed()) return 1;
  LiveGraphRequest request;
  request.model = model ? &*model : nullptr;
  request.channel = TuneValues{7, 7, 1};
  request.videoWindow = window;
  if (LiveGraphBuilder(live, request).Build().Failed()) {
    std::fprintf(stderr, "viewerbench: the live graph cannot be built\n");
    return 1;
  }
  // The picture is placed as soon as its size is known.
  auto place = [&] {
    if (live.renderer.NativeSize().width == 0) {
      live.renderer.SetVideoPosition(window, AspectMode::Ratio16x9, true);
    }
  };
  const std::optional<double> first = WaitFor(started, [&] {
    place();
    return ShowsColour(window, kFirstBar);
  });
  std::optional<double> second;
  if (first) {
    const double pressed = NowMs();
    live.tuning.TuneChannel(7, 7, 2);
    second = WaitFor(pressed, [&] { return ShowsColour(window, kSecondBar); });
  }
  TearDownGraphs(live.graphs, live.filters, true);
  live.control.Reset();
  live.basicAudio.Reset();
  live.renderer.Reset();
  live.tuning.Reset();
  DestroyWindow(window);
  return Report(first, second);
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  ComScope com;
  if (argc == 5 && std::string(argv[1]) == "viewer") return Viewer(argv[2], argv[3], argv[4]);
  if (argc == 2 && std::string(argv[1]) == "bare") return Bare();
  std::fputs("usage: viewerbench viewer EXE PANEL VIDEO | viewerbench bare\n", stderr);
  return 2;
}
