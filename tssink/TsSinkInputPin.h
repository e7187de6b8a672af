#pragma once
// The dump filter's input pin "Input": takes any byte stream (the full
// transport stream) and hands every sample to the file writer. A Receive
// holds its own reference to the writer, so stopping never waits for it.

#include "dshow/InputPin.h"
#include "tssink/PacketFileWriter.h"

#include <memory>
#include <mutex>
#include <string>

namespace tssink {

class TsSinkInputPin final : public dshow::InputPin {
 public:
  explicit TsSinkInputPin(dshow::BaseFilter& filter) noexcept;

  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  HRESULT GetMediaType(int position, dshow::MediaType& mt) override;

  // IMemInputPin
  STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES* props) override;

  // Opens the file and starts the writer (Active) or finishes the file
  // (Inactive).
  HRESULT Active() override;
  HRESULT Inactive() override;

  // Takes effect at the next start; the first start after a new name
  // creates the file afresh, later ones append to it.
  void SetFileName(const std::wstring& name);

 protected:
  HRESULT OnReceive(IMediaSample* sample) override;
  HRESULT OnBeginFlush() override;
  HRESULT OnEndFlush() override;

 private:
  std::shared_ptr<PacketFileWriter> CurrentWriter();

  std::mutex writerLock;
  std::shared_ptr<PacketFileWriter> writer;  // set while active
  std::wstring fileName;                     // under the filter's state lock
  bool createAfresh = true;
};

}  // namespace tssink
