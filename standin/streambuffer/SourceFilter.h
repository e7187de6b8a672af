#pragma once
// The stand-in stream-buffer source (CLSID_StreamBufferSource): plays the
// live buffer of a sink in the same process (SetStreamSink, or Load of its
// locked profile's stub file) or a content recording (Load), finished or
// still growing, through a video and an audio output pin with the
// demultiplexer's media types. Seeking is by time, absolute or relative;
// positions count from the start of the buffer or recording. Seeking is
// IStreamBufferMediaSeeking; plain IMediaSeeking is there only for a finished
// recording, and not once IStreamBufferMediaSeeking was taken.
//
// Threads: a reader thread reads the files and queues samples on the pins,
// each of which delivers on a thread of its own; control calls flush the
// pins and hand a new position to the reader, which answers before the
// flush ends. The state lock is never held while waiting for the reader.

#include "dshow/BaseFilter.h"
#include "dshow/MediaTimeSeeking.h"
#include "dshow/StreamBufferInterfaces.h"
#include "standin/streambuffer/PlaybackContent.h"
#include "standin/streambuffer/RecordingReader.h"
#include "standin/streambuffer/SourceOutputPin.h"
#include "standin/streambuffer/SourcePlainSeeking.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace standin {

class SinkCore;

inline constexpr DWORD kSourceFilterSeekingCapabilities =
    AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanSeekForwards | AM_SEEKING_CanSeekBackwards |
    AM_SEEKING_CanGetCurrentPos | AM_SEEKING_CanGetStopPos | AM_SEEKING_CanGetDuration |
    AM_SEEKING_CanPlayBackwards;

class SourceFilter final
    : public dshow::BaseFilter,
      public IStreamBufferSource,
      public IFileSourceFilter,
      public dshow::MediaTimeSeeking<IStreamBufferMediaSeeking, kSourceFilterSeekingCapabilities>,
      public IStreamBufferInitialize {
 public:
  static HRESULT CreateInstance(REFIID riid, void** object);

  FORWARD_IUNKNOWN_TO(dshow::BaseFilter)

  int PinCount() override { return 2; }
  dshow::BasePin* PinAt(int index) override;

  // IMediaFilter
  STDMETHODIMP Stop() override;
  STDMETHODIMP Pause() override;
  STDMETHODIMP Run(REFERENCE_TIME start) override;

  // IStreamBufferSource
  STDMETHODIMP SetStreamSink(IStreamBufferSink* sink) override;
  // IFileSourceFilter
  STDMETHODIMP Load(LPCOLESTR fileName, const AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP GetCurFile(LPOLESTR* fileName, AM_MEDIA_TYPE* mt) override;
  // IStreamBufferInitialize
  STDMETHODIMP SetHKEY(HKEY) override { return S_OK; }
  STDMETHODIMP SetSIDs(DWORD, PSID*) override { return S_OK; }

  // IMediaSeeking (also as IStreamBufferMediaSeeking; the time format is
  // MediaTimeSeeking's)
  STDMETHODIMP GetDuration(LONGLONG* duration) override;
  STDMETHODIMP GetStopPosition(LONGLONG* stop) override;
  STDMETHODIMP GetCurrentPosition(LONGLONG* current) override;
  STDMETHODIMP SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop,
                            DWORD stopFlags) override;
  STDMETHODIMP GetPositions(LONGLONG* current, LONGLONG* stop) override;
  STDMETHODIMP GetAvailable(LONGLONG* earliest, LONGLONG* latest) override;
  STDMETHODIMP SetRate(double rate) override;
  STDMETHODIMP GetRate(double* rate) override;

 protected:
  HRESULT QueryOwnInterface(REFIID riid, void** object) override;

 private:
  SourceFilter();
  ~SourceFilter() override;

  std::shared_ptr<PlaybackContent> Content();
  // Whether plain IMediaSeeking is answered now.
  bool PlainSeekingAllowed();
  // The stream time now (100 ns since the run began, frozen while paused).
  REFERENCE_TIME StreamNow();
  // Flushes the pins and has the reader start again at `pts` with `rate`.
  HRESULT Reposition(std::uint64_t pts, double rate);
  std::optional<std::uint64_t> ClampToAvailable(std::uint64_t pts);
  LONGLONG PositionNow();

  // The reader thread (SourceReader.cpp).
  void ReaderLoop();
  bool IsRequestDue();
  bool ApplyRequest(PlaybackContent& played, PlaybackCursor& cursor);
  // Reads on; false when the reader is to stop or take up a new position.
  bool ReadForward(PlaybackContent& played, PlaybackCursor& cursor);
  bool StepBackward(PlaybackContent& played);
  bool DeliverUnit(const streambuffer::RecordedUnit& unit, std::uint64_t pts,
                   std::optional<REFERENCE_TIME> at = std::nullopt);
  void WaitForRequest(std::chrono::milliseconds timeout);
  bool EveryPinRefused();
  void EndStreams();
  void TellTimeHole(PlaybackContent& played, std::uint64_t from, std::uint64_t to);

  SourceOutputPin video;
  SourceOutputPin audio;
  SourcePlainSeeking plainSeeking;
  // IStreamBufferMediaSeeking was handed out: plain IMediaSeeking is gone for
  // good.
  std::atomic<bool> bufferSeekingTaken{false};

  // Under the state lock.
  std::shared_ptr<PlaybackContent> content;
  bool loaded = false;  // Load initialises the source once in its life
  std::wstring fileName;
  REFERENCE_TIME runStart = 0;
  REFERENCE_TIME pausedAt = 0;  // stream time when the run paused
  bool running = false;

  // Between the control calls and the reader, under playLock.
  std::mutex seekLock;  // one reposition at a time
  std::mutex playLock;
  std::condition_variable playChanged;
  bool readerStopping = false;
  std::uint64_t requested = 0;     // repositions asked for
  std::uint64_t answered = 0;      // repositions the reader took up
  bool flushing = false;           // the pins flush for a reposition
  std::optional<std::uint64_t> requestPts;  // nothing: the start of the content
  double requestRate = 1.0;
  double rate = 1.0;               // of the segment being played
  std::uint64_t segmentPts = 0;
  REFERENCE_TIME segmentBase = 0;  // stream time at which segmentPts plays
  std::optional<std::uint64_t> lastQueuedPts;
  std::optional<LONGLONG> stopPosition;
  bool discontinuity = true;
  // The reader thread's own.
  std::thread reader;
  std::unique_ptr<streambuffer::UnitParser> unitParser;
  std::vector<streambuffer::RecordedUnit> parsed;
  std::uint64_t nearPts = 0;
  std::uint64_t reverseSteps = 0;
  bool ended = false;
  // Pins whose downstream refused a sample in this segment: as a pushing
  // source does, the reader sends them nothing more until the next seek.
  bool videoRefused = false;
  bool audioRefused = false;
};

}  // namespace standin
