#pragma once
// The section sink's one input: what a demultiplexer output mapped for
// tables delivers, handed on as bytes: whole PSI sections, one per sample,
// or the transport packets of the mapped PIDs, as the connection's media
// type says.

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
