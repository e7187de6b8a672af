#include "standin/streambuffer/RecorderObject.h"

#include "standin/streambuffer/RecordingFile.h"
#include "standin/streambuffer/SinkCore.h"
#include "win/HResultMacros.h"

namespace standin {


HRESULT RecorderObject::Create(std::shared_ptr<SinkCore> core, std::wstring path, IUnknown** out) try {
  return HandOutNew(new RecorderObject(std::move(core), std::move(path)), IID_IUnknown,
                    reinterpret_cast<void**>(out));
}
CATCH_RETURN()

HRESULT RecorderObject::QueryOwnInterface(REFIID riid, void** object) {
  return HandOutInterface(riid, object,
                          {{IID_IUnknown, static_cast<IStreamBufferRecordControl*>(this)},
                           {IID_IStreamBufferRecordControl, static_cast<IStreamBufferRecordControl*>(this)}});
}

namespace {
// A content recording starts and stops between now and 5 s ahead.
constexpr REFERENCE_TIME kLatestContentTime = 5 * 10'000'000LL;
bool ContentTime(REFERENCE_TIME t) { return t >= 0 && t <= kLatestContentTime; }
}  // namespace

RecorderObject::RecorderObject(std::shared_ptr<SinkCore> core, std::wstring path)
    : core(std::move(core)), path(std::move(path)) {
  this->core->RecorderMade();
}

RecorderObject::~RecorderObject() {
  Stop(0);
  core->RecorderGone();
}

// The recording starts now, whatever start time within the allowed range is
// asked for: the units already in the buffer are not copied into it. A sink
// makes one content recording at a time.
STDMETHODIMP RecorderObject::Start(REFERENCE_TIME* start) try {
  RETURN_HR_IF_NULL(E_POINTER, start);
  RETURN_HR_IF(E_INVALIDARG, !ContentTime(*start));
  std::lock_guard guard(lock);
  RETURN_HR_IF(E_UNEXPECTED, started);
  RETURN_HR_IF(E_UNEXPECTED, core->IsRecording());
  auto file = std::make_shared<RecordingFile>(path);
  RETURN_IF_FAILED(file->Open());
  core->AddRecording(file);
  recording = std::move(file);
  started = true;
  *start = 0;
  return S_OK;
}
CATCH_RETURN()

// The recording ends now; a later stop time is not kept.
STDMETHODIMP RecorderObject::Stop(REFERENCE_TIME stop) try {
  RETURN_HR_IF(E_INVALIDARG, !ContentTime(stop));
  std::lock_guard guard(lock);
  if (!started || stopped) return started ? S_OK : E_UNEXPECTED;
  core->RemoveRecording(recording.get());
  recording->Close();
  stopped = true;
  return S_OK;
}
CATCH_RETURN()

// Started once the first picture where decoding may start is in the file:
// a caller that times the recording counts from there, not from Start.
STDMETHODIMP RecorderObject::GetRecordingStatus(HRESULT* result, BOOL* startedOut, BOOL* stoppedOut) try {
  std::lock_guard guard(lock);
  if (result != nullptr) *result = recording ? recording->Result() : S_OK;
  if (startedOut != nullptr) *startedOut = recording && recording->HasBegun() ? TRUE : FALSE;
  if (stoppedOut != nullptr) *stoppedOut = stopped ? TRUE : FALSE;
  return S_OK;
}
CATCH_RETURN()

}  // namespace standin
