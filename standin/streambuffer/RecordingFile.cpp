#include "standin/streambuffer/RecordingFile.h"

#include "win/HResultMacros.h"

namespace standin {

HRESULT RecordingFile::Open() {
  std::lock_guard guard(lock);
  RETURN_HR_IF(E_UNEXPECTED, closed || file.IsOpen());
  RETURN_IF_FAILED(file.Create(path));
  muxer = std::make_unique<streambuffer::RecordingMuxer>([this](std::span<const std::uint8_t> bytes) {
    if (SUCCEEDED(result)) result = file.Append(bytes);
  });
  return S_OK;
}

void RecordingFile::Write(const streambuffer::SinkUnit& unit, bool videoExpected) {
  std::lock_guard guard(lock);
  if (closed || !muxer || FAILED(result)) return;
  if (!started) {
    const bool video = unit.stream == streambuffer::Elementary::Video;
    if (video ? !unit.randomAccess : videoExpected) return;
    started = true;
  }
  muxer->Write(unit.stream, unit.pts, unit.data, unit.randomAccess);
  if (FAILED(result)) file.Close();  // what was written stays readable
}

void RecordingFile::Close() {
  std::lock_guard guard(lock);
  closed = true;
  file.Close();
}

HRESULT RecordingFile::Result() {
  std::lock_guard guard(lock);
  return result;
}

bool RecordingFile::HasBegun() {
  std::lock_guard guard(lock);
  return started;
}

bool RecordingFile::IsClosed() {
  std::lock_guard guard(lock);
  return closed;
}

}  // namespace standin
