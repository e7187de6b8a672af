#pragma once
// The section sink's one input: PSI sections from a demultiplexer pin
// mapped for them, one whole section per sample, each handed on as bytes.

#include <cstdint>
#include <functional>
#include <span>

#include "dshow/InputPin.h"

class SectionSinkInputPin final : public dshow::InputPin {
 public:
  using SectionHandler = std::function<void(std::span<const std::uint8_t> section)>;

  SectionSinkInputPin(dshow::BaseFilter& filter, SectionHandler handler);

  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  HRESULT GetMediaType(int position, dshow::MediaType& mt) override;

 protected:
  HRESULT OnReceive(IMediaSample* sample) override;

 private:
  SectionHandler handler;
};
