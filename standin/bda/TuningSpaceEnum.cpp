#include "standin/bda/TuningSpaceEnum.h"

#include "standin/bda/FailSteps.h"

namespace standin {

HRESULT TuningSpaceList::Get(ULONG index, ITuningSpace*& space) {
  RETURN_HR_IF(E_FAIL, StepFails(steps::kTuningSpacesNext));
  if (index >= spaces.size()) return S_FALSE;
  return spaces[index].CopyTo(&space);
}

void TuningSpaceList::Free(ITuningSpace*& space) noexcept {
  space->Release();
  space = nullptr;
}

}  // namespace standin
