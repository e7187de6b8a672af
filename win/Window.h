// A window base: the static window procedure stores the object at
// WM_NCCREATE and forwards every message to Derived::HandleMessage.
#pragma once

#include <windows.h>

template <class Derived>
class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND Handle() const { return hwnd; }

 protected:
  // Registers the class on first use and creates the window; placed at the
  // system's default position unless a position is given.
  bool Create(const char* className, const char* title, DWORD style, int width, int height,
              HMENU menu, HWND parent = nullptr, DWORD exStyle = 0, int x = CW_USEDEFAULT,
              int y = CW_USEDEFAULT) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    if (!GetClassInfoA(instance, className, &windowClass)) {
      windowClass.style = CS_DBLCLKS;
      windowClass.lpfnWndProc = WindowProc;
      windowClass.hInstance = instance;
      windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
      windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
      windowClass.lpszClassName = className;
      if (!RegisterClassA(&windowClass)) return false;
    }
    return CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent, menu,
                           instance, this) != nullptr;
  }

  LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }

  HWND hwnd = nullptr;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Derived* self = nullptr;
    if (message == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
      self = static_cast<Derived*>(reinterpret_cast<Window*>(create->lpCreateParams));
      self->hwnd = hwnd;
      // The derived object's own address (see Dialog.h).
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
      self = reinterpret_cast<Derived*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (self == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
    const LRESULT result = self->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) self->hwnd = nullptr;
    return result;
  }
};
