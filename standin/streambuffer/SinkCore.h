#pragma once
// Everything behind a stream-buffer sink's input pins, shared with the
// recorders it created and the sources attached to it (which may outlive the
// filter): the assembly of the received samples into units, the live buffer
// of the current run and the content recordings. Thread-safe: the receive
// threads of both pins, the control calls and the sources' readers meet here.

#include <windows.h>

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "dshow/MediaType.h"
#include "standin/streambuffer/BufferSettings.h"
#include "standin/streambuffer/LiveBuffer.h"
#include "standin/streambuffer/RecordingFile.h"
#include "standin/streambuffer/SinkAssembler.h"

namespace standin {

class SinkCore {
 public:
  SinkCore();

  void Receive(streambuffer::Elementary stream, const streambuffer::ReceivedBuffer& buffer);
  void EndOfStream();

  // The sink leaves the stopped state: a new live buffer, named after the
  // locked profile's stub file (or the run), in the configured folder.
  HRESULT StartRun(const BufferSettings& settings, const std::wstring& stubPath, bool videoConnected);
  // The sink stops: the buffer ends (its files go with its last reader).
  void StopRun();

  // Where the engine's events go (the sink filter's graph); empty once the
  // filter is gone.
  using EventNotifier = std::function<void(long code, LONG_PTR param)>;
  void SetEventNotifier(EventNotifier notifier);

  // Recording objects alive (they must go before the sink), and whether a
  // content recording runs.
  void RecorderMade();
  void RecorderGone();
  int RecordersAlive();
  bool IsRecording();

  void AddRecording(const std::shared_ptr<RecordingFile>& recording);
  void RemoveRecording(const RecordingFile* recording);

  // The current run's buffer, for a source; none while the sink is stopped.
  std::shared_ptr<LiveBuffer> Live();

  // The media types the pins connected with (for the source's pins).
  void SetVideoType(const AM_MEDIA_TYPE* mt);
  void SetAudioType(const AM_MEDIA_TYPE* mt);
  HRESULT VideoType(dshow::MediaType& mt);
  HRESULT AudioType(dshow::MediaType& mt);

 private:
  void OnUnit(const streambuffer::SinkUnit& unit);

  std::mutex lock;
  streambuffer::SinkAssembler assembler;
  bool videoExpected = true;
  EventNotifier notify;
  bool writeFailureTold = false;  // once a run
  int recordersAlive = 0;
  std::shared_ptr<LiveBuffer> live;
  std::vector<std::shared_ptr<RecordingFile>> recordings;
  dshow::MediaType videoType;
  dshow::MediaType audioType;
  bool hasVideoType = false;
  bool hasAudioType = false;
};

}  // namespace standin
