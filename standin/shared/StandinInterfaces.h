#pragma once

// Private interfaces between the stand-ins: how the demultiplexer and the test
// decoders learn what the virtual tuner is tuned to. Windows's own components
// learn it through the network provider and the transport information filter;
// the stand-ins take this shorter road. And how the test video decoder tells
// the renderer the stream's picture size, which Wine's renderer cannot take
// in the middle of a stream.

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

// {8F4D2A61-3C7B-4E95-A1D0-6B2E9C5F7A43}
// Implemented by the stand-in's wrapper around the platform's VMR-7. Wine's
// renderer keeps the picture size it was connected with for as long as it
// stays connected (a new size on a sample is accepted, then ignored), so a
// decoder keeps drawing at the connected size and tells the wrapper the
// stream's own size here. The wrapper reports it as the native video size
// and takes source rectangles in it, as a renderer does after a format
// change. A width or height of 0 forgets it (the connected size counts).
struct DECLSPEC_UUID("8F4D2A61-3C7B-4E95-A1D0-6B2E9C5F7A43") IStandinVideoSize
    : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetStreamVideoSize(LONG width, LONG height, LONG aspectX,
                                                       LONG aspectY) = 0;
};

inline constexpr GUID IID_IStandinVideoSize = {
    0x8f4d2a61, 0x3c7b, 0x4e95, {0xa1, 0xd0, 0x6b, 0x2e, 0x9c, 0x5f, 0x7a, 0x43}};

// Walks upstream from `filter` (through the filters connected to its input
// pins, depth first) and returns the first filter that implements
// IStandinTunedProgram. VFW_E_NOT_FOUND when there is none.
HRESULT FindUpstreamTunedProgram(IBaseFilter* filter, IStandinTunedProgram** found);

}  // namespace standin

#ifdef __CRT_UUID_DECL
__CRT_UUID_DECL(standin::IStandinTunedProgram, 0x3b1c8b1e, 0x6e0a, 0x4d53, 0x9c, 0x21, 0x5f, 0x0b,
                0x7a, 0x2d, 0x8e, 0x11)
__CRT_UUID_DECL(standin::IStandinVideoSize, 0x8f4d2a61, 0x3c7b, 0x4e95, 0xa1, 0xd0, 0x6b, 0x2e,
                0x9c, 0x5f, 0x7a, 0x43)
#endif
