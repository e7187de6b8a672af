#pragma once
// One vendor's video decoder wants to be paused itself while its graph
// starts running, and run again just after. The graph is then run from a
// start time chosen here and the decoder is run at that same time: run at
// time 0 instead, a decoder that keeps stream time would take every sample
// for hours late.

#include <windows.h>

#include <dshow.h>

class DecoderHold {
 public:
  // Pauses `decoder` before the graph runs.
  HRESULT Hold(IBaseFilter* decoder);
  // Runs the graph of `control`: from a start time of ours while a decoder
  // is held, else as usual.
  HRESULT RunGraph(IMediaControl* control);
  // Runs the held decoder at the graph's start time and ends the hold.
  HRESULT Release(IBaseFilter* decoder);

 private:
  bool held = false;
  REFERENCE_TIME start = 0;
};
