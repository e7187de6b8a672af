#include "standin/decoders/VideoDecoderFilter.h"

#include "standin/decoders/DecoderGuids.h"
#include "win/ComObject.h"
#include "win/HResultMacros.h"
#include "standin/shared/StandinSettings.h"
#include "standin/decoders/TestCard.h"
#include "standin/decoders/VideoTypes.h"

#include <bdaiface.h>
#include <uuids.h>

#include <cstdio>

namespace decoders {

using Microsoft::WRL::ComPtr;

namespace {

constexpr wchar_t kInputName[] = L"MPEG-2 Video";
constexpr wchar_t kOutputName[] = L"Video";
// The pictures keep the size the output was connected with: Wine's VMR-7
// takes a new size in the middle of the stream (QueryAccept says yes) but
// goes on drawing the old one, so a change would garble the picture. The
// size comes from the input's format block, else it is HD; a stream of
// another size gets its card drawn at the connected size, naming its own,
// and the stand-in renderer learns the stream's size (IStandinVideoSize).
// Room for an HD picture whatever the connected size, so that a renderer
// asking for longer rows still fits.
constexpr int kDefaultWidth = 1920;
constexpr int kDefaultHeight = 1080;
constexpr long kMaxPictureBytes = 1920L * 1088 * 4;
constexpr long kBuffers = 4;
constexpr std::uint64_t kPictureTicks90k = 3003;  // 29.97 pictures a second
constexpr std::uint64_t kPtsMask = (1ull << 33) - 1;

// Steps a test can make fail through the stand-in settings ("Fail").
constexpr char kFailCreate[] = "VideoDecoder.Create";
constexpr char kFailConnect[] = "VideoDecoder.Connect";
constexpr char kFailConnectOutput[] = "VideoDecoder.ConnectOutput";

std::string SizeText(int width, int height) {
  return std::to_string(width) + " x " + std::to_string(height);
}

// The first PID the demultiplexer's pin has mapped, or 0.
ULONG FindMappedPid(IPin* upstream) {
  ComPtr<IMPEG2PIDMap> map;
  ComPtr<IEnumPIDMap> pids;
  if (upstream == nullptr || FAILED(ComPtr<IPin>(upstream).As(&map)) ||
      FAILED(map->EnumPIDMap(&pids)) || pids == nullptr) {
    return 0;
  }
  PID_MAP entry{};
  ULONG fetched = 0;
  if (pids->Next(1, &entry, &fetched) != S_OK || fetched != 1) return 0;
  return entry.ulPID;
}

// The filter of the pin that `output` is connected to, when it takes the
// stream's size.
ComPtr<standin::IStandinVideoSize> FindSizeTaker(IPin* output) {
  ComPtr<IPin> peer;
  PIN_INFO info{};
  if (output == nullptr || FAILED(output->ConnectedTo(&peer)) ||
      FAILED(peer->QueryPinInfo(&info)) || info.pFilter == nullptr) {
    return nullptr;
  }
  ComPtr<IBaseFilter> renderer;
  renderer.Attach(info.pFilter);  // QueryPinInfo's reference
  ComPtr<standin::IStandinVideoSize> taker;
  renderer.As(&taker);  // not the stand-in's renderer: nobody to tell
  return taker;
}

}  // namespace

VideoDecoderFilter::VideoDecoderFilter()
    : TransformFilter(kVideoDecoderClsid, kInputName, kOutputName, true) {}

HRESULT VideoDecoderFilter::CreateInstance(REFIID riid, void** object) try {
  RETURN_HR_IF_NULL(E_POINTER, object);
  *object = nullptr;
  RETURN_HR_IF(E_FAIL, standin::ShouldFail(kFailCreate));
  return HandOutNew(new VideoDecoderFilter(), riid, object);
}
CATCH_RETURN()

HRESULT VideoDecoderFilter::CheckInputType(const AM_MEDIA_TYPE& mt) {
  return IsMpeg2Video(mt) ? S_OK : S_FALSE;
}

HRESULT VideoDecoderFilter::CheckOutputType(const AM_MEDIA_TYPE&, const AM_MEDIA_TYPE& output) {
  int width = 0, height = 0, stride = 0;
  bool bottomUp = true;
  return ReadRgb32Layout(output, width, height, stride, bottomUp) ? S_OK : S_FALSE;
}

HRESULT VideoDecoderFilter::GetOutputType(const AM_MEDIA_TYPE& input, int position,
                                          dshow::MediaType& mt) {
  if (position > 0) return VFW_S_NO_MORE_ITEMS;
  int width = kDefaultWidth, height = kDefaultHeight;
  if (!FrameSizeFromFormat(input, width, height) ||
      static_cast<long long>(width) * height * 4 > kMaxPictureBytes) {
    width = kDefaultWidth;
    height = kDefaultHeight;
  }
  return MakeRgb32Type(width, height, mt);
}

HRESULT VideoDecoderFilter::DecideBufferSize(IMemAllocator*, ALLOCATOR_PROPERTIES& request) {
  request.cBuffers = std::max(request.cBuffers, kBuffers);
  request.cbBuffer = std::max(request.cbBuffer, kMaxPictureBytes);
  request.cbAlign = std::max(request.cbAlign, 1L);
  return S_OK;
}

HRESULT VideoDecoderFilter::CompleteConnect(PIN_DIRECTION direction, IPin*) {
  if (direction == PINDIR_INPUT) {
    RETURN_HR_IF(VFW_E_TYPE_NOT_ACCEPTED, standin::ShouldFail(kFailConnect));
  } else {
    RETURN_HR_IF(VFW_E_TYPE_NOT_ACCEPTED, standin::ShouldFail(kFailConnectOutput));
  }
  return S_OK;
}

// What the card names is looked up before streaming starts, outside our
// locks: the walk upstream calls into the other filters.
STDMETHODIMP VideoDecoderFilter::Pause() try {
  if (IsStopped()) {
    ComPtr<standin::IStandinTunedProgram> foundTuner;
    // No virtual tuner upstream (a file played back): the PID names the program.
    standin::FindUpstreamTunedProgram(this, &foundTuner);
    ComPtr<IPin> upstream;
    ULONG foundPid = 0;
    if (SUCCEEDED(Input().ConnectedTo(&upstream))) foundPid = FindMappedPid(upstream.Get());
    ComPtr<standin::IStandinVideoSize> foundTaker = FindSizeTaker(&Output());
    std::lock_guard lock(StreamLock());
    tuner = foundTuner;
    pid = foundPid;
    sizeTaker = foundTaker;
  }
  return TransformFilter::Pause();
}
CATCH_RETURN()

HRESULT VideoDecoderFilter::StartStreaming() {
  scanner.Reset();
  toldSequence = {};
  if (!ReadRgb32Layout(Output().ConnectionType(), layout.width, layout.height, layout.stride,
                       layout.bottomUp)) {
    return VFW_E_TYPE_NOT_ACCEPTED;
  }
  return S_OK;
}

void VideoDecoderFilter::StopStreaming() {
  counters.ReportVideo(Report(), true);
  tuner.Reset();
  sizeTaker.Reset();
}

void VideoDecoderFilter::OnEndFlush() {
  scanner.Reset();
}

HRESULT VideoDecoderFilter::Receive(IMediaSample* sample) try {
  // A new type from upstream (the demultiplexer's, at a change of picture
  // size) must still be MPEG-2 video; the size itself is read from the
  // sequence headers that follow.
  AM_MEDIA_TYPE* changed = nullptr;
  if (sample->GetMediaType(&changed) == S_OK && changed != nullptr) {
    const bool accepted = IsMpeg2Video(*changed);
    dshow::DeleteMediaType(changed);
    RETURN_HR_IF(VFW_E_TYPE_NOT_ACCEPTED, !accepted);
  }
  if (sample->IsDiscontinuity() == S_OK) scanner.Reset();
  BYTE* data = nullptr;
  RETURN_IF_FAILED(sample->GetPointer(&data));
  const long length = sample->GetActualDataLength();
  const int pictures =
      length > 0 ? scanner.Feed({data, static_cast<std::size_t>(length)}) : 0;
  // Without a sequence header no picture can be shown: a decoder waits for one.
  if (pictures == 0 || !scanner.HasSequence()) return S_OK;
  TellStreamSize();

  LONGLONG mediaStart = 0, mediaStop = 0;
  REFERENCE_TIME start = 0, stop = 0;
  if (sample->GetMediaTime(&mediaStart, &mediaStop) == S_OK) {
    clock90k = static_cast<std::uint64_t>(mediaStart) & kPtsMask;
  } else if (SUCCEEDED(sample->GetTime(&start, &stop)) && start >= 0) {
    clock90k = static_cast<std::uint64_t>(start) * 9 / 1000;
  } else {
    clock90k += kPictureTicks90k;
  }

  if (IsLateToDrop(sample)) {
    // Decoded all the same: the counters tell how far decoding has come.
    frames += static_cast<DWORD>(pictures);
    clock90k += (pictures - 1) * kPictureTicks90k;
    counters.ReportVideo(Report(), false);
    return S_OK;
  }
  for (int n = 0; n < pictures; ++n) {
    const HRESULT hr = DeliverPicture(sample, n == 0, clock90k + n * kPictureTicks90k);
    if (hr != S_OK) return hr;  // stopping or flushing downstream: stop here too
  }
  clock90k += (pictures - 1) * kPictureTicks90k;
  return S_OK;
}
CATCH_RETURN()

// A renderer that has fallen behind (a loaded machine) is handed late
// pictures back to back and never catches up, and the drawing starves the
// rest of the program. As decoders do, pictures already late when they are
// decoded are dropped, but never more than a few in a row, so that the
// picture keeps moving.
bool VideoDecoderFilter::IsLateToDrop(IMediaSample* sample) {
  REFERENCE_TIME start = 0, stop = 0;
  const std::optional<REFERENCE_TIME> now = StreamTimeNow();
  const bool late = now && SUCCEEDED(sample->GetTime(&start, &stop)) && *now - start > kDropLateness;
  if (!late || droppedInARow >= kMostDroppedInARow) {
    droppedInARow = 0;
    return false;
  }
  ++droppedInARow;
  return true;
}

void VideoDecoderFilter::TellStreamSize() {
  const Mpeg2Sequence& now = scanner.Sequence();
  if (!sizeTaker || now == toldSequence) return;
  const PictureAspect aspect = DisplayAspect(now);
  sizeTaker->SetStreamVideoSize(now.width, now.height, aspect.x, aspect.y);
  toldSequence = now;
}

HRESULT VideoDecoderFilter::AdoptType(const AM_MEDIA_TYPE& mt) {
  Layout changed;
  RETURN_HR_IF(VFW_E_TYPE_NOT_ACCEPTED, !ReadRgb32Layout(mt, changed.width, changed.height,
                                                         changed.stride, changed.bottomUp));
  layout = changed;
  return S_OK;
}

HRESULT VideoDecoderFilter::DeliverPicture(IMediaSample* input, bool first,
                                           std::uint64_t pts90k) {
  ComPtr<IMediaSample> out;
  RETURN_IF_FAILED(Output().GetDeliveryBuffer(&out));

  // The renderer may give the buffer a type of its own (another row length).
  AM_MEDIA_TYPE* given = nullptr;
  if (out->GetMediaType(&given) == S_OK && given != nullptr) {
    const HRESULT adopted = AdoptType(*given);
    dshow::DeleteMediaType(given);
    RETURN_IF_FAILED(adopted);
  }

  const long bytes = static_cast<long>(layout.stride) * layout.height * 4;
  BYTE* pixels = nullptr;
  RETURN_IF_FAILED(out->GetPointer(&pixels));
  RETURN_HR_IF(VFW_E_BUFFER_OVERFLOW, out->GetSize() < bytes);

  int pattern = 0;
  const std::vector<std::string> lines = {
      ProgramLine(pattern), SizeText(scanner.Sequence().width, scanner.Sequence().height),
      TestCard::ClockText(pts90k)};
  auto* top = reinterpret_cast<std::uint32_t*>(pixels);
  std::ptrdiff_t rowStep = layout.stride;
  if (layout.bottomUp) {
    top += static_cast<std::ptrdiff_t>(layout.height - 1) * layout.stride;
    rowStep = -rowStep;
  }
  TestCard::Draw(top, layout.width, layout.height, rowStep, pattern, lines);
  RETURN_IF_FAILED(out->SetActualDataLength(bytes));

  // The first picture of the sample has its times; the rest of them are timed
  // by the renderer's arrival.
  REFERENCE_TIME start = 0, stop = 0;
  const HRESULT timed = first ? input->GetTime(&start, &stop) : VFW_E_SAMPLE_TIME_NOT_SET;
  if (timed == S_OK) {
    out->SetTime(&start, &stop);
  } else if (timed == VFW_S_NO_STOP_TIME) {
    stop = start + 333667;
    out->SetTime(&start, &stop);
  } else {
    out->SetTime(nullptr, nullptr);
  }
  out->SetSyncPoint(TRUE);
  out->SetDiscontinuity(first && input->IsDiscontinuity() == S_OK ? TRUE : FALSE);

  const HRESULT hr = DeliverOutput(out.Get());
  ++frames;
  lastClock = lines[2];
  lastProgram = lines[0];
  counters.ReportVideo(Report(), false);
  return hr;
}

VideoReport VideoDecoderFilter::Report() const {
  VideoReport report;
  report.frames = frames;
  report.clock = lastClock;
  report.program = lastProgram;
  if (scanner.HasSequence()) {
    report.size = SizeText(scanner.Sequence().width, scanner.Sequence().height);
  }
  return report;
}

std::string VideoDecoderFilter::ProgramLine(int& pattern) {
  char text[64];
  standin::TunedProgram tuned{};
  if (tuner && SUCCEEDED(tuner->GetTunedProgram(&tuned))) {
    if (tuned.programNumber == 0) {
      pattern = 0;
      return "NOT TUNED";
    }
    // The pattern follows the program; a minor channel of -1 is shown as 1,
    // as the suite shows it. A major channel of -1 (the physical channel's
    // first program was asked for) is not known: the physical one is named.
    pattern = static_cast<int>(tuned.physicalChannel * 8 + static_cast<long>(tuned.programNumber));
    const long minor = tuned.minorChannel < 0 ? 1 : tuned.minorChannel;
    if (tuned.majorChannel < 0) {
      std::snprintf(text, sizeof text, "RF %ld PROGRAM %lu", static_cast<long>(tuned.physicalChannel),
                    static_cast<unsigned long>(tuned.programNumber));
    } else {
      std::snprintf(text, sizeof text, "%ld-%ld PROGRAM %lu", static_cast<long>(tuned.majorChannel),
                    minor, static_cast<unsigned long>(tuned.programNumber));
    }
    return text;
  }
  if (pid != 0) {
    pattern = static_cast<int>(pid);
    std::snprintf(text, sizeof text, "PID 0X%lX", static_cast<unsigned long>(pid));
    return text;
  }
  pattern = 0;
  return "NO PROGRAM";
}

}  // namespace decoders
