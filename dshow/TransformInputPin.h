#pragma once
// The input pin of a TransformFilter: types, samples, end of stream and
// flushing all go to the filter, which passes them on through its output.

#include "dshow/InputPin.h"

namespace dshow {

class TransformFilter;

class TransformInputPin final : public InputPin {
 public:
  TransformInputPin(TransformFilter& owner, const wchar_t* name) noexcept;

  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

  // The agreed type; valid while connected (read under the state lock, or on
  // the streaming thread, which runs only while connected).
  const AM_MEDIA_TYPE& ConnectionType() const noexcept { return *connectionType; }

 protected:
  HRESULT CompleteConnect(IPin* receivePin) override;
  HRESULT OnReceive(IMediaSample* sample) override;
  HRESULT OnEndOfStream() override;
  HRESULT OnBeginFlush() override;
  HRESULT OnEndFlush() override;

 private:
  TransformFilter& owner;
};

}  // namespace dshow
