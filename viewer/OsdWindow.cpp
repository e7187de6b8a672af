#include "viewer/OsdWindow.h"

#include "viewer/resource.h"

namespace {

constexpr COLORREF kBackground = 0xC0C0C0;
constexpr COLORREF kTextColour = 0xFF8000;

using SetLayeredWindowAttributesFunction = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

// Looked up by name each time: older systems do not have it, and then the
// caption shows without transparency.
void SetColourKey(HWND window, COLORREF key) {
  HMODULE user = GetModuleHandleA("USER32.DLL");
  if (user == nullptr) return;
  auto setAttributes = reinterpret_cast<SetLayeredWindowAttributesFunction>(
      reinterpret_cast<void*>(GetProcAddress(user, "SetLayeredWindowAttributes")));
  if (setAttributes == nullptr) return;
  SetWindowLongPtrA(window, GWL_EXSTYLE, GetWindowLongPtrA(window, GWL_EXSTYLE) | WS_EX_LAYERED);
  setAttributes(window, key, 255, LWA_COLORKEY | LWA_ALPHA);
}

}  // namespace

OsdWindow::OsdWindow() : Dialog(IDD_OSD), background(CreateSolidBrush(kBackground)) {}

INT_PTR OsdWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return FALSE;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
      return OnControlColour(reinterpret_cast<HDC>(wParam));
    case WM_SETCURSOR:
      if (setCursor) setCursor();
      return FALSE;
    default:
      return FALSE;
  }
}

INT_PTR OsdWindow::OnControlColour(HDC dc) {
  SetTextColor(dc, kTextColour);
  SetBkColor(dc, kBackground);
  return reinterpret_cast<INT_PTR>(background.Get());
}

void OsdWindow::ShowText(const std::string& text, const RECT& video, bool transparent) {
  const int width = video.right - video.left - 6;
  const int size = static_cast<int>(width * 0.25);  // tenths of a point
  SetColourKey(hwnd, transparent ? kBackground : 0x000000);

  HDC screen = GetDC(nullptr);
  const int pixelsPerInch = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  LOGFONTA description{};
  description.lfHeight = -MulDiv(size, pixelsPerInch, 720);
  lstrcpynA(description.lfFaceName, "MS Sans Serif", LF_FACESIZE);
  font.Reset(CreateFontIndirectA(&description));
  HWND label = Item(IDC_OSD_TEXT);
  SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
  SetWindowPos(label, nullptr, 40, 20, size, size, SWP_NOZORDER);
  SetItemText(IDC_OSD_TEXT, text);

  SetWindowPos(hwnd, HWND_TOP, video.left, video.top, static_cast<int>(width * 0.25),
               (size / 10) * 2 + 20, SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

void OsdWindow::Hide() { ShowWindow(hwnd, SW_HIDE); }
