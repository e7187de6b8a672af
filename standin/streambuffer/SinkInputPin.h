#pragma once
// An input pin of the stream-buffer sink: the video pin takes MPEG-2 video as
// the demultiplexer or the video stream analyser delivers it, the audio pin
// AC-3 (or other audio). What arrives goes to the sink's core.

#include "dshow/InputPin.h"
#include "standin/streambuffer/RecordingFormat.h"

#include <memory>

namespace standin {

class SinkCore;

class SinkInputPin final : public dshow::InputPin {
 public:
  SinkInputPin(dshow::BaseFilter& filter, const wchar_t* name, streambuffer::Elementary stream,
               std::shared_ptr<SinkCore> core) noexcept;

  HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
  HRESULT GetMediaType(int position, dshow::MediaType& mt) override;

 protected:
  HRESULT OnReceive(IMediaSample* sample) override;
  HRESULT OnEndOfStream() override;
  HRESULT CompleteConnect(IPin* receivePin) override;
  void BreakConnect() override;

 private:
  const streambuffer::Elementary stream;
  const std::shared_ptr<SinkCore> core;
};

}  // namespace standin
