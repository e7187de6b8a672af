#pragma once
// The ring of backing files behind a stream-buffer sink, without the files
// themselves: when a new file begins, which old files go, where a time is
// kept and what range is still available. Times are unwrapped 90 kHz PTS.
//
// A file begins with a picture where decoding may start once the current
// one spans the file duration, so that each file can be played on its own.
// At least `minimum` files are kept; older ones are kept while a reader
// still reads them, up to `maximum`. Past that the oldest file, when a reader
// is still in it, stays and the one after it goes instead: the reader
// meets a hole in time at the end of its file.

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace streambuffer {

struct RingSettings {
  int minimum = 4;
  int maximum = 6;
  std::uint64_t fileSeconds = 300;
};

struct RingFile {
  std::uint64_t number = 0;  // 0, 1, 2, ... in the order they began
  std::uint64_t firstPts = 0;
  std::uint64_t lastPts = 0;
};

class BackingRing {
 public:
  explicit BackingRing(RingSettings settings);

  // Whether the unit at `pts` should begin a new file.
  bool NeedsNewFile(std::uint64_t pts, bool randomAccess) const;
  // A new file begins at `pts`; returns its number.
  std::uint64_t BeginFile(std::uint64_t pts);
  // A unit at `pts` went into the newest file.
  void Extend(std::uint64_t pts);

  // The files to delete now, in the order they go (they leave the ring).
  // `readerPts`: the earliest time a reader still reads, if any.
  std::vector<std::uint64_t> Trim(std::optional<std::uint64_t> readerPts);

  const std::deque<RingFile>& Files() const { return files_; }
  bool Empty() const { return files_.empty(); }
  // The range kept: from the first file's start to the newest unit.
  std::optional<std::uint64_t> Earliest() const;
  std::optional<std::uint64_t> Latest() const;
  // The file that holds `pts`: the last one that begins at or before it (the
  // first file for an earlier time).
  std::optional<RingFile> FindFile(std::uint64_t pts) const;
  // The file after `number`, if there is one yet.
  std::optional<RingFile> NextFile(std::uint64_t number) const;

 private:
  RingSettings settings_;
  std::deque<RingFile> files_;
  std::uint64_t nextNumber_ = 0;
};

}  // namespace streambuffer
