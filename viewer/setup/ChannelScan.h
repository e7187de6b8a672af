#pragma once
// The automatic channel scan, without the platform: which RF channel to
// tune next, how long to wait for a signal and then for a complete channel
// table, and which channels each RF channel brings. The shell tunes, reads
// the signal and collects the tables, and calls Tick with the time now.

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "core/files/ChannelEntry.h"
#include "core/ts/VirtualChannelTable.h"

// The "From RF" and "To RF" spins.
struct ScanSpin {
  int lowest;
  int highest;
  int fresh;
};
inline constexpr ScanSpin kScanFromSpin{2, 69, 2};
inline constexpr ScanSpin kScanToSpin{2, 69, 36};

// How long a tuned RF channel may take to show a signal (a tuner locks on a
// new RF channel within a fraction of a second); without one the scan moves
// on.
inline constexpr std::chrono::milliseconds kScanLockWait{800};
// How long an RF channel with a signal may take to bring a complete virtual
// channel table; the stations send it several times a second.
inline constexpr std::chrono::milliseconds kScanTableWait{2000};

// What one RF channel gave.
struct ScanRfResult {
  enum class Kind { NoSignal, NoChannelTable, Channels };
  int physical = 0;
  Kind kind = Kind::NoSignal;
  std::vector<ChannelEntry> offered;  // Channels: those not in the list yet
};

class ChannelScan {
 public:
  using Clock = std::chrono::steady_clock;

  // Scans RF `from` to `to` (swapped when given the other way round);
  // `list` is the channel list now, whose channels are not offered again.
  ChannelScan(int from, int to, std::vector<ChannelEntry> list, Clock::time_point now);

  // What a tick asks of the shell.
  struct Step {
    std::optional<ScanRfResult> finished;  // the RF channel just done
    std::optional<int> tune;               // the RF channel to tune now
  };

  // The RF channel to tune first.
  int FirstRf() const { return from; }
  // The RF channel asked for has been tuned: its lock wait counts from now,
  // however long stopping the graph and tuning took.
  void Tuned(Clock::time_point now) { since = now; }
  // `signalPercent`: the tuned RF channel's signal as shown (nothing when it
  // cannot be read); `tvct`: its complete channel table once there.
  Step Tick(Clock::time_point now, std::optional<int> signalPercent, const std::optional<Tvct>& tvct);

  bool IsDone() const { return done; }
  int CurrentRf() const { return current; }
  // RF channels finished, for the progress bar (0 to RfCount()).
  int RfsDone() const { return current - from + (done ? 1 : 0); }
  int RfCount() const { return to - from + 1; }

 private:
  Step Finish(Clock::time_point now, ScanRfResult result);

  int from;
  int to;
  int current;
  std::vector<ChannelEntry> known;  // the list and what the scan offered
  bool locked = false;             // the current RF channel showed a signal
  Clock::time_point since;          // tuned, or locked
  bool done = false;
};

// The status line: "RF 7: SIGNAL 80%" while an RF channel is tried ("RF 8:
// NO SIGNAL" before one shows), and after it "RF 41: SIGNAL, NO CHANNEL
// TABLE" or "RF 7: 2 CHANNELS".
std::string ScanTryingText(int physical, std::optional<int> signalPercent);
std::string ScanResultText(const ScanRfResult& result);
