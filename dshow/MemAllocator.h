#pragma once
// A memory allocator for our input pins. It does what the system's memory
// allocator does, with one difference that matters under Wine: handing out
// and taking back a sample costs no kernel object, only a mutex that is
// normally free, so that 20000 samples a second cost no round trips to the
// Wine server. Waiting for a free sample uses a condition variable.

#include "dshow/MediaSample.h"
#include "win/ComObject.h"

#include <windows.h>
#include <strmif.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

namespace dshow {

class MemAllocator final : public ComObject<IMemAllocator> {
 public:
  static HRESULT CreateInstance(IMemAllocator** out);

  // IMemAllocator
  STDMETHODIMP SetProperties(ALLOCATOR_PROPERTIES* request, ALLOCATOR_PROPERTIES* actual) override;
  STDMETHODIMP GetProperties(ALLOCATOR_PROPERTIES* props) override;
  STDMETHODIMP Commit() override;
  STDMETHODIMP Decommit() override;
  STDMETHODIMP GetBuffer(IMediaSample** sample, REFERENCE_TIME* start, REFERENCE_TIME* end,
                         DWORD flags) override;
  STDMETHODIMP ReleaseBuffer(IMediaSample* sample) override;

 protected:
  HRESULT QueryOwnInterface(REFIID riid, void** object) override;

 private:
  MemAllocator() noexcept = default;
  ~MemAllocator() override;

  HRESULT Allocate();  // lock held
  void FreeMemory();   // lock held, no sample out

  std::mutex lock;
  std::condition_variable sampleFreed;
  ALLOCATOR_PROPERTIES props{};
  bool propertiesSet = false;
  bool committed = false;
  BYTE* memory = nullptr;
  std::vector<std::unique_ptr<MediaSample>> samples;
  std::vector<MediaSample*> freeSamples;
};

}  // namespace dshow
