#pragma once
// An input pin that receives media samples through IMemInputPin. A concrete
// pin implements OnReceive; the checks for flushing and stopped state are
// made here, without taking the state lock.

#include "dshow/BasePin.h"

#include <atomic>

namespace dshow {

class InputPin : public BasePin, public IMemInputPin {
 public:
  FORWARD_IUNKNOWN_TO(BasePin)

  // IPin
  STDMETHODIMP Connect(IPin* receivePin, const AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP EndOfStream() override;
  STDMETHODIMP BeginFlush() override;
  STDMETHODIMP EndFlush() override;

  // IMemInputPin
  STDMETHODIMP GetAllocator(IMemAllocator** allocator) override;
  STDMETHODIMP NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
  STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES* props) override;
  STDMETHODIMP Receive(IMediaSample* sample) override;
  STDMETHODIMP ReceiveMultiple(IMediaSample** samples, long count, long* processed) override;
  STDMETHODIMP ReceiveCanBlock() override;

  HRESULT Active() override;
  HRESULT Inactive() override;

  bool IsFlushing() const noexcept { return flushing.load(); }

 protected:
  InputPin(BaseFilter& filter, const wchar_t* name) noexcept;

  HRESULT QueryOwnInterface(REFIID riid, void** object) override;
  void BreakConnect() override;

  // A sample arrived while the pin streams and does not flush.
  virtual HRESULT OnReceive(IMediaSample* sample) = 0;
  // Flushing began (discard what is pending, unblock Receive) or ended.
  virtual HRESULT OnBeginFlush();
  virtual HRESULT OnEndFlush();
  virtual HRESULT OnEndOfStream();

 private:
  std::atomic<bool> flushing{false};
  std::atomic<bool> streaming{false};
  Microsoft::WRL::ComPtr<IMemAllocator> allocator;
};

}  // namespace dshow
