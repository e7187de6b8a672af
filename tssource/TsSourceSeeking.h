#pragma once
// The push source's seeking object: durations and positions come from byte
// counts at the assumed rate; a new start moves the file to the block of the
// whole second asked for, with the streaming thread stopped around the move.

#include "dshow/SourceSeeking.h"

namespace tssource {

class SourceFile;
class TsSourcePin;

class TsSourceSeeking final : public dshow::SourceSeeking {
 public:
  TsSourceSeeking(IUnknown& owner, TsSourcePin& pin, SourceFile& file) noexcept;

 protected:
  REFERENCE_TIME Duration() override;
  HRESULT ChangeStart(REFERENCE_TIME requestedStart) override;
  HRESULT ChangeStop() override;
  HRESULT ChangeRate() override;

 private:
  TsSourcePin& pin;
  SourceFile& file;
};

}  // namespace tssource
