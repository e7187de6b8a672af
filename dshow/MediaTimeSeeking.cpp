#include "dshow/MediaTimeSeeking.h"

#include <uuids.h>

namespace dshow {

bool IsMediaTimeFormat(const GUID& format) noexcept { return format == TIME_FORMAT_MEDIA_TIME; }

const GUID& MediaTimeFormat() noexcept { return TIME_FORMAT_MEDIA_TIME; }

}  // namespace dshow
