#include "standin/shared/Mpeg2MediaTypes.h"

#include <dvdmedia.h>
#include <mmreg.h>
#include <uuids.h>

#include <cstring>
#include <new>

namespace standin {

namespace {

constexpr REFERENCE_TIME kFrameTime = 333667;  // 29.97 pictures a second

void SetFormat(AM_MEDIA_TYPE* raw, const GUID& formatType, const void* block, ULONG size) {
  raw->formattype = formatType;
  raw->cbFormat = size;
  raw->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(size));
  if (raw->pbFormat == nullptr) throw std::bad_alloc();
  std::memcpy(raw->pbFormat, block, size);
}

}  // namespace

dshow::MediaType MakeMpeg2VideoType(long width, long height, bool wide) {
  dshow::MediaType mt(MEDIATYPE_Video, MEDIASUBTYPE_MPEG2_VIDEO);
  MPEG2VIDEOINFO info{};
  info.hdr.AvgTimePerFrame = kFrameTime;
  info.hdr.dwPictAspectRatioX = wide ? 16 : 4;
  info.hdr.dwPictAspectRatioY = wide ? 9 : 3;
  info.hdr.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.hdr.bmiHeader.biWidth = width;
  info.hdr.bmiHeader.biHeight = height;
  SetFormat(mt.Get(), FORMAT_MPEG2Video, &info, sizeof info);
  return mt;
}

dshow::MediaType MakeAc3AudioType() {
  dshow::MediaType mt(MEDIATYPE_Audio, MEDIASUBTYPE_DOLBY_AC3);
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_DOLBY_AC3_SPDIF;
  format.nChannels = 2;
  format.nSamplesPerSec = 48000;
  format.nAvgBytesPerSec = 192000 / 8;
  format.nBlockAlign = 1;
  SetFormat(mt.Get(), FORMAT_WaveFormatEx, &format, sizeof format);
  return mt;
}

}  // namespace standin
