#pragma once
// The stand-in stream-buffer sink (CLSID_StreamBufferSink): a video and an
// audio input whose samples go into a live buffer of backing files while the
// graph runs, the profile lock with its stub file, and content recorders.

#include "dshow/BaseFilter.h"
#include "dshow/StreamBufferInterfaces.h"
#include "standin/streambuffer/BufferSettings.h"
#include "standin/streambuffer/SinkInputPin.h"
#include "standin/streambuffer/SinkRegistry.h"
#include "win/UniqueHandle.h"

#include <memory>
#include <string>

namespace standin {

class SinkCore;

class SinkFilter final : public dshow::BaseFilter,
                         public IStreamBufferSink,
                         public IStreamBufferInitialize,
                         public IStandinStreamBufferSink {
 public:
  static HRESULT CreateInstance(REFIID riid, void** object);

  FORWARD_IUNKNOWN_TO(dshow::BaseFilter)

  int PinCount() override { return 2; }
  dshow::BasePin* PinAt(int index) override;

  // IMediaFilter
  STDMETHODIMP Stop() override;
  STDMETHODIMP Pause() override;
  // IBaseFilter: leaving the graph releases the profile lock.
  STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;

  // IStreamBufferSink
  STDMETHODIMP LockProfile(LPCWSTR fileName) override;
  STDMETHODIMP CreateRecorder(LPCWSTR fileName, DWORD recordType, IUnknown** recorder) override;
  STDMETHODIMP IsProfileLocked() override;

  // IStreamBufferInitialize
  STDMETHODIMP SetHKEY(HKEY key) override;
  STDMETHODIMP SetSIDs(DWORD count, PSID* sids) override;

  // IStandinStreamBufferSink
  std::shared_ptr<SinkCore> STDMETHODCALLTYPE Core() override { return core; }

 protected:
  HRESULT QueryOwnInterface(REFIID riid, void** object) override;

 private:
  SinkFilter();
  ~SinkFilter() override;
  void UnlockProfile();

  const std::shared_ptr<SinkCore> core;
  SinkInputPin video;
  SinkInputPin audio;
  // Under the state lock.
  std::wstring lockedProfile;
  bool hasSettings = false;
  BufferSettings settings;
  bool running = false;  // a live buffer is being written
  // Its profile was locked once (by LockProfile or by running): the key it
  // was initialised with can no longer change.
  bool initialised = false;
};

}  // namespace standin
