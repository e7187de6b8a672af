#include "standin/bda/VirtualTuner.h"

#include "standin/bda/AntennaLoader.h"
#include "standin/bda/BdaGuids.h"
#include "standin/bda/FailSteps.h"
#include "win/ComObject.h"
#include "win/HResultMacros.h"

namespace standin {

VirtualTuner::VirtualTuner() : BaseFilter(kVirtualTunerClsid), input(*this), output(*this) {}

HRESULT VirtualTuner::CreateInstance(REFIID riid, void** object) try {
  RETURN_HR_IF_NULL(E_POINTER, object);
  *object = nullptr;
  RETURN_HR_IF(E_FAIL, StepFails(steps::kTunerCreate));
  return HandOutNew(new VirtualTuner(), riid, object);
}
CATCH_RETURN()

HRESULT VirtualTuner::QueryOwnInterface(REFIID riid, void** object) {
  if (riid == IID_IStandinTunedProgram) return HandOut(static_cast<IStandinTunedProgram*>(this), object);
  if (riid == IID_IVirtualTunerControl) return HandOut(static_cast<IVirtualTunerControl*>(this), object);
  return BaseFilter::QueryOwnInterface(riid, object);
}

dshow::BasePin* VirtualTuner::PinAt(int index) {
  if (index == 0) return &input;
  if (index == 1) return &output;
  return nullptr;
}

STDMETHODIMP VirtualTuner::GetState(DWORD timeoutMs, FILTER_STATE* state) {
  RETURN_IF_FAILED(BaseFilter::GetState(timeoutMs, state));
  return *state == State_Paused ? VFW_S_CANT_CUE : S_OK;
}

STDMETHODIMP VirtualTuner::GetTunedProgram(TunedProgram* tuned) {
  RETURN_HR_IF_NULL(E_POINTER, tuned);
  std::lock_guard lock(tuneLock);
  *tuned = program;
  return S_OK;
}

// The antenna is read before the lock is taken: the worker never waits for
// a file to be read.
STDMETHODIMP VirtualTuner::Tune(LONG physical, LONG major, LONG minor) try {
  const AntennaTuning received = LoadAntenna().Tune(physical, major, minor);
  {
    std::lock_guard lock(tuneLock);
    // Another minor channel of the same RF channel needs no new lock.
    if (program.generation == 0 || physical != program.physicalChannel) {
      tuning.locked = std::chrono::steady_clock::now() + kLockTime;
    }
    program.physicalChannel = physical;
    program.majorChannel = major;
    program.minorChannel = minor;
    program.programNumber = received.programNumber;
    ++program.generation;
    signal = received.signal;
    tuning.generation = program.generation;
    tuning.carried = received.carried;
    tuning.file = received.file;
  }
  tuneChanged.notify_all();
  return S_OK;
}
CATCH_RETURN()

STDMETHODIMP VirtualTuner::GetSignalStrength(LONG* strength) {
  RETURN_HR_IF_NULL(E_POINTER, strength);
  std::lock_guard lock(tuneLock);
  *strength = std::chrono::steady_clock::now() < tuning.locked ? 0 : signal;
  return S_OK;
}

VirtualTuner::Tuning VirtualTuner::CurrentTuning() {
  std::lock_guard lock(tuneLock);
  return tuning;
}

bool VirtualTuner::WaitUntil(std::chrono::steady_clock::time_point due, ULONG generation) {
  std::unique_lock lock(tuneLock);
  const bool interrupted = tuneChanged.wait_until(
      lock, due, [&] { return stopping || tuning.generation != generation; });
  return !interrupted;
}

void VirtualTuner::SetStopping(bool value) {
  {
    std::lock_guard lock(tuneLock);
    stopping = value;
  }
  tuneChanged.notify_all();
}

bool VirtualTuner::IsStopping() {
  std::lock_guard lock(tuneLock);
  return stopping;
}

}  // namespace standin
