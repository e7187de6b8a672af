#include "standin/streambuffer/SinkInputPin.h"

#include "standin/shared/Mpeg2MediaTypes.h"
#include "standin/streambuffer/SinkCore.h"
#include "win/HResultMacros.h"

#include <uuids.h>

namespace standin {

SinkInputPin::SinkInputPin(dshow::BaseFilter& filter, const wchar_t* name,
                           streambuffer::Elementary stream, std::shared_ptr<SinkCore> core) noexcept
    : InputPin(filter, name), stream(stream), core(std::move(core)) {}

HRESULT SinkInputPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  if (stream == streambuffer::Elementary::Video) {
    return mt.majortype == MEDIATYPE_Video && mt.subtype == MEDIASUBTYPE_MPEG2_VIDEO ? S_OK : S_FALSE;
  }
  return mt.majortype == MEDIATYPE_Audio ? S_OK : S_FALSE;
}

HRESULT SinkInputPin::GetMediaType(int position, dshow::MediaType& mt) {
  RETURN_HR_IF(E_INVALIDARG, position < 0);
  if (position > 0) return VFW_S_NO_MORE_ITEMS;
  mt = stream == streambuffer::Elementary::Video ? MakeMpeg2VideoType(720, 480, true) : MakeAc3AudioType();
  return S_OK;
}

HRESULT SinkInputPin::CompleteConnect(IPin* receivePin) {
  RETURN_IF_FAILED(InputPin::CompleteConnect(receivePin));
  if (stream == streambuffer::Elementary::Video) core->SetVideoType(connectionType.Get());
  else core->SetAudioType(connectionType.Get());
  return S_OK;
}

void SinkInputPin::BreakConnect() {
  if (stream == streambuffer::Elementary::Video) core->SetVideoType(nullptr);
  else core->SetAudioType(nullptr);
  InputPin::BreakConnect();
}

HRESULT SinkInputPin::OnReceive(IMediaSample* sample) {
  BYTE* data = nullptr;
  RETURN_IF_FAILED(sample->GetPointer(&data));
  const long length = sample->GetActualDataLength();
  RETURN_HR_IF(E_UNEXPECTED, length < 0 || length > sample->GetSize());
  streambuffer::ReceivedBuffer buffer;
  buffer.data = std::span<const std::uint8_t>(data, static_cast<std::size_t>(length));
  REFERENCE_TIME start = 0, stop = 0;
  if (SUCCEEDED(sample->GetTime(&start, &stop))) buffer.time = start;
  LONGLONG mediaStart = 0, mediaStop = 0;
  if (sample->GetMediaTime(&mediaStart, &mediaStop) == S_OK && mediaStart >= 0) {
    buffer.pts = static_cast<std::uint64_t>(mediaStart);
  }
  buffer.discontinuity = sample->IsDiscontinuity() == S_OK;
  core->Receive(stream, buffer);
  return S_OK;
}

HRESULT SinkInputPin::OnEndOfStream() {
  core->EndOfStream();
  return S_OK;
}

}  // namespace standin
