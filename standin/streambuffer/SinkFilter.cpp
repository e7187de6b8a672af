#include "standin/streambuffer/SinkFilter.h"

#include "standin/streambuffer/RecorderObject.h"
#include "standin/streambuffer/SinkCore.h"
#include "win/HResultMacros.h"

#include <uuids.h>

#include <cwchar>

namespace standin {

namespace {
// What the stub file holds: it only marks the locked profile's name.
constexpr char kStubText[] = "Telvantis stand-in stream buffer profile\r\n";

void ReportEarlyRelease() {
  static constexpr char kText[] =
      "telvstandin-streambuffer: a sink was released before its recording object\r\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), kText, sizeof kText - 1, &written, nullptr);
}
}  // namespace

SinkFilter::SinkFilter()
    : BaseFilter(CLSID_StreamBufferSink),
      core(std::make_shared<SinkCore>()),
      video(*this, L"Video", streambuffer::Elementary::Video, core),
      audio(*this, L"Audio", streambuffer::Elementary::Audio, core) {
  core->SetEventNotifier([this](long code, LONG_PTR param) { NotifyEvent(code, param, 0); });
}

SinkFilter::~SinkFilter() {
  core->SetEventNotifier(nullptr);  // the core may outlive the filter
  // The platform wants its recording objects stopped and released before
  // the sink: a program that gets the order wrong is told on its error
  // output, where the tests look for it.
  if (core->RecordersAlive() > 0) ReportEarlyRelease();
  UnlockProfile();
  core->StopRun();
}

HRESULT SinkFilter::CreateInstance(REFIID riid, void** object) try {
  RETURN_HR_IF_NULL(E_POINTER, object);
  *object = nullptr;
  return HandOutNew(new SinkFilter(), riid, object);
}
CATCH_RETURN()

HRESULT SinkFilter::QueryOwnInterface(REFIID riid, void** object) {
  if (riid == IID_IStreamBufferSink) return HandOut(static_cast<IStreamBufferSink*>(this), object);
  if (riid == IID_IStreamBufferInitialize) {
    return HandOut(static_cast<IStreamBufferInitialize*>(this), object);
  }
  if (riid == IID_IStandinStreamBufferSink) {
    return HandOut(static_cast<IStandinStreamBufferSink*>(this), object);
  }
  return BaseFilter::QueryOwnInterface(riid, object);
}

dshow::BasePin* SinkFilter::PinAt(int index) {
  if (index == 0) return &video;
  if (index == 1) return &audio;
  return nullptr;
}

STDMETHODIMP SinkFilter::Pause() try {
  {
    std::lock_guard lock(StateLock());
    if (!running) {
      const BufferSettings use = hasSettings ? settings : ProcessBufferSettings();
      RETURN_IF_FAILED(core->StartRun(use, lockedProfile, video.IsConnected()));
      running = true;
      initialised = true;
    }
  }
  return BaseFilter::Pause();
}
CATCH_RETURN()

STDMETHODIMP SinkFilter::Stop() try {
  const HRESULT hr = BaseFilter::Stop();
  std::lock_guard lock(StateLock());
  if (running) core->StopRun();
  running = false;
  return hr;
}
CATCH_RETURN()

STDMETHODIMP SinkFilter::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) try {
  if (graph == nullptr) UnlockProfile();
  return BaseFilter::JoinFilterGraph(graph, name);
}
CATCH_RETURN()

void SinkFilter::UnlockProfile() {
  std::lock_guard lock(StateLock());
  if (lockedProfile.empty()) return;
  UnregisterLockedProfile(lockedProfile);
  lockedProfile.clear();
}

STDMETHODIMP SinkFilter::LockProfile(LPCWSTR fileName) try {
  RETURN_HR_IF_NULL(E_POINTER, fileName);
  const std::size_t length = wcsnlen(fileName, MAX_PATH);
  RETURN_HR_IF(E_INVALIDARG, length == 0);
  RETURN_HR_IF(HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE), length >= MAX_PATH);
  const std::wstring name(fileName, length);
  std::lock_guard lock(StateLock());
  if (!lockedProfile.empty()) {
    // Locked already: the same name again is no change, another is refused
    // until the sink leaves its graph.
    return SamePath(lockedProfile, name) ? S_OK : E_UNEXPECTED;
  }
  // The engine's synchronisation objects go to the namespace that the
  // configuration wrote into the sink's key; its default, "Global", is
  // refused to a normal user since Windows Vista.
  RETURN_HR_IF(E_ACCESSDENIED, !hasSettings || !settings.NormalUserMayLock());
  UniqueFile stub(CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  RETURN_LAST_ERROR_IF(!stub.IsValid());
  DWORD written = 0;
  RETURN_LAST_ERROR_IF(!WriteFile(stub.Get(), kStubText, sizeof kStubText - 1, &written, nullptr));
  lockedProfile = name;
  initialised = true;
  RegisterLockedProfile(name, core);
  return S_OK;
}
CATCH_RETURN()

STDMETHODIMP SinkFilter::IsProfileLocked() try {
  std::lock_guard lock(StateLock());
  return lockedProfile.empty() ? S_FALSE : S_OK;
}
CATCH_RETURN()

STDMETHODIMP SinkFilter::CreateRecorder(LPCWSTR fileName, DWORD recordType, IUnknown** recorder) try {
  RETURN_HR_IF_NULL(E_POINTER, recorder);
  *recorder = nullptr;
  RETURN_HR_IF_NULL(E_POINTER, fileName);
  // Reference recordings point into the backing files, which this engine
  // does not keep: only content recordings are made.
  RETURN_HR_IF(E_NOTIMPL, recordType == kRecordingTypeReference);
  RETURN_HR_IF(E_INVALIDARG, recordType != kRecordingTypeContent);
  const std::size_t length = wcsnlen(fileName, MAX_PATH);
  RETURN_HR_IF(E_INVALIDARG, length == 0);
  RETURN_HR_IF(HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE), length >= MAX_PATH);
  {
    std::lock_guard lock(StateLock());
    RETURN_HR_IF(E_UNEXPECTED, lockedProfile.empty() && !running);
  }
  return RecorderObject::Create(core, std::wstring(fileName, length), recorder);
}
CATCH_RETURN()

// The key initialises the sink: refused once its profile was locked, even
// after the graph stopped or the sink left it.
STDMETHODIMP SinkFilter::SetHKEY(HKEY key) try {
  std::lock_guard lock(StateLock());
  RETURN_HR_IF(E_UNEXPECTED, initialised);
  settings = ReadBufferSettings(key, ProcessBufferSettings());
  hasSettings = key != nullptr;
  return S_OK;
}
CATCH_RETURN()

STDMETHODIMP SinkFilter::SetSIDs(DWORD, PSID*) { return S_OK; }

}  // namespace standin
