#include "standin/bda/TuningSpaceContainer.h"

#include "standin/bda/AtscTuningSpace.h"
#include "standin/bda/FailSteps.h"
#include "standin/bda/SystemSpaceList.h"
#include "win/AnsiText.h"
#include "win/ComObject.h"
#include "win/HResultMacros.h"

#include <optional>
#include <string>
#include <vector>

namespace standin {

namespace {

constexpr char kTuningSpacesValue[] = "TuningSpaces";
constexpr LONG kMaxCount = 1000;

// IDs are 1-based positions in the container.
std::optional<std::size_t> IndexOf(const VARIANT& index, std::size_t count) {
  VARIANT number;
  VariantInit(&number);
  // The source is only read.
  if (FAILED(VariantChangeType(&number, const_cast<VARIANT*>(&index), 0, VT_I4))) return std::nullopt;
  if (number.lVal < 1 || static_cast<std::size_t>(number.lVal) > count) return std::nullopt;
  return static_cast<std::size_t>(number.lVal - 1);
}

}  // namespace

HRESULT TuningSpaceContainer::CreateInstance(REFIID riid, void** object) try {
  RETURN_HR_IF_NULL(E_POINTER, object);
  *object = nullptr;
  RETURN_HR_IF(E_FAIL, StepFails(steps::kTuningSpacesCreate));
  Microsoft::WRL::ComPtr<TuningSpaceContainer> container;
  container = AdoptNew(new TuningSpaceContainer());
  RETURN_IF_FAILED(container->LoadSpaces());
  return container->QueryInterface(riid, object);
}
CATCH_RETURN()

HRESULT TuningSpaceContainer::LoadSpaces() {
  const std::vector<SystemSpace> listedSpaces =
      SystemSpaces(ReadSetting(kTuningSpacesValue), IsWindows7Platform());
  for (const SystemSpace& listed : listedSpaces) {
    const std::wstring wide = Widen(listed.uniqueName);
    RETURN_HR_IF(E_INVALIDARG, wide.empty());  // a name listed is never empty: it did not convert
    Microsoft::WRL::ComPtr<ITuningSpace> space;
    RETURN_IF_FAILED(AtscTuningSpace::Create(
        wide, listed.cable ? TunerInputCable : TunerInputAntenna, &space));
    spaces.push_back(space);
  }
  return S_OK;
}

HRESULT TuningSpaceContainer::QueryOwnInterface(REFIID riid, void** object) {
  if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_ITuningSpaceContainer) {
    return HandOut(static_cast<ITuningSpaceContainer*>(this), object);
  }
  return E_NOINTERFACE;
}

STDMETHODIMP TuningSpaceContainer::get_Count(LONG* count) {
  RETURN_HR_IF_NULL(E_POINTER, count);
  *count = 0;
  RETURN_HR_IF(E_FAIL, StepFails(steps::kTuningSpacesCount));
  *count = static_cast<LONG>(spaces.size());
  return S_OK;
}

STDMETHODIMP TuningSpaceContainer::get__NewEnum(IEnumVARIANT** out) {
  if (out != nullptr) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP TuningSpaceContainer::get_Item(VARIANT index, ITuningSpace** space) {
  RETURN_HR_IF_NULL(E_POINTER, space);
  *space = nullptr;
  const auto at = IndexOf(index, spaces.size());
  RETURN_HR_IF(E_INVALIDARG, !at);
  return spaces[*at].CopyTo(space);
}

STDMETHODIMP TuningSpaceContainer::put_Item(VARIANT index, ITuningSpace* space) {
  RETURN_HR_IF_NULL(E_POINTER, space);
  const auto at = IndexOf(index, spaces.size());
  RETURN_HR_IF(E_INVALIDARG, !at);
  spaces[*at] = space;
  return S_OK;
}

STDMETHODIMP TuningSpaceContainer::TuningSpacesForCLSID(BSTR, ITuningSpaces** out) {
  if (out != nullptr) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP TuningSpaceContainer::_TuningSpacesForCLSID(REFCLSID, ITuningSpaces** out) {
  if (out != nullptr) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP TuningSpaceContainer::TuningSpacesForName(BSTR, ITuningSpaces** out) {
  if (out != nullptr) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP TuningSpaceContainer::FindID(ITuningSpace* space, LONG* id) {
  RETURN_HR_IF_NULL(E_POINTER, id);
  *id = -1;
  for (std::size_t i = 0; i < spaces.size(); ++i) {
    if (spaces[i].Get() == space) {
      *id = static_cast<LONG>(i + 1);
      return S_OK;
    }
  }
  return E_INVALIDARG;
}

STDMETHODIMP TuningSpaceContainer::Add(ITuningSpace* space, VARIANT* newIndex) try {
  RETURN_HR_IF_NULL(E_POINTER, space);
  RETURN_HR_IF(E_FAIL, static_cast<LONG>(spaces.size()) >= kMaxCount);
  spaces.emplace_back(space);
  if (newIndex != nullptr) {
    VariantInit(newIndex);
    newIndex->vt = VT_I4;
    newIndex->lVal = static_cast<LONG>(spaces.size());
  }
  return S_OK;
}
CATCH_RETURN()

STDMETHODIMP TuningSpaceContainer::get_EnumTuningSpaces(IEnumTuningSpaces** out) {
  RETURN_HR_IF_NULL(E_POINTER, out);
  *out = nullptr;
  RETURN_HR_IF(E_FAIL, StepFails(steps::kTuningSpacesEnum));
  return TuningSpaceEnumerator::Create(TuningSpaceList(spaces), out);
}

STDMETHODIMP TuningSpaceContainer::Remove(VARIANT index) {
  const auto at = IndexOf(index, spaces.size());
  RETURN_HR_IF(E_INVALIDARG, !at);
  spaces.erase(spaces.begin() + static_cast<std::ptrdiff_t>(*at));
  return S_OK;
}

STDMETHODIMP TuningSpaceContainer::get_MaxCount(LONG* count) {
  RETURN_HR_IF_NULL(E_POINTER, count);
  *count = kMaxCount;
  return S_OK;
}

STDMETHODIMP TuningSpaceContainer::put_MaxCount(LONG) { return E_NOTIMPL; }

}  // namespace standin
