#include "Screenshot.h"

#include <cstdio>
#include <memory>
#include <vector>

namespace driver {
namespace {

struct ScreenDcRelease {
  void operator()(HDC dc) const { ReleaseDC(nullptr, dc); }
};
struct DcDelete {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
struct GdiObjectDelete {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct FileClose {
  void operator()(FILE* file) const { fclose(file); }
};
using ScreenDc = std::unique_ptr<std::remove_pointer_t<HDC>, ScreenDcRelease>;
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDelete>;
using GdiObject = std::unique_ptr<std::remove_pointer_t<HGDIOBJ>, GdiObjectDelete>;
using File = std::unique_ptr<FILE, FileClose>;

constexpr WORD kBitsPerPixel = 24;

}  // namespace

RECT DesktopRect() {
  RECT rect{};
  if (!GetWindowRect(GetDesktopWindow(), &rect) || IsRectEmpty(&rect))
    SetRect(&rect, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  return rect;
}

bool WriteScreenshot(const std::string& path, RECT area, std::string& error) {
  RECT desktop = DesktopRect();
  RECT clipped{};
  if (!IntersectRect(&clipped, &area, &desktop)) {
    error = "the area to capture is not on the desktop";
    return false;
  }
  const int width = clipped.right - clipped.left;
  const int height = clipped.bottom - clipped.top;

  ScreenDc screen(GetDC(nullptr));
  if (!screen) {
    error = "cannot open the screen";
    return false;
  }
  MemoryDc memory(CreateCompatibleDC(screen.get()));
  if (!memory) {
    error = "cannot create a memory device context";
    return false;
  }

  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;  // positive: bottom-up rows, as a BMP file stores them
  header.biPlanes = 1;
  header.biBitCount = kBitsPerPixel;
  header.biCompression = BI_RGB;
  void* bits = nullptr;
  GdiObject bitmap(CreateDIBSection(screen.get(), reinterpret_cast<BITMAPINFO*>(&header),
                                    DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || bits == nullptr) {
    error = "cannot create a bitmap of " + std::to_string(width) + "x" + std::to_string(height);
    return false;
  }
  HGDIOBJ previous = SelectObject(memory.get(), bitmap.get());
  BOOL copied = BitBlt(memory.get(), 0, 0, width, height, screen.get(), clipped.left,
                       clipped.top, SRCCOPY | CAPTUREBLT);
  GdiFlush();
  SelectObject(memory.get(), previous);  // returns the bitmap, which we still own
  if (!copied) {
    error = "cannot copy the screen";
    return false;
  }

  const DWORD stride = ((static_cast<DWORD>(width) * kBitsPerPixel + 31) / 32) * 4;
  const DWORD imageSize = stride * static_cast<DWORD>(height);
  header.biSizeImage = imageSize;
  BITMAPFILEHEADER fileHeader{};
  fileHeader.bfType = 0x4D42;  // "BM"
  fileHeader.bfOffBits = sizeof fileHeader + sizeof header;
  fileHeader.bfSize = fileHeader.bfOffBits + imageSize;

  File file(fopen(path.c_str(), "wb"));
  if (!file) {
    error = "cannot create " + path;
    return false;
  }
  if (fwrite(&fileHeader, sizeof fileHeader, 1, file.get()) != 1 ||
      fwrite(&header, sizeof header, 1, file.get()) != 1 ||
      fwrite(bits, 1, imageSize, file.get()) != imageSize || fflush(file.get()) != 0) {
    error = "cannot write " + path;
    return false;
  }
  return true;
}

}  // namespace driver
