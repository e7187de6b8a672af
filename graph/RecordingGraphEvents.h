#pragma once
// What a graph event means to a silent recording: most events are news, a
// few end it. The codes are the platform's.

namespace graph_events {
inline constexpr long kErrorAbort = 0x03;          // EC_ERRORABORT
inline constexpr long kStreamErrorStopped = 0x06;  // EC_STREAM_ERROR_STOPPED
// STREAMBUFFER_EC_WRITE_FAILURE (STREAMBUFFER_EC_BASE 0x0326, plus 4): the
// stream-buffer sink could not write (a full disk).
inline constexpr long kStreamBufferWriteFailure = 0x0326 + 4;
}  // namespace graph_events

enum class RecordingEnd {
  None,          // the recording goes on
  WriteFailure,  // the file could not be written
  Aborted,       // the graph stopped itself for another reason
};

// `abortIsWriteFailure`: the graph writes through our transport-stream dump
// filter, which aborts the graph only when a write fails.
RecordingEnd RecordingEndOf(long code, bool abortIsWriteFailure);
