#pragma once
// Enumerates a fixed list of tuning spaces, as the container hands it out.

#include "dshow/IndexEnumerator.h"

#include <windows.h>
#include <tuner.h>
#include <wrl/client.h>

#include <vector>

namespace standin {

class TuningSpaceList {
 public:
  using Interface = IEnumTuningSpaces;
  using Item = ITuningSpace*;
  using Spaces = std::vector<Microsoft::WRL::ComPtr<ITuningSpace>>;

  explicit TuningSpaceList(Spaces spaces) : spaces(std::move(spaces)) {}

  static const IID& Iid() noexcept { return IID_IEnumTuningSpaces; }
  // Fails when a test makes the enumeration fail.
  HRESULT Get(ULONG index, ITuningSpace*& space);
  ULONG Count() const noexcept { return static_cast<ULONG>(spaces.size()); }
  static void Free(ITuningSpace*& space) noexcept;

 private:
  Spaces spaces;
};

using TuningSpaceEnumerator = dshow::IndexEnumerator<TuningSpaceList>;

}  // namespace standin
