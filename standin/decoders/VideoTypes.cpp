#include "standin/decoders/VideoTypes.h"

#include "standin/decoders/Mpeg2VideoScanner.h"

#include <amvideo.h>
#include <dvdmedia.h>
#include <uuids.h>

#include <cstdlib>
#include <cstddef>

namespace decoders {

namespace {

constexpr REFERENCE_TIME kPictureTime = 333667;  // 1001/30000 s in 100 ns units

bool HasFormat(const AM_MEDIA_TYPE& mt, const GUID& type, std::size_t minimum) {
  return mt.formattype == type && mt.pbFormat != nullptr && mt.cbFormat >= minimum;
}

bool SetIfValid(LONG w, LONG h, int& width, int& height) {
  if (w <= 0 || h == 0) return false;
  width = static_cast<int>(w);
  height = static_cast<int>(std::labs(h));
  return true;
}

}  // namespace

bool IsMpeg2Video(const AM_MEDIA_TYPE& mt) {
  if (mt.subtype != MEDIASUBTYPE_MPEG2_VIDEO) return false;
  return mt.majortype == MEDIATYPE_Video || mt.majortype == MEDIATYPE_MPEG2_PES;
}

bool FrameSizeFromFormat(const AM_MEDIA_TYPE& mt, int& width, int& height) {
  if (HasFormat(mt, FORMAT_MPEG2Video, offsetof(MPEG2VIDEOINFO, dwSequenceHeader))) {
    const auto* info = reinterpret_cast<const MPEG2VIDEOINFO*>(mt.pbFormat);
    // The sequence header bytes, when they are there, are what the stream says.
    const std::size_t headerAt = offsetof(MPEG2VIDEOINFO, dwSequenceHeader);
    if (info->cbSequenceHeader > 0 && info->cbSequenceHeader <= mt.cbFormat - headerAt) {
      Mpeg2VideoScanner scanner;
      const auto* bytes = mt.pbFormat + headerAt;
      // A picture start after the header makes the scanner take it.
      scanner.Feed({bytes, info->cbSequenceHeader});
      const std::uint8_t pictureStart[] = {0, 0, 1, 0, 0, 0};
      scanner.Feed(pictureStart);
      if (scanner.HasSequence()) {
        width = scanner.Sequence().width;
        height = scanner.Sequence().height;
        return true;
      }
    }
    return SetIfValid(info->hdr.bmiHeader.biWidth, info->hdr.bmiHeader.biHeight, width, height);
  }
  if (HasFormat(mt, FORMAT_VideoInfo2, sizeof(VIDEOINFOHEADER2))) {
    const auto* info = reinterpret_cast<const VIDEOINFOHEADER2*>(mt.pbFormat);
    return SetIfValid(info->bmiHeader.biWidth, info->bmiHeader.biHeight, width, height);
  }
  if (HasFormat(mt, FORMAT_VideoInfo, sizeof(VIDEOINFOHEADER))) {
    const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(mt.pbFormat);
    return SetIfValid(info->bmiHeader.biWidth, info->bmiHeader.biHeight, width, height);
  }
  return false;
}

HRESULT MakeRgb32Type(int width, int height, dshow::MediaType& mt) {
  VIDEOINFOHEADER info{};
  info.AvgTimePerFrame = kPictureTime;
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  info.bmiHeader.biSizeImage = static_cast<DWORD>(width) * static_cast<DWORD>(height) * 4;

  AM_MEDIA_TYPE type{};
  type.majortype = MEDIATYPE_Video;
  type.subtype = MEDIASUBTYPE_RGB32;
  type.bFixedSizeSamples = TRUE;
  type.lSampleSize = info.bmiHeader.biSizeImage;
  type.formattype = FORMAT_VideoInfo;
  type.cbFormat = sizeof info;
  type.pbFormat = reinterpret_cast<BYTE*>(&info);
  return mt.Set(type);  // copies the format block
}

bool ReadRgb32Layout(const AM_MEDIA_TYPE& mt, int& width, int& height, int& stride,
                     bool& bottomUp) {
  if (mt.majortype != MEDIATYPE_Video || mt.subtype != MEDIASUBTYPE_RGB32) return false;
  const BITMAPINFOHEADER* bitmap = nullptr;
  const RECT* target = nullptr;
  if (HasFormat(mt, FORMAT_VideoInfo, sizeof(VIDEOINFOHEADER))) {
    const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(mt.pbFormat);
    bitmap = &info->bmiHeader;
    target = &info->rcTarget;
  } else if (HasFormat(mt, FORMAT_VideoInfo2, sizeof(VIDEOINFOHEADER2))) {
    const auto* info = reinterpret_cast<const VIDEOINFOHEADER2*>(mt.pbFormat);
    bitmap = &info->bmiHeader;
    target = &info->rcTarget;
  } else {
    return false;
  }
  if (bitmap->biBitCount != 32 || bitmap->biWidth <= 0 || bitmap->biHeight == 0) return false;
  stride = static_cast<int>(bitmap->biWidth);
  height = static_cast<int>(std::labs(bitmap->biHeight));
  bottomUp = bitmap->biHeight > 0;
  width = stride;
  // A renderer that asks for wider rows says how much of them shows.
  const LONG targetWidth = target->right - target->left;
  if (targetWidth > 0 && targetWidth <= stride) width = static_cast<int>(targetWidth);
  return true;
}

}  // namespace decoders
