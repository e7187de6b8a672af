#include "standin/demux/PidMapEnumerator.h"

namespace standin {

namespace {

MEDIA_SAMPLE_CONTENT ContentOf(PidContent content) {
  switch (content) {
    case PidContent::TransportPacket: return MEDIA_TRANSPORT_PACKET;
    case PidContent::Sections: return MEDIA_MPEG2_PSI;
    case PidContent::ElementaryStream: break;
  }
  return MEDIA_ELEMENTARY_STREAM;
}

}  // namespace

HRESULT PidMapList::Get(ULONG index, PID_MAP& map) const noexcept {
  if (index >= mapping.size()) return S_FALSE;
  map.ulPID = mapping[index].pid;
  map.MediaSampleContent = ContentOf(mapping[index].content);
  return S_OK;
}

}  // namespace standin
