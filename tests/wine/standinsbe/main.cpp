// standinsbe: drives the stand-in stream-buffer engine for the Wine tests and
// prints what it sees as "name=value" lines.
//
//   standinsbe record FOLDER SECONDS PHYS MAJOR MINOR RECORDING
//       the live chain -> video stream analyser -> sink, backing files of
//       15 s in FOLDER (two to three kept), the profile locked, a content
//       recorder writing RECORDING for SECONDS; a second graph plays the
//       buffer through the test decoders and renderers (SetStreamSink),
//       pauses 15 s while the sink goes on, resumes and jumps to live; a
//       third plays the recording while it grows, into counting sinks
//   standinsbe play FILE [SEEK]
//       the recording through the source into counting sinks as fast as they
//       take it, to its end; then again from SEEK seconds
//   standinsbe check FILE
//       the reader's check of a recording: packets, counters, time steps
//   standinsbe hole FOLDER PHYS MAJOR MINOR
//       a timeshift reader paused in the oldest of two 15-s backing files
//       until the file after it is deleted; the time hole it then meets,
//       and playback after a seek past it
//   standinsbe edges FOLDER
//       calls at their limits: bad names, a second lock, reference
//       recordings, missing files, settings out of range
// Exit status: 0 done, 1 a step failed (named on stderr), 2 bad usage.

#include "tests/wine/standinsbe/SbeGraph.h"

#include "win/ComScope.h"

#include <cstdlib>
#include <cstring>

const char kTestProgramName[] = "standinsbe";

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: standinsbe record FOLDER SECONDS PHYS MAJOR MINOR RECORDING\n"
               "       standinsbe play FILE [SEEK]\n"
               "       standinsbe check FILE\n"
               "       standinsbe hole FOLDER PHYS MAJOR MINOR\n"
               "       standinsbe edges FOLDER\n");
  return 2;
}

long Signed(const char* text) { return std::strtol(text, nullptr, 0); }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  ComScope com(COINIT_MULTITHREADED);
  if (!com.Succeeded()) return Fail("CoInitializeEx", com.Result());
  if (command == "record" && argc == 8) {
    return Record(argv[2], std::strtod(argv[3], nullptr),
                  {Signed(argv[4]), Signed(argv[5]), Signed(argv[6])}, argv[7]);
  }
  if (command == "play" && (argc == 3 || argc == 4)) {
    return Play(argv[2], argc == 4 ? std::strtod(argv[3], nullptr) : -1.0);
  }
  if (command == "check" && argc == 3) return Check(argv[2]);
  if (command == "edges" && argc == 3) return Edges(argv[2]);
  if (command == "hole" && argc == 6) return Hole(argv[2], {Signed(argv[3]), Signed(argv[4]), Signed(argv[5])});
  return Usage();
}
