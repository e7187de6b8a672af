#pragma once

// Private interfaces between the stand-ins: how the demultiplexer and the test
// decoders learn what the virtual tuner is tuned to. Windows's own components
// learn it through the network provider and the transport information filter;
// the stand-ins take this shorter road.

#include <windows.h>
#include <strmif.h>
#include <unknwn.h>

namespace standin {

// What a virtual tuner is tuned to. programNumber is 0 while nothing is
// tuned or the antenna does not carry the channel.
struct TunedProgram {
  LONG physicalChannel;
  LONG majorChannel;
  LONG minorChannel;
  ULONG programNumber;
  ULONG generation;  // grows by one with every tune request
};

// {3B1C8B1E-6E0A-4D53-9C21-5F0B7A2D8E11}
inline constexpr GUID IID_IStandinTunedProgram = {
    0x3b1c8b1e, 0x6e0a, 0x4d53, {0x9c, 0x21, 0x5f, 0x0b, 0x7a, 0x2d, 0x8e, 0x11}};

// Implemented by the virtual tuner filter. The id is also declared for
// __uuidof, so that ComPtr::As finds the interface.
struct DECLSPEC_UUID("3B1C8B1E-6E0A-4D53-9C21-5F0B7A2D8E11") IStandinTunedProgram
    : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetTunedProgram(TunedProgram* tuned) = 0;
};

// Walks upstream from `filter` (through the filters connected to its input
// pins, depth first) and returns the first filter that implements
// IStandinTunedProgram. VFW_E_NOT_FOUND when there is none.
HRESULT FindUpstreamTunedProgram(IBaseFilter* filter, IStandinTunedProgram** found);

}  // namespace standin

#ifdef __CRT_UUID_DECL
__CRT_UUID_DECL(standin::IStandinTunedProgram, 0x3b1c8b1e, 0x6e0a, 0x4d53, 0x9c, 0x21, 0x5f, 0x0b,
                0x7a, 0x2d, 0x8e, 0x11)
#endif
