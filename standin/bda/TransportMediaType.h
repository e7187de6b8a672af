#pragma once
// The media types of the transport stream between tuner, capture and
// demultiplexer: MEDIATYPE_Stream with the MPEG-2 transport subtype, or the
// BDA transport subtype that some demultiplexer inputs ask for.

#include <windows.h>
#include <strmif.h>

#include "dshow/MediaType.h"

namespace standin {

bool IsTransportType(const AM_MEDIA_TYPE& mt);

// The types offered, in order of preference; VFW_S_NO_MORE_ITEMS past them.
HRESULT TransportType(int position, dshow::MediaType& mt);

}  // namespace standin
