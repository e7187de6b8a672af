#include "graph/TableBranch.h"

#include <uuids.h>

#include <algorithm>
#include <iterator>

#include "graph/SectionSinkFilter.h"
#include "win/HResultMacros.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr std::uint16_t kChannelTablePid = 0x1FFB;
constexpr wchar_t kSinkName[] = L"Table Packets";

AM_MEDIA_TYPE PacketType() {
  AM_MEDIA_TYPE type{};
  type.majortype = MEDIATYPE_Stream;
  type.subtype = MEDIASUBTYPE_MPEG2_TRANSPORT;
  type.formattype = FORMAT_None;
  return type;
}

}  // namespace

HRESULT TableBranch::Add(IGraphBuilder* graph, IBaseFilter* demux,
                         SectionSinkInputPin::SectionHandler packets) {
  RETURN_HR_IF_NULL(E_POINTER, graph);
  RETURN_HR_IF_NULL(E_POINTER, demux);
  Remove(graph);
  ComPtr<IMpeg2Demultiplexer> demultiplexer;
  RETURN_IF_FAILED(demux->QueryInterface(IID_PPV_ARGS(&demultiplexer)));
  AM_MEDIA_TYPE type = PacketType();
  wchar_t pinName[] = L"Tables";  // the platform takes a non-const name
  ComPtr<IPin> created;
  RETURN_IF_FAILED(demultiplexer->CreateOutputPin(&type, pinName, &created));
  ComPtr<IMPEG2PIDMap> pidMap;
  RETURN_IF_FAILED(created.As(&pidMap));
  ComPtr<IBaseFilter> made;
  RETURN_IF_FAILED(SectionSinkFilter::Create(std::move(packets), &made));
  output = created;
  map = pidMap;
  sink = made;
  HRESULT hr = graph->AddFilter(sink.Get(), kSinkName);
  if (SUCCEEDED(hr)) hr = Connect(graph);
  if (SUCCEEDED(hr)) hr = MapExactly({kChannelTablePid});
  if (FAILED(hr)) Remove(graph);
  // The unused output stays on the demultiplexer: deleting it could fail
  // the same way, and an output without PIDs delivers nothing.
  return hr;
}

HRESULT TableBranch::Connect(IGraphBuilder* graph) {
  ComPtr<IEnumPins> pins;
  RETURN_IF_FAILED(sink->EnumPins(&pins));
  ComPtr<IPin> input;
  RETURN_HR_IF(E_UNEXPECTED, pins->Next(1, &input, nullptr) != S_OK);
  AM_MEDIA_TYPE type = PacketType();
  return graph->ConnectDirect(output.Get(), input.Get(), &type);
}

HRESULT TableBranch::MapExactly(const std::vector<std::uint16_t>& pids) {
  RETURN_HR_IF(E_UNEXPECTED, !map);
  std::vector<ULONG> gone;
  std::set_difference(mapped.begin(), mapped.end(), pids.begin(), pids.end(), std::back_inserter(gone));
  std::vector<ULONG> fresh;
  std::set_difference(pids.begin(), pids.end(), mapped.begin(), mapped.end(), std::back_inserter(fresh));
  HRESULT result = S_OK;
  if (!gone.empty()) {
    // A PID the demultiplexer no longer holds is unmapped all the same.
    const HRESULT unmapped = map->UnmapPID(static_cast<ULONG>(gone.size()), gone.data());
    if (FAILED(unmapped)) result = unmapped;
    std::erase_if(mapped, [&](std::uint16_t pid) { return std::find(gone.begin(), gone.end(), pid) != gone.end(); });
  }
  for (ULONG pid : fresh) {
    const HRESULT hr = map->MapPID(1, &pid, MEDIA_TRANSPORT_PACKET);
    if (FAILED(hr)) {
      result = hr;
      continue;
    }
    mapped.insert(std::lower_bound(mapped.begin(), mapped.end(), pid), static_cast<std::uint16_t>(pid));
  }
  return result;
}

bool TableBranch::IsConnected() const {
  if (!output) return false;
  ComPtr<IPin> peer;
  return SUCCEEDED(output->ConnectedTo(&peer));
}

HRESULT TableBranch::Reconnect(IGraphBuilder* graph) {
  RETURN_HR_IF_NULL(E_POINTER, graph);
  RETURN_HR_IF(E_UNEXPECTED, !output || !sink);
  if (IsConnected()) return S_FALSE;
  FILTER_INFO info{};
  RETURN_IF_FAILED(sink->QueryFilterInfo(&info));
  const bool inGraph = info.pGraph != nullptr;
  if (info.pGraph != nullptr) info.pGraph->Release();
  if (!inGraph) RETURN_IF_FAILED(graph->AddFilter(sink.Get(), kSinkName));
  return Connect(graph);
}

void TableBranch::Remove(IGraphBuilder* graph) {
  if (sink && graph != nullptr) graph->RemoveFilter(sink.Get());  // the branch goes in any case
  sink.Reset();
  map.Reset();
  output.Reset();
  mapped.clear();
}
