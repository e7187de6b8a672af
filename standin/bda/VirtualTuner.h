#pragma once
// The virtual BDA tuner: tuned by the network provider to an RF channel of
// the virtual antenna, it delivers that channel's transport stream from its
// output pin, in real time and looping, and tells the stand-ins downstream
// which program of it is selected. A channel that the antenna does not carry
// delivers nothing and has no signal. Like a real tuner it takes a moment to
// lock on a new RF channel: until then it reports no signal and delivers
// nothing.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

#include "dshow/BaseFilter.h"
#include "standin/shared/StandinInterfaces.h"
#include "standin/bda/TunerInputPin.h"
#include "standin/bda/TunerOutputPin.h"
#include "standin/bda/VirtualTunerControl.h"

namespace standin {

class VirtualTuner final : public dshow::BaseFilter,
                           public IStandinTunedProgram,
                           public IVirtualTunerControl {
 public:
  static HRESULT CreateInstance(REFIID riid, void** object);

  FORWARD_IUNKNOWN_TO(dshow::BaseFilter)

  // IStandinTunedProgram
  STDMETHODIMP GetTunedProgram(TunedProgram* tuned) override;

  // IMediaFilter: a live source cannot cue, so the graph does not wait for
  // a picture (there may be no signal) before it runs.
  STDMETHODIMP GetState(DWORD timeoutMs, FILTER_STATE* state) override;

  // IVirtualTunerControl
  STDMETHODIMP Tune(LONG physical, LONG major, LONG minor) override;
  STDMETHODIMP GetSignalStrength(LONG* strength) override;

  int PinCount() override { return 2; }
  dshow::BasePin* PinAt(int index) override;

  // What the output pin's worker needs of the tuning, copied under the
  // tuning lock.
  struct Tuning {
    ULONG generation = 0;  // 0: never tuned
    bool carried = false;
    std::string file;
    std::chrono::steady_clock::time_point locked;  // when the stream may flow
  };

  // How long the tuner takes to lock on a new RF channel.
  static constexpr std::chrono::milliseconds kLockTime{300};
  Tuning CurrentTuning();

  // Waits until `due`; false when the tuning changed from `generation` or
  // the output pin is stopping before then.
  bool WaitUntil(std::chrono::steady_clock::time_point due, ULONG generation);
  void SetStopping(bool stopping);
  bool IsStopping();

 protected:
  HRESULT QueryOwnInterface(REFIID riid, void** object) override;

 private:
  VirtualTuner();
  ~VirtualTuner() override = default;

  TunerInputPin input;
  TunerOutputPin output;

  // The tuning lock: taken by the caller of Tune and by the worker, never
  // while holding the state lock.
  std::mutex tuneLock;
  std::condition_variable tuneChanged;
  TunedProgram program{};
  LONG signal = 0;
  Tuning tuning;
  bool stopping = false;
};

}  // namespace standin
