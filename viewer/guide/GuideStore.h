#pragma once
// The viewer's programme guide: guide.txt read at start, the guide of the
// station on the tuned RF channel read from the broadcast while television
// runs, and the guides the channel scan hands over, merged station by
// station and written back to guide.txt a few seconds after a change and
// at exit. The transport packets arrive on the graph's streaming thread;
// everything else runs on the viewer's UI thread. The reader is kept under
// a small lock that the streaming thread holds only while it parses, and
// the merging and writing happen on the UI thread in Poll.

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/guide/GuideProgramme.h"
#include "core/guide/StationGuideReader.h"

class GuideStore {
 public:
  explicit GuideStore(std::filesystem::path file);

  // Reads guide.txt; a damaged file is set aside as guide.bad and the guide
  // starts empty. The notice for the log when that happened.
  std::optional<std::string> Load();

  // Streaming thread: the next table packets of the tuned RF channel.
  void TakePackets(std::span<const std::uint8_t> packets);

  // UI thread: the tuner was tuned again, so the tables start afresh. The
  // packets already on their way belong to the last station: those of the
  // next moment are passed over.
  void Restart();

  // UI thread, on the panel's 500 ms timer: merges what the station sent
  // since the last call and writes guide.txt when a change has waited long
  // enough. True when Programmes changed.
  bool PollBroadcast(std::int64_t nowUtc);

  // The PIDs the live graph should map for the tables now.
  std::vector<std::uint16_t> WantedPids();

  // UI thread: a station's programmes from the channel scan.
  void TakeGuide(const std::vector<GuideProgramme>& programmes);

  // Writes guide.txt now when anything changed since it was last written
  // (at exit). False when it could not be written.
  bool Save(std::int64_t nowUtc);

  // The guide, sorted by channel and start, and a count that grows with
  // every change.
  const std::vector<GuideProgramme>& Programmes() const { return programmes; }
  std::uint64_t Generation() const { return generation; }

  // A change waits this long before guide.txt is written, so that a guide
  // arriving table by table is written once.
  static constexpr std::int64_t kWriteDelaySeconds = 5;

 private:
  void Merge(const std::vector<GuideProgramme>& fresh);

  std::filesystem::path file;
  bool writable = true;  // false: a damaged file could not be set aside
  std::vector<GuideProgramme> programmes;
  std::uint64_t generation = 0;
  bool unsaved = false;                      // changed since guide.txt was written
  std::optional<std::int64_t> unsavedSince;  // seen unsaved by PollBroadcast since

  std::mutex readerLock;
  StationGuideReader reader;       // under readerLock
  std::uint64_t ignoreUntilMs = 0;  // under readerLock: after a retune
  std::uint64_t readerSeen = 0;     // the reader's generation last merged
};
