#include "graph/PlayerPinTypes.h"

#include <dvdmedia.h>
#include <uuids.h>

namespace {

AM_MEDIA_TYPE PinType(const GUID& major, const GUID& sub, const GUID& format, BYTE* block,
                      ULONG size) {
  AM_MEDIA_TYPE type{};
  type.majortype = major;
  type.subtype = sub;
  type.formattype = format;
  type.bFixedSizeSamples = FALSE;
  type.bTemporalCompression = FALSE;
  type.lSampleSize = 0;
  type.cbFormat = size;
  type.pbFormat = block;
  return type;
}

}  // namespace

PlayerPinTypes::PlayerPinTypes(AudioCoding coding) noexcept
    : video(PinType(MEDIATYPE_Video, MEDIASUBTYPE_MPEG2_VIDEO, FORMAT_MPEG2Video, videoFormat,
                    sizeof videoFormat)),
      audio(PinType(MEDIATYPE_Audio,
                    coding == AudioCoding::Mpeg ? MEDIASUBTYPE_MPEG2_AUDIO : MEDIASUBTYPE_DOLBY_AC3,
                    FORMAT_WaveFormatEx, audioFormat,
                    sizeof audioFormat)) {}
