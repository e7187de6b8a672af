#include "Screenshot.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
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

// A pixel differs when one of its colour channels differs by more than this.
constexpr int kChannelTolerance = 8;
// An icon is the one shown when at most this share of the area's pixels
// differ from it drawn over the box's background.
constexpr size_t kDifferingShareDivisor = 50;

bool PixelsDiffer(uint32_t a, uint32_t b) {
  for (int shift = 0; shift < 24; shift += 8) {
    int channelA = static_cast<int>((a >> shift) & 0xFF);
    int channelB = static_cast<int>((b >> shift) & 0xFF);
    if (std::abs(channelA - channelB) > kChannelTolerance) return true;
  }
  return false;
}

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

std::optional<size_t> FindShownIcon(RECT area, const std::vector<HICON>& icons) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0 || icons.empty()) return std::nullopt;
  ScreenDc screen(GetDC(nullptr));
  if (!screen) return std::nullopt;
  MemoryDc memory(CreateCompatibleDC(screen.get()));
  if (!memory) return std::nullopt;

  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = -height;  // top-down rows
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
  void* bits = nullptr;
  GdiObject bitmap(CreateDIBSection(screen.get(), reinterpret_cast<BITMAPINFO*>(&header),
                                    DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || bits == nullptr) return std::nullopt;
  uint32_t* pixels = static_cast<uint32_t*>(bits);
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  using Picture = std::vector<uint32_t>;

  HGDIOBJ previous = SelectObject(memory.get(), bitmap.get());
  BOOL copied = BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY);
  GdiFlush();
  const Picture shown(pixels, pixels + count);
  // The icon drawn over one colour, as the static control draws it.
  auto draw = [&](HICON icon, uint32_t colour) -> std::optional<Picture> {
    std::fill(pixels, pixels + count, colour);
    if (!DrawIconEx(memory.get(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL)) return std::nullopt;
    GdiFlush();
    return Picture(pixels, pixels + count);
  };

  std::optional<size_t> best;
  size_t fewestDiffering = count;
  for (size_t i = 0; copied && i < icons.size(); ++i) {
    // The box's background shows where the icon leaves black and white
    // alike: it is drawn over that colour and compared with the screen.
    std::optional<Picture> onBlack = draw(icons[i], 0x000000);
    std::optional<Picture> onWhite = draw(icons[i], 0xFFFFFF);
    if (!onBlack || !onWhite) continue;
    std::optional<uint32_t> background;
    for (size_t p = 0; p < count && !background; ++p)
      if (((*onBlack)[p] & 0xFFFFFF) == 0 && ((*onWhite)[p] & 0xFFFFFF) == 0xFFFFFF) background = shown[p];
    if (!background) continue;
    std::optional<Picture> drawn = draw(icons[i], *background);
    if (!drawn) continue;
    size_t differing = 0;
    for (size_t p = 0; p < count; ++p) differing += PixelsDiffer((*drawn)[p], shown[p]) ? 1 : 0;
    if (!best || differing < fewestDiffering) {
      best = i;
      fewestDiffering = differing;
    }
  }
  SelectObject(memory.get(), previous);  // returns the bitmap, which we still own
  if (!best || fewestDiffering > count / kDifferingShareDivisor) return std::nullopt;
  return best;
}

}  // namespace driver
