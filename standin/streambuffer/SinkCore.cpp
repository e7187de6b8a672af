#include "standin/streambuffer/SinkCore.h"

#include "graph/RecordingGraphEvents.h"
#include "win/HResultMacros.h"

#include <vfwmsgs.h>

#include <algorithm>

namespace standin {

SinkCore::SinkCore() : assembler([this](const streambuffer::SinkUnit& unit) { OnUnit(unit); }) {}

void SinkCore::Receive(streambuffer::Elementary stream, const streambuffer::ReceivedBuffer& buffer) {
  std::lock_guard guard(lock);
  if (!live) return;
  assembler.Receive(stream, buffer);
}

void SinkCore::EndOfStream() {
  std::lock_guard guard(lock);
  assembler.Flush();
}

void SinkCore::OnUnit(const streambuffer::SinkUnit& unit) {
  // The lock is held: the units go out in the order they were received.
  live->Write(unit);
  for (const auto& recording : recordings) recording->Write(unit, videoExpected);
  if (writeFailureTold || !notify) return;
  // A write that failed (a full disk) is told once, as the engine does, with
  // the failure's code.
  HRESULT failure = live->Result();
  for (const auto& recording : recordings) {
    if (SUCCEEDED(failure)) failure = recording->Result();
  }
  if (FAILED(failure)) {
    writeFailureTold = true;
    notify(graph_events::kStreamBufferWriteFailure, static_cast<LONG_PTR>(failure));
  }
}

void SinkCore::SetEventNotifier(EventNotifier notifier) {
  std::lock_guard guard(lock);
  notify = std::move(notifier);
}

HRESULT SinkCore::StartRun(const BufferSettings& settings, const std::wstring& stubPath,
                           bool videoConnected) {
  std::wstring directory;
  RETURN_IF_FAILED(PrepareDirectory(settings, directory));
  std::wstring stem;
  if (!stubPath.empty()) {
    const auto slash = stubPath.find_last_of(L"\\/");
    stem = stubPath.substr(slash == std::wstring::npos ? 0 : slash + 1);
    const auto dot = stem.find_last_of(L'.');
    if (dot != std::wstring::npos && dot > 0) stem.resize(dot);
  }
  stem += (stem.empty() ? L"buffer_" : L"_buffer_") + std::to_wstring(GetCurrentProcessId()) + L"_" +
          std::to_wstring(GetTickCount());
  streambuffer::RingSettings ring;
  ring.minimum = static_cast<int>(std::clamp(settings.minimum, kMinimumFiles, kMaximumFiles));
  ring.maximum = static_cast<int>(std::clamp(settings.maximum, settings.minimum, kMaximumFiles));
  ring.fileSeconds = std::max(settings.seconds, kMinimumSeconds);
  auto buffer = std::make_shared<LiveBuffer>(directory, stem, ring);
  std::lock_guard guard(lock);
  if (live) live->End();
  live = std::move(buffer);
  videoExpected = videoConnected;
  writeFailureTold = false;
  assembler.ExpectVideo(videoConnected);
  assembler.Restart();
  return S_OK;
}

// The buffer ends; its files go when its last reader lets it go.
void SinkCore::StopRun() {
  std::lock_guard guard(lock);
  assembler.Flush();
  if (live) live->End();
  live.reset();
}

void SinkCore::RecorderMade() {
  std::lock_guard guard(lock);
  ++recordersAlive;
}

void SinkCore::RecorderGone() {
  std::lock_guard guard(lock);
  --recordersAlive;
}

int SinkCore::RecordersAlive() {
  std::lock_guard guard(lock);
  return recordersAlive;
}

bool SinkCore::IsRecording() {
  std::lock_guard guard(lock);
  return !recordings.empty();
}

void SinkCore::AddRecording(const std::shared_ptr<RecordingFile>& recording) {
  std::lock_guard guard(lock);
  recordings.push_back(recording);
}

void SinkCore::RemoveRecording(const RecordingFile* recording) {
  std::lock_guard guard(lock);
  std::erase_if(recordings, [&](const auto& held) { return held.get() == recording; });
}

std::shared_ptr<LiveBuffer> SinkCore::Live() {
  std::lock_guard guard(lock);
  return live;
}

void SinkCore::SetVideoType(const AM_MEDIA_TYPE* mt) {
  std::lock_guard guard(lock);
  hasVideoType = mt != nullptr && SUCCEEDED(videoType.Set(*mt));
}

void SinkCore::SetAudioType(const AM_MEDIA_TYPE* mt) {
  std::lock_guard guard(lock);
  hasAudioType = mt != nullptr && SUCCEEDED(audioType.Set(*mt));
}

HRESULT SinkCore::VideoType(dshow::MediaType& mt) {
  std::lock_guard guard(lock);
  RETURN_HR_IF(VFW_E_NOT_CONNECTED, !hasVideoType);
  return mt.Set(*videoType);
}

HRESULT SinkCore::AudioType(dshow::MediaType& mt) {
  std::lock_guard guard(lock);
  RETURN_HR_IF(VFW_E_NOT_CONNECTED, !hasAudioType);
  return mt.Set(*audioType);
}

}  // namespace standin
