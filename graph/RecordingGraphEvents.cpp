#include "graph/RecordingGraphEvents.h"

RecordingEnd RecordingEndOf(long code, bool abortIsWriteFailure) {
  switch (code) {
    case graph_events::kStreamBufferWriteFailure: return RecordingEnd::WriteFailure;
    case graph_events::kErrorAbort:
    case graph_events::kStreamErrorStopped:
      return abortIsWriteFailure ? RecordingEnd::WriteFailure : RecordingEnd::Aborted;
    default: return RecordingEnd::None;
  }
}
