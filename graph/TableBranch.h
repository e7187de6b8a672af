#pragma once
// The tables' branch of a tuner graph: one more demultiplexer output, which
// carries the whole transport packets of the table PIDs (the channel tables
// of 0x1FFB, and the guide's event and text tables) to our own sink and from
// there to a callback on the streaming thread. Whole packets rather than
// sections, because a section output does not say which PID a section came
// on, and the event tables of different hours differ only by their PID. The
// PIDs can be mapped and unmapped while the graph runs.

#include <windows.h>
#include <dshow.h>
#include <bdaiface.h>
#include <wrl/client.h>

#include <cstdint>
#include <vector>

#include "graph/SectionSinkInputPin.h"

class TableBranch {
 public:
  // Adds the output and the sink to `graph`, connects them and maps the
  // PID 0x1FFB. Call with the graph stopped. A failure leaves no branch
  // (what was added is taken out again).
  HRESULT Add(IGraphBuilder* graph, IBaseFilter* demux, SectionSinkInputPin::SectionHandler packets);

  // Maps exactly `pids` (sorted): the new ones are mapped, those no longer
  // wanted unmapped. A PID that cannot be mapped is tried again next time.
  HRESULT MapExactly(const std::vector<std::uint16_t>& pids);

  // Whether the branch's output is connected to its sink (a move of the
  // demultiplexer to another graph takes the connection with it).
  bool IsConnected() const;

  // Connects the output to the sink again after such a move, the sink added
  // to `graph` when it is not there. Call with the graph stopped.
  HRESULT Reconnect(IGraphBuilder* graph);

  // Takes the sink out of `graph` and forgets the branch.
  void Remove(IGraphBuilder* graph);

  bool IsPresent() const { return output != nullptr; }

 private:
  HRESULT Connect(IGraphBuilder* graph);

  Microsoft::WRL::ComPtr<IPin> output;
  Microsoft::WRL::ComPtr<IMPEG2PIDMap> map;
  Microsoft::WRL::ComPtr<IBaseFilter> sink;
  std::vector<std::uint16_t> mapped;  // sorted
};
