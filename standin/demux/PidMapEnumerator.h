#pragma once
// IEnumPIDMap over a snapshot of an output pin's PID map.

#include "standin/demux/TsDemuxCore.h"

#include <bdaiface.h>

#include <atomic>
#include <vector>

namespace standin {

class PidMapEnumerator final : public IEnumPIDMap {
 public:
  static HRESULT CreateInstance(std::vector<PidMapping> mapping, ULONG position, IEnumPIDMap** out);

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IEnumPIDMap
  STDMETHODIMP Next(ULONG count, PID_MAP* maps, ULONG* fetched) override;
  STDMETHODIMP Skip(ULONG count) override;
  STDMETHODIMP Reset() override;
  STDMETHODIMP Clone(IEnumPIDMap** out) override;

 private:
  PidMapEnumerator(std::vector<PidMapping> mapping, ULONG position);
  ~PidMapEnumerator();

  const std::vector<PidMapping> mapping;
  ULONG position;
  std::atomic<ULONG> refCount{1};
};

}  // namespace standin
