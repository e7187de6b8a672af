#include "standin/streambuffer/BackingRing.h"

#include "standin/streambuffer/RecordingFormat.h"

#include <algorithm>

namespace streambuffer {

BackingRing::BackingRing(RingSettings settings) : settings_(settings) {
  settings_.minimum = std::max(settings_.minimum, 1);
  settings_.maximum = std::max(settings_.maximum, settings_.minimum);
  settings_.fileSeconds = std::max<std::uint64_t>(settings_.fileSeconds, 1);
}

bool BackingRing::NeedsNewFile(std::uint64_t pts, bool randomAccess) const {
  if (files_.empty()) return true;
  const RingFile& newest = files_.back();
  return randomAccess && pts >= newest.firstPts + settings_.fileSeconds * kPtsPerSecond;
}

std::uint64_t BackingRing::BeginFile(std::uint64_t pts) {
  files_.push_back({nextNumber_, pts, pts});
  return nextNumber_++;
}

void BackingRing::Extend(std::uint64_t pts) {
  if (!files_.empty()) files_.back().lastPts = std::max(files_.back().lastPts, pts);
}

std::vector<std::uint64_t> BackingRing::Trim(std::optional<std::uint64_t> readerPts) {
  std::vector<std::uint64_t> gone;
  const auto minimum = static_cast<std::size_t>(settings_.minimum);
  const auto maximum = static_cast<std::size_t>(settings_.maximum);
  while (files_.size() > minimum) {
    // The oldest file is still read while the reader is before the second.
    const bool read = readerPts && *readerPts < files_[1].firstPts;
    if (read && files_.size() <= maximum) break;
    if (read && files_.size() > 2) {
      // The reader keeps its file; the next one goes (never the newest,
      // which is being written).
      gone.push_back(files_[1].number);
      files_.erase(files_.begin() + 1);
      continue;
    }
    gone.push_back(files_.front().number);
    files_.pop_front();
  }
  return gone;
}

std::optional<std::uint64_t> BackingRing::Earliest() const {
  if (files_.empty()) return std::nullopt;
  return files_.front().firstPts;
}

std::optional<std::uint64_t> BackingRing::Latest() const {
  if (files_.empty()) return std::nullopt;
  return files_.back().lastPts;
}

std::optional<RingFile> BackingRing::FindFile(std::uint64_t pts) const {
  if (files_.empty()) return std::nullopt;
  auto found = std::upper_bound(files_.begin(), files_.end(), pts,
                                [](std::uint64_t t, const RingFile& f) { return t < f.firstPts; });
  if (found == files_.begin()) return files_.front();
  return *std::prev(found);
}

std::optional<RingFile> BackingRing::NextFile(std::uint64_t number) const {
  for (const RingFile& file : files_) {
    if (file.number > number) return file;
  }
  return std::nullopt;
}

}  // namespace streambuffer
