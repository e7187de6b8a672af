#pragma once
// What a graph event means to a silent recording: most events are news, a
// few end it. The codes are the platform's (the stream-buffer ones are
// posted by the engine's filters).

namespace graph_events {
inline constexpr long kErrorAbort = 0x03;          // EC_ERRORABORT
inline constexpr long kStreamErrorStopped = 0x06;  // EC_STREAM_ERROR_STOPPED
// STREAMBUFFER_EC_WRITE_FAILURE (STREAMBUFFER_EC_BASE 0x0326, plus 4): the
// stream-buffer sink could not write (a full disk).
inline constexpr long kStreamBufferWriteFailure = 0x0326 + 4;
// STREAMBUFFER_EC_TIMEHOLE (STREAMBUFFER_EC_BASE): a stream-buffer reader
// reached a stretch whose backing files were deleted while it was read;
// parameter 1 is where the hole starts, parameter 2 how long it lasts, both
// in milliseconds of the buffer's positions.
inline constexpr long kStreamBufferTimeHole = 0x0326;
}  // namespace graph_events

enum class RecordingEnd {
  None,          // the recording goes on
  WriteFailure,  // the file could not be written
  Aborted,       // the graph stopped itself for another reason
};

// `abortIsWriteFailure`: the graph writes through our transport-stream dump
// filter, which aborts the graph only when a write fails.
RecordingEnd RecordingEndOf(long code, bool abortIsWriteFailure);
