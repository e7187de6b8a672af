#pragma once
// What the test decoders have put out, for the tests to read while a graph
// runs: values under HKCU\Software\Telvantis Standin\Decoders, written at
// most once a second and when streaming stops.
//   "VideoFrames" (DWORD)  pictures delivered by the video decoder
//   "VideoClock"  (string) the stream clock of the last picture, H:MM:SS.ff
//   "VideoSize"   (string) the sequence header's frame size, "1920 x 1080"
//   "VideoProgram" (string) the program line of the test card
//   "AudioFrames" (DWORD)  AC-3 frames turned into silence
//   "DisplayModeChanges" (DWORD) calls of the renderer's
//                          IVMRWindowlessControl::DisplayModeChanged, written
//                          at each call
// Tests read them with `wine reg query "HKCU\Software\Telvantis Standin\Decoders"`.
// With several decoders in one prefix the last writer wins.

#include <windows.h>

#include <string>

namespace decoders {

struct VideoReport {
  DWORD frames = 0;
  std::string clock;
  std::string size;
  std::string program;
};

// Writes the count of DisplayModeChanged calls the renderer has had.
void ReportDisplayModeChanges(DWORD calls);

class FrameCounters {
 public:
  // Writes when a second has passed since the last write, or when `now`.
  void ReportVideo(const VideoReport& report, bool now);
  void ReportAudio(DWORD frames, bool now);

 private:
  bool Due(bool now);

  ULONGLONG lastWrite = 0;
};

}  // namespace decoders
