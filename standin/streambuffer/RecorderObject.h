#pragma once
// A content recorder made by the sink's CreateRecorder
// (IStreamBufferRecordControl): Start creates the file and records what the
// sink receives from then on, Stop closes it. A recorder released without
// Stop stops too, so the file always ends whole.

#include "dshow/StreamBufferInterfaces.h"
#include "win/ComObject.h"

#include <memory>
#include <mutex>
#include <string>

namespace standin {

class RecordingFile;
class SinkCore;

class RecorderObject final : public ComObject<IStreamBufferRecordControl> {
 public:
  static HRESULT Create(std::shared_ptr<SinkCore> core, std::wstring path, IUnknown** out);

  // IStreamBufferRecordControl
  STDMETHODIMP Start(REFERENCE_TIME* start) override;
  STDMETHODIMP Stop(REFERENCE_TIME stop) override;
  STDMETHODIMP GetRecordingStatus(HRESULT* result, BOOL* started, BOOL* stopped) override;

 protected:
  HRESULT QueryOwnInterface(REFIID riid, void** object) override;

 private:
  RecorderObject(std::shared_ptr<SinkCore> core, std::wstring path);
  ~RecorderObject() override;

  const std::shared_ptr<SinkCore> core;
  const std::wstring path;
  std::mutex lock;
  std::shared_ptr<RecordingFile> recording;
  bool started = false;
  bool stopped = false;
};

}  // namespace standin
