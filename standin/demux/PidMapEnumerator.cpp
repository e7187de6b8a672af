#include "standin/demux/PidMapEnumerator.h"

#include "win/HResultMacros.h"
#include "dshow/ServerLock.h"

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

PidMapEnumerator::PidMapEnumerator(std::vector<PidMapping> mapping, ULONG position)
    : mapping(std::move(mapping)), position(position) {
  dshow::ServerLock::Increment();
}

PidMapEnumerator::~PidMapEnumerator() { dshow::ServerLock::Decrement(); }

HRESULT PidMapEnumerator::CreateInstance(std::vector<PidMapping> mapping, ULONG position,
                                         IEnumPIDMap** out) try {
  RETURN_HR_IF_NULL(E_POINTER, out);
  *out = new PidMapEnumerator(std::move(mapping), position);
  return S_OK;
}
CATCH_RETURN()

STDMETHODIMP PidMapEnumerator::QueryInterface(REFIID riid, void** object) {
  RETURN_HR_IF_NULL(E_POINTER, object);
  *object = nullptr;
  if (riid != IID_IUnknown && riid != IID_IEnumPIDMap) return E_NOINTERFACE;
  *object = static_cast<IEnumPIDMap*>(this);
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) PidMapEnumerator::AddRef() { return ++refCount; }

STDMETHODIMP_(ULONG) PidMapEnumerator::Release() {
  const ULONG left = --refCount;
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP PidMapEnumerator::Next(ULONG count, PID_MAP* maps, ULONG* fetched) {
  RETURN_HR_IF_NULL(E_POINTER, maps);
  RETURN_HR_IF(E_INVALIDARG, count > 1 && fetched == nullptr);
  ULONG done = 0;
  while (done < count && position < mapping.size()) {
    maps[done].ulPID = mapping[position].pid;
    maps[done].MediaSampleContent = ContentOf(mapping[position].content);
    ++done;
    ++position;
  }
  if (fetched != nullptr) *fetched = done;
  return done == count ? S_OK : S_FALSE;
}

STDMETHODIMP PidMapEnumerator::Skip(ULONG count) {
  const ULONG total = static_cast<ULONG>(mapping.size());
  if (count > total - position) {
    position = total;
    return S_FALSE;
  }
  position += count;
  return S_OK;
}

STDMETHODIMP PidMapEnumerator::Reset() {
  position = 0;
  return S_OK;
}

STDMETHODIMP PidMapEnumerator::Clone(IEnumPIDMap** out) { return CreateInstance(mapping, position, out); }

}  // namespace standin
