#pragma once
// "Telvantis Channel Scan": tries the RF channels of a range one after
// another, reads each one's channel table and lists the channels it
// brings, selected. "ADD CHANNELS" closes it with the selected ones for
// the setup window's list; closing it otherwise adds nothing. While it
// scans the live graph is stopped and the scan's own graph has the tuner;
// "STOP" ends the scan at once and keeps what was found. Modal; the scan
// runs on a timer, so the window answers throughout.

#include <windows.h>

#include <chrono>
#include <mutex>
#include <optional>
#include <vector>

#include "core/files/ChannelEntry.h"
#include "core/guide/StationGuideReader.h"
#include "core/tuning/TuningModel.h"
#include "graph/ScanGraph.h"
#include "viewer/setup/ChannelScan.h"
#include "viewer/setup/SetupHost.h"
#include "win/Dialog.h"

class ScanWindow : public Dialog<ScanWindow> {
 public:
  // `model`: the tuner model in use, or nothing; `list`: the setup
  // window's channel list, whose channels are not offered.
  ScanWindow(SetupHost& host, const TuningModel* model, std::vector<ChannelEntry> list);
  ~ScanWindow();
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // After Run gave IDOK: the channels selected, in the list's order.
  const std::vector<ChannelEntry>& Chosen() const { return chosen; }

 private:
  INT_PTR OnInitDialog();
  INT_PTR OnCommand(int id);
  void Start();
  void OnTick();
  bool WaitingForGuide(const std::optional<Tvct>& tvct);
  void HandOnGuide();
  void ShowFinished(const ScanRfResult& result);
  void TuneNext(int physical);
  // Ends a scan in progress: the graph goes, the live graph runs again.
  void EndScan(const char* status);
  void AddChannels();
  int SpinValue(int id, const ScanSpin& spin) const;

  static constexpr UINT_PTR kTickTimer = 1;
  static constexpr UINT kTickPeriodMs = 50;
  // Once an RF channel's channel table is whole, its guide may take this
  // much longer: the stations send the next hours' events twice a second,
  // so every channel usually has its first programmes within half a
  // second; the later hours come in later scans or while watching.
  static constexpr std::chrono::milliseconds kGuideWait{1500};

  SetupHost& host;
  const TuningModel* model;
  std::vector<ChannelEntry> list;
  std::vector<ChannelEntry> found;  // the rows of the window's list
  std::vector<ChannelEntry> chosen;
  std::string notes;                // the RF channels without a channel table

  // Filled on the graph's streaming thread, read by the timer.
  std::mutex tablesLock;
  StationGuideReader tables;
  // The step the scan took when the RF channel's channel table was whole,
  // held back while its guide comes, and since when.
  std::optional<ChannelScan::Step> heldStep;
  ChannelScan::Clock::time_point guideSince;

  std::optional<ChannelScan> scan;
  bool liveStopped = false;
  ScanGraph graph;  // after the tables: the graph's threads end before they go
};
