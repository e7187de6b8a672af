#include "standin/bda/TuningSpaceEnum.h"

#include "standin/bda/FailSteps.h"
#include "win/HResultMacros.h"
#include "dshow/ServerLock.h"

namespace standin {

TuningSpaceEnum::TuningSpaceEnum(const Spaces& spaces, std::size_t position)
    : spaces(spaces), position(position) {
  dshow::ServerLock::Increment();
}

TuningSpaceEnum::~TuningSpaceEnum() { dshow::ServerLock::Decrement(); }

HRESULT TuningSpaceEnum::Create(const Spaces& spaces, std::size_t position,
                                IEnumTuningSpaces** out) try {
  RETURN_HR_IF_NULL(E_POINTER, out);
  *out = new TuningSpaceEnum(spaces, position);
  return S_OK;
}
CATCH_RETURN()

STDMETHODIMP TuningSpaceEnum::QueryInterface(REFIID riid, void** object) {
  RETURN_HR_IF_NULL(E_POINTER, object);
  *object = nullptr;
  if (riid != IID_IUnknown && riid != IID_IEnumTuningSpaces) return E_NOINTERFACE;
  *object = static_cast<IEnumTuningSpaces*>(this);
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) TuningSpaceEnum::AddRef() { return ++refCount; }

STDMETHODIMP_(ULONG) TuningSpaceEnum::Release() {
  const ULONG left = --refCount;
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP TuningSpaceEnum::Next(ULONG count, ITuningSpace** out, ULONG* fetched) {
  RETURN_HR_IF_NULL(E_POINTER, out);
  RETURN_HR_IF(E_POINTER, count > 1 && fetched == nullptr);
  if (fetched != nullptr) *fetched = 0;
  RETURN_HR_IF(E_FAIL, StepFails(steps::kTuningSpacesNext));
  ULONG given = 0;
  while (given < count && position < spaces.size()) {
    spaces[position++].CopyTo(&out[given++]);
  }
  if (fetched != nullptr) *fetched = given;
  return given == count ? S_OK : S_FALSE;
}

STDMETHODIMP TuningSpaceEnum::Skip(ULONG count) {
  const std::size_t left = spaces.size() - position;
  position += count < left ? count : left;
  return count <= left ? S_OK : S_FALSE;
}

STDMETHODIMP TuningSpaceEnum::Reset() {
  position = 0;
  return S_OK;
}

STDMETHODIMP TuningSpaceEnum::Clone(IEnumTuningSpaces** copy) {
  return Create(spaces, position, copy);
}

}  // namespace standin
