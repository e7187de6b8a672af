#include "standin/bda/VirtualCapture.h"

#include "standin/bda/BdaGuids.h"
#include "standin/bda/FailSteps.h"
#include "win/ComObject.h"
#include "win/HResultMacros.h"

namespace standin {

VirtualCapture::VirtualCapture()
    : BaseFilter(kVirtualCaptureClsid), output(*this), input(*this, output) {}

HRESULT VirtualCapture::CreateInstance(REFIID riid, void** object) try {
  RETURN_HR_IF_NULL(E_POINTER, object);
  *object = nullptr;
  RETURN_HR_IF(E_FAIL, StepFails(steps::kCaptureCreate));
  return HandOutNew(new VirtualCapture(), riid, object);
}
CATCH_RETURN()

dshow::BasePin* VirtualCapture::PinAt(int index) {
  if (index == 0) return &input;
  if (index == 1) return &output;
  return nullptr;
}

}  // namespace standin
