#pragma once
// The stand-in MPEG-2 demultiplexer: a transport stream in, output pins
// created through IMpeg2Demultiplexer and fed through IMPEG2PIDMap. Behind a
// virtual tuner it also offers, by itself, a tables pin (for the transport
// information filter), a video pin and an audio pin that follow the tuned
// program. The work is TsDemuxCore's; this class holds the pins and the
// locks: the state lock (BaseFilter's), then the streaming lock (one Receive
// at a time, flushes), then the core lock (the PID map, taken briefly).

#include "dshow/BaseFilter.h"
#include "standin/demux/DemuxInputPin.h"
#include "standin/demux/DemuxOutputPin.h"
#include "standin/shared/StandinInterfaces.h"
#include "standin/demux/TsDemuxCore.h"

#include <bdaiface.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace standin {

class DemuxFilter final : public dshow::BaseFilter, public IMpeg2Demultiplexer {
 public:
  static HRESULT CreateInstance(REFIID riid, void** object);

  FORWARD_IUNKNOWN_TO(dshow::BaseFilter)

  // IMediaFilter
  STDMETHODIMP Stop() override;
  STDMETHODIMP Pause() override;
  STDMETHODIMP Run(REFERENCE_TIME start) override;

  // IMpeg2Demultiplexer
  STDMETHODIMP CreateOutputPin(AM_MEDIA_TYPE* mt, LPWSTR name, IPin** pin) override;
  STDMETHODIMP SetOutputPinMediaType(LPWSTR name, AM_MEDIA_TYPE* mt) override;
  STDMETHODIMP DeleteOutputPin(LPWSTR name) override;

  int PinCount() override;
  dshow::BasePin* PinAt(int index) override;

  // From the input pin.
  HRESULT OnInputConnected();
  void OnInputDisconnected();
  HRESULT Receive(IMediaSample* sample);
  void BeginFlush();
  void EndFlush();
  void EndOfStream();
  void NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);

  // From the output pins' IMPEG2PIDMap.
  HRESULT MapPids(int output, ULONG count, const ULONG* pids, MEDIA_SAMPLE_CONTENT content);
  HRESULT UnmapPids(int output, ULONG count, const ULONG* pids);
  std::vector<PidMapping> Mapping(int output);

 protected:
  HRESULT QueryOwnInterface(REFIID riid, void** object) override;

 private:
  DemuxFilter();
  ~DemuxFilter() override = default;

  // Adds an output pin (state lock held); `id` receives its output number.
  HRESULT AddOutput(const wchar_t* name, const AM_MEDIA_TYPE& mt, DemuxOutputPin** pin);
  DemuxOutputPin* FindOutput(const wchar_t* name);
  // Follows a new tune request of the virtual tuner (streaming lock held).
  void FollowTuner();
  // The stream time now when the source is live and a clock runs.
  std::optional<std::int64_t> LiveNow();
  // `live`: a full output queue drops its oldest sample instead of waiting.
  void DeliverAll(std::vector<DemuxSample>& samples, bool live);
  template <typename Call>
  void ForEachConnectedOutput(Call&& call);

  DemuxInputPin input;
  // Under the state lock: the pins in the order the graph sees them. Deleted
  // pins move to `retired` and live as long as the filter, since the graph
  // may still hold them.
  std::vector<std::unique_ptr<DemuxOutputPin>> outputs;
  std::vector<std::unique_ptr<DemuxOutputPin>> retired;
  int nextOutputId = 1;

  // The graph's clock and start time, for a live source's stream time.
  std::mutex clockLock;
  Microsoft::WRL::ComPtr<IReferenceClock> clock;
  REFERENCE_TIME runStart = 0;
  // Read on the streaming thread, which does not take the state lock.
  std::atomic<bool> running{false};
  std::atomic<bool> clockAnchorDue{false};  // set at Run, taken by Receive

  std::mutex streamingLock;
  // Under the streaming lock: the virtual tuner upstream, when there is one,
  // and the tune request followed last.
  Microsoft::WRL::ComPtr<IStandinTunedProgram> tuner;
  ULONG followedGeneration = 0;
  bool tunerFollowed = false;
  std::atomic<bool> refollowDue{false};  // the followed pins changed

  std::mutex coreLock;
  TsDemuxCore core;
  FollowOutputs followOutputs;              // under coreLock
  std::map<int, DemuxOutputPin*> pinsById;  // under coreLock
};

}  // namespace standin
