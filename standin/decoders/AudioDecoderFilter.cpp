#include "standin/decoders/AudioDecoderFilter.h"

#include "standin/decoders/DecoderGuids.h"
#include "win/ComObject.h"
#include "win/HResultMacros.h"
#include "standin/shared/StandinSettings.h"

#include <mmreg.h>
#include <uuids.h>

#include <cstring>

namespace decoders {

using Microsoft::WRL::ComPtr;

namespace {

constexpr wchar_t kInputName[] = L"AC-3";
constexpr wchar_t kOutputName[] = L"PCM";
constexpr int kSampleRate = 48000;
constexpr int kChannels = 2;
constexpr int kBytesPerSample = 2 * kChannels;
constexpr long kFrameBytes = Ac3FrameCounter::kSamplesPerFrame * kBytesPerSample;
// One AC-3 frame lasts 32 ms; a PES packet may hold several.
constexpr int kMaxFramesPerBuffer = 8;
constexpr long kBuffers = 8;

// Steps a test can make fail through the stand-in settings ("Fail").
constexpr char kFailCreate[] = "AudioDecoder.Create";
constexpr char kFailConnect[] = "AudioDecoder.Connect";
constexpr char kFailConnectOutput[] = "AudioDecoder.ConnectOutput";

// {00002000-0000-0010-8000-00AA00389B71}: the AC-3 wave format tag as a
// subtype, which some sources use in place of the MPEG-2 one.
constexpr GUID kSubtypeAc3WaveTag = {
    0x00002000, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

}  // namespace

AudioDecoderFilter::AudioDecoderFilter()
    : TransformFilter(kAudioDecoderClsid, kInputName, kOutputName, true) {}

HRESULT AudioDecoderFilter::CreateInstance(REFIID riid, void** object) try {
  RETURN_HR_IF_NULL(E_POINTER, object);
  *object = nullptr;
  RETURN_HR_IF(E_FAIL, standin::ShouldFail(kFailCreate));
  return HandOutNew(new AudioDecoderFilter(), riid, object);
}
CATCH_RETURN()

// AC-3 under the names Windows graphs give it: the MPEG-2 subtype (from a
// demultiplexer, as audio or as PES), the S/PDIF subtype and the wave tag.
HRESULT AudioDecoderFilter::CheckInputType(const AM_MEDIA_TYPE& mt) {
  if (mt.majortype != MEDIATYPE_Audio && mt.majortype != MEDIATYPE_MPEG2_PES) return S_FALSE;
  const bool ac3 = mt.subtype == MEDIASUBTYPE_DOLBY_AC3 ||
                   mt.subtype == MEDIASUBTYPE_DOLBY_AC3_SPDIF || mt.subtype == kSubtypeAc3WaveTag;
  return ac3 ? S_OK : S_FALSE;
}

HRESULT AudioDecoderFilter::CheckOutputType(const AM_MEDIA_TYPE&, const AM_MEDIA_TYPE& output) {
  if (output.majortype != MEDIATYPE_Audio || output.subtype != MEDIASUBTYPE_PCM ||
      output.formattype != FORMAT_WaveFormatEx || output.pbFormat == nullptr ||
      output.cbFormat < sizeof(WAVEFORMATEX)) {
    return S_FALSE;
  }
  const auto* wave = reinterpret_cast<const WAVEFORMATEX*>(output.pbFormat);
  const bool ours = wave->wFormatTag == WAVE_FORMAT_PCM && wave->nChannels == kChannels &&
                    wave->nSamplesPerSec == kSampleRate && wave->wBitsPerSample == 16;
  return ours ? S_OK : S_FALSE;
}

HRESULT AudioDecoderFilter::GetOutputType(const AM_MEDIA_TYPE&, int position,
                                          dshow::MediaType& mt) {
  if (position > 0) return VFW_S_NO_MORE_ITEMS;
  WAVEFORMATEX wave{};
  wave.wFormatTag = WAVE_FORMAT_PCM;
  wave.nChannels = kChannels;
  wave.nSamplesPerSec = kSampleRate;
  wave.wBitsPerSample = 16;
  wave.nBlockAlign = kBytesPerSample;
  wave.nAvgBytesPerSec = kSampleRate * kBytesPerSample;

  AM_MEDIA_TYPE type{};
  type.majortype = MEDIATYPE_Audio;
  type.subtype = MEDIASUBTYPE_PCM;
  type.bFixedSizeSamples = TRUE;
  type.lSampleSize = kBytesPerSample;
  type.formattype = FORMAT_WaveFormatEx;
  type.cbFormat = sizeof wave;
  type.pbFormat = reinterpret_cast<BYTE*>(&wave);
  return mt.Set(type);
}

HRESULT AudioDecoderFilter::DecideBufferSize(IMemAllocator*, ALLOCATOR_PROPERTIES& request) {
  request.cBuffers = std::max(request.cBuffers, kBuffers);
  request.cbBuffer = std::max(request.cbBuffer, kFrameBytes * kMaxFramesPerBuffer);
  request.cbAlign = std::max(request.cbAlign, static_cast<long>(kBytesPerSample));
  return S_OK;
}

HRESULT AudioDecoderFilter::CompleteConnect(PIN_DIRECTION direction, IPin*) {
  const char* step = direction == PINDIR_INPUT ? kFailConnect : kFailConnectOutput;
  RETURN_HR_IF(VFW_E_TYPE_NOT_ACCEPTED, standin::ShouldFail(step));
  return S_OK;
}

HRESULT AudioDecoderFilter::StartStreaming() {
  counter.Reset();
  return S_OK;
}

void AudioDecoderFilter::StopStreaming() { counters.ReportAudio(frames, true); }

void AudioDecoderFilter::OnEndFlush() { counter.Reset(); }

HRESULT AudioDecoderFilter::Receive(IMediaSample* sample) try {
  if (sample->IsDiscontinuity() == S_OK) counter.Reset();
  BYTE* data = nullptr;
  RETURN_IF_FAILED(sample->GetPointer(&data));
  const long length = sample->GetActualDataLength();
  int whole = length > 0 ? counter.Feed({data, static_cast<std::size_t>(length)}) : 0;
  bool first = true;
  // Usually one buffer; a sample of many frames is spread over several.
  while (whole > 0) {
    const int take = std::min(whole, kMaxFramesPerBuffer);
    whole -= take;
    ComPtr<IMediaSample> out;
    RETURN_IF_FAILED(Output().GetDeliveryBuffer(&out));
    BYTE* pcm = nullptr;
    RETURN_IF_FAILED(out->GetPointer(&pcm));
    const long bytes = kFrameBytes * take;
    RETURN_HR_IF(VFW_E_BUFFER_OVERFLOW, out->GetSize() < bytes);
    std::memset(pcm, 0, static_cast<std::size_t>(bytes));
    RETURN_IF_FAILED(out->SetActualDataLength(bytes));

    // The input's times go with its first frames; further buffers follow on.
    REFERENCE_TIME start = 0, stop = 0;
    const HRESULT timed = first ? sample->GetTime(&start, &stop) : VFW_E_SAMPLE_TIME_NOT_SET;
    if (SUCCEEDED(timed)) {
      stop = start + 10000000LL * Ac3FrameCounter::kSamplesPerFrame * take / kSampleRate;
      out->SetTime(&start, &stop);
    } else {
      out->SetTime(nullptr, nullptr);
    }
    out->SetSyncPoint(TRUE);
    out->SetDiscontinuity(first && sample->IsDiscontinuity() == S_OK ? TRUE : FALSE);
    first = false;

    const HRESULT hr = DeliverOutput(out.Get());
    frames += static_cast<DWORD>(take);
    counters.ReportAudio(frames, false);
    if (hr != S_OK) return hr;
  }
  return S_OK;
}
CATCH_RETURN()

}  // namespace decoders
