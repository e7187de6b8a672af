#pragma once
// One content recording: the units the sink receives from the first picture
// where decoding may start, written to the file named as they come, so
// that the file can be read while it grows. Thread-safe.

#include <windows.h>

#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "standin/streambuffer/RecordingMuxer.h"
#include "standin/streambuffer/SinkAssembler.h"
#include "standin/streambuffer/Win32File.h"

namespace standin {

class RecordingFile {
 public:
  explicit RecordingFile(std::wstring path) : path(std::move(path)) {}

  // Creates the file (empty until the first unit).
  HRESULT Open();
  // From the sink's receive threads. A unit before the first picture where
  // decoding may start is left out. A failed write ends the recording.
  void Write(const streambuffer::SinkUnit& unit, bool videoExpected);
  // Closes the file; later units are left out.
  void Close();

  HRESULT Result();
  bool IsClosed();
  // Whether the first unit went into the file: the recording has begun.
  bool HasBegun();
  const std::wstring& Path() const { return path; }

 private:
  const std::wstring path;
  std::mutex lock;
  WritableFile file;
  std::unique_ptr<streambuffer::RecordingMuxer> muxer;
  bool started = false;
  bool closed = false;
  HRESULT result = S_OK;
};

}  // namespace standin
