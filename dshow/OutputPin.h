#pragma once
// An output pin that delivers media samples through IMemInputPin: it picks the
// media type on Connect and agrees on an allocator with the input pin.

#include "dshow/BasePin.h"

namespace dshow {

class OutputPin : public BasePin {
 public:
  // IPin
  STDMETHODIMP Connect(IPin* receivePin, const AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP EndOfStream() override;
  STDMETHODIMP BeginFlush() override;
  STDMETHODIMP EndFlush() override;

  HRESULT Active() override;
  HRESULT Inactive() override;

  // Downstream calls, made on the streaming thread (or, for flushing, by the
  // thread that seeks); none of them takes the state lock.
  HRESULT GetDeliveryBuffer(IMediaSample** sample);
  HRESULT Deliver(IMediaSample* sample);
  HRESULT DeliverEndOfStream();
  HRESULT DeliverBeginFlush();
  HRESULT DeliverEndFlush();
  HRESULT DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);

 protected:
  OutputPin(BaseFilter& filter, const wchar_t* name) noexcept;

  // Fills in the buffer count, size and alignment to ask the allocator for;
  // `request` holds what the input pin asked for (zeros when it did not say).
  virtual HRESULT DecideBufferSize(IMemAllocator* allocator,
                                   ALLOCATOR_PROPERTIES& request) = 0;

  HRESULT CompleteConnect(IPin* receivePin) override;
  void BreakConnect() override;

 private:
  HRESULT AttemptConnection(IPin* receivePin, const AM_MEDIA_TYPE& mt);
  HRESULT TryMediaTypes(IPin* receivePin, const AM_MEDIA_TYPE* pattern,
                        IEnumMediaTypes* types);
  HRESULT DecideAllocator(IMemInputPin* input);
  HRESULT InitAllocator(IMemInputPin* input, IMemAllocator* allocator,
                        ALLOCATOR_PROPERTIES request, bool readOnly);

  // Set while connected; read without the state lock by the streaming thread,
  // which only runs while the filter is active (and so connected).
  Microsoft::WRL::ComPtr<IMemInputPin> input;
  Microsoft::WRL::ComPtr<IMemAllocator> allocator;
};

}  // namespace dshow
