#include "standin/decoders/FrameCounters.h"

#include "standin/shared/StandinSettings.h"
#include "win/UniqueHandle.h"

namespace decoders {

namespace {

constexpr char kSubKey[] = "\\Decoders";
constexpr ULONGLONG kIntervalMs = 1000;

// The counters are for tests only: when the key cannot be had, the stream
// goes on without them.
bool OpenCounters(UniqueHkey& owner) {
  const std::string keyName = std::string(standin::kSettingsKey) + kSubKey;
  return RegCreateKeyExA(HKEY_CURRENT_USER, keyName.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                         owner.Put(), nullptr) == ERROR_SUCCESS;
}

void WriteValues(const VideoReport* video, DWORD audioFrames) {
  UniqueHkey owner;
  if (!OpenCounters(owner)) return;
  HKEY key = owner.Get();
  // A value that cannot be written is simply missing for the test that reads it.
  auto setText = [key](const char* name, const std::string& text) {
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
  };
  if (video != nullptr) {
    RegSetValueExA(key, "VideoFrames", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&video->frames),
                   sizeof(DWORD));
    setText("VideoClock", video->clock);
    setText("VideoSize", video->size);
    setText("VideoProgram", video->program);
  } else {
    RegSetValueExA(key, "AudioFrames", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&audioFrames),
                   sizeof(DWORD));
  }
}

}  // namespace

void ReportDisplayModeChanges(DWORD calls) {
  UniqueHkey owner;
  if (!OpenCounters(owner)) return;
  // A value that cannot be written is missing for the test that reads it.
  RegSetValueExA(owner.Get(), "DisplayModeChanges", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&calls),
                 sizeof(DWORD));
}

bool FrameCounters::Due(bool now) {
  const ULONGLONG tick = GetTickCount64();
  if (!now && tick - lastWrite < kIntervalMs) return false;
  lastWrite = tick;
  return true;
}

void FrameCounters::ReportVideo(const VideoReport& report, bool now) {
  if (Due(now)) WriteValues(&report, 0);
}

void FrameCounters::ReportAudio(DWORD frames, bool now) {
  if (Due(now)) WriteValues(nullptr, frames);
}

}  // namespace decoders
