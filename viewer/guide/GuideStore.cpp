#include "viewer/guide/GuideStore.h"

#include <windows.h>

#include <algorithm>
#include <tuple>

#include "core/guide/GuideFile.h"
#include "core/guide/GuideMerge.h"

namespace {

// After a retune the demultiplexer may still hold packets of the station
// left; a second is more than its queue holds.
constexpr std::uint64_t kRetuneSettleMs = 1000;

}  // namespace

GuideStore::GuideStore(std::filesystem::path file) : file(std::move(file)) {}

std::optional<std::string> GuideStore::Load() {
  LoadedGuide loaded = LoadGuide(file);
  programmes = std::move(loaded.programmes);
  writable = loaded.writable;
  ++generation;
  return loaded.notice;
}

void GuideStore::TakePackets(std::span<const std::uint8_t> packets) {
  std::lock_guard lock(readerLock);
  if (GetTickCount64() < ignoreUntilMs) return;
  reader.FeedPackets(packets);
}

void GuideStore::Restart() {
  std::lock_guard lock(readerLock);
  reader.Reset();
  ignoreUntilMs = GetTickCount64() + kRetuneSettleMs;
}

bool GuideStore::PollBroadcast(std::int64_t nowUtc) {
  std::vector<GuideProgramme> fresh;
  {
    std::lock_guard lock(readerLock);
    if (reader.Generation() != readerSeen) {
      readerSeen = reader.Generation();
      fresh = reader.Programmes();
    }
  }
  const std::uint64_t before = generation;
  if (!fresh.empty()) Merge(fresh);
  if (unsaved && !unsavedSince) unsavedSince = nowUtc;  // the write waits from here
  // A write that failed is tried again after the same delay.
  if (unsaved && nowUtc - *unsavedSince >= kWriteDelaySeconds && !Save(nowUtc)) unsavedSince = nowUtc;
  return generation != before;
}

std::vector<std::uint16_t> GuideStore::WantedPids() {
  std::lock_guard lock(readerLock);
  return reader.WantedPids();
}

void GuideStore::TakeGuide(const std::vector<GuideProgramme>& fresh) {
  if (!fresh.empty()) Merge(fresh);
}

void GuideStore::Merge(const std::vector<GuideProgramme>& fresh) {
  std::vector<GuideProgramme> merged = programmes;
  MergeProgrammes(merged, fresh);
  if (merged == programmes) return;  // the same programmes again
  std::sort(merged.begin(), merged.end(), [](const GuideProgramme& a, const GuideProgramme& b) {
    return std::tie(a.major, a.minor, a.startUtc, a.eventId) < std::tie(b.major, b.minor, b.startUtc, b.eventId);
  });
  programmes = std::move(merged);
  ++generation;
  unsaved = true;
}

bool GuideStore::Save(std::int64_t nowUtc) {
  if (!unsaved) return true;
  // A damaged guide.txt that could not be set aside is never written over.
  if (!writable) return false;
  if (!WriteGuideFile(file, programmes, nowUtc)) return false;
  unsaved = false;
  unsavedSince.reset();
  return true;
}
