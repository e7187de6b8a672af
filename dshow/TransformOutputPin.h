#pragma once
// The output pin of a TransformFilter: offers and checks types for what the
// input is connected with; buffer sizes come from the filter.

#include "dshow/OutputPin.h"

namespace dshow {

class TransformFilter;

class TransformOutputPin final : public OutputPin {
 public:
  TransformOutputPin(TransformFilter& owner, const wchar_t* name) noexcept;

  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  HRESULT GetMediaType(int position, MediaType& mt) override;

  // The agreed type; valid while connected.
  const AM_MEDIA_TYPE& ConnectionType() const noexcept { return *connectionType; }

 protected:
  HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES& request) override;
  HRESULT CompleteConnect(IPin* receivePin) override;

 private:
  TransformFilter& owner;
};

}  // namespace dshow
