#pragma once
// The stand-in infinite pin tee: one input, and always one free output more
// than are connected ("Output1", "Output2"...); every sample goes to every
// connected output.

#include "dshow/BaseFilter.h"
#include "standin/demux/TeeInputPin.h"
#include "standin/demux/TeeOutputPin.h"

#include <memory>
#include <mutex>
#include <vector>

namespace standin {

class InfTeeFilter final : public dshow::BaseFilter {
 public:
  static HRESULT CreateInstance(REFIID riid, void** object);

  int PinCount() override;
  dshow::BasePin* PinAt(int index) override;

  // From the pins.
  bool AcceptsInputType(const AM_MEDIA_TYPE& mt);
  HRESULT OnOutputConnected();

  // Runs `call` for each connected output, outside the state lock.
  template <typename Call>
  void ForEachConnectedOutput(Call&& call) {
    std::vector<TeeOutputPin*> connected;
    {
      std::lock_guard lock(StateLock());
      for (auto& pin : outputs) {
        if (pin->IsConnected()) connected.push_back(pin.get());
      }
    }
    for (TeeOutputPin* pin : connected) call(*pin);
  }

 private:
  InfTeeFilter();
  ~InfTeeFilter() override = default;

  HRESULT AddOutput();

  TeeInputPin input;
  // Under the state lock; outputs are only ever added, never removed.
  std::vector<std::unique_ptr<TeeOutputPin>> outputs;
};

}  // namespace standin
