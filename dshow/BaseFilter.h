#pragma once
// IBaseFilter with its state lock: name, graph, clock, state changes. A
// concrete filter names its pins through PinCount/PinAt and adds interfaces
// by overriding QueryOwnInterface (and passing what it does not answer on to
// BaseFilter's). The pins share the filter's reference count.

#include <windows.h>
#include <strmif.h>
#include <vfwmsgs.h>
#include <evcode.h>
#include <wrl/client.h>

#include "dshow/ServerLock.h"
#include "win/ComObject.h"

#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace dshow {

class BasePin;

class BaseFilter : public ComObject<IBaseFilter> {
 public:
  // IPersist
  STDMETHODIMP GetClassID(CLSID* clsid) override;

  // IMediaFilter
  STDMETHODIMP Stop() override;
  STDMETHODIMP Pause() override;
  STDMETHODIMP Run(REFERENCE_TIME start) override;
  STDMETHODIMP GetState(DWORD timeoutMs, FILTER_STATE* state) override;
  STDMETHODIMP SetSyncSource(IReferenceClock* clock) override;
  STDMETHODIMP GetSyncSource(IReferenceClock** clock) override;

  // IBaseFilter
  STDMETHODIMP EnumPins(IEnumPins** pins) override;
  STDMETHODIMP FindPin(LPCWSTR id, IPin** pin) override;
  STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override;
  STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
  STDMETHODIMP QueryVendorInfo(LPWSTR* info) override;

  virtual int PinCount() = 0;
  virtual BasePin* PinAt(int index) = 0;

  std::recursive_mutex& StateLock() noexcept { return stateLock; }
  FILTER_STATE State();
  bool IsStopped() { return State() == State_Stopped; }
  // The stream time now (the clock's time less the start time), while the
  // filter runs with a clock; nothing otherwise.
  std::optional<REFERENCE_TIME> StreamTimeNow();

  // Sends an event to the graph's event sink, if the filter is in a graph
  // that takes events.
  HRESULT NotifyEvent(long code, LONG_PTR param1, LONG_PTR param2);

 protected:
  explicit BaseFilter(const CLSID& clsid) noexcept;
  ~BaseFilter() override = default;

  // IUnknown, IPersist, IMediaFilter and IBaseFilter.
  HRESULT QueryOwnInterface(REFIID riid, void** object) override;

 private:
  // The pins that are connected; the state lock is held.
  std::vector<BasePin*> ConnectedPins();

  ServerReference serverReference;
  const CLSID clsid;
  std::recursive_mutex stateLock;
  FILTER_STATE state = State_Stopped;
  REFERENCE_TIME startTime = 0;
  Microsoft::WRL::ComPtr<IReferenceClock> clock;
  // The graph holds the filter, so the filter does not hold the graph.
  IFilterGraph* graph = nullptr;
  // Not held either: it is the graph.
  IMediaEventSink* eventSink = nullptr;
  std::wstring name;
};

}  // namespace dshow
