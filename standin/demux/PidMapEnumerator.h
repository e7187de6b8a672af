#pragma once
// IEnumPIDMap over a snapshot of an output pin's PID map.

#include "dshow/IndexEnumerator.h"
#include "standin/demux/TsDemuxCore.h"

#include <bdaiface.h>

#include <vector>

namespace standin {

class PidMapList {
 public:
  using Interface = IEnumPIDMap;
  using Item = PID_MAP;

  explicit PidMapList(std::vector<PidMapping> mapping) : mapping(std::move(mapping)) {}

  static const IID& Iid() noexcept { return IID_IEnumPIDMap; }
  HRESULT Get(ULONG index, PID_MAP& map) const noexcept;
  ULONG Count() const noexcept { return static_cast<ULONG>(mapping.size()); }
  static void Free(PID_MAP&) noexcept {}

 private:
  std::vector<PidMapping> mapping;
};

using PidMapEnumerator = dshow::IndexEnumerator<PidMapList>;

}  // namespace standin
