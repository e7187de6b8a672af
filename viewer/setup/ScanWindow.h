#pragma once
// "Telvantis Channel Scan": tries the RF channels of a range one after
// another, reads each one's channel table and lists the channels it
// brings, selected. "ADD CHANNELS" closes it with the selected ones for
// the setup window's list; closing it otherwise adds nothing. While it
// scans the live graph is stopped and the scan's own graph has the tuner;
// "STOP" ends the scan at once and keeps what was found. Modal; the scan
// runs on a timer, so the window answers throughout.

#include <windows.h>

#include <mutex>
#include <optional>
#include <vector>

#include "core/files/ChannelEntry.h"
#include "core/ts/PsipCollector.h"
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
  void ShowFinished(const ScanRfResult& result);
  void TuneNext(int physical);
  // Ends a scan in progress: the graph goes, the live graph runs again.
  void EndScan(const char* status);
  void AddChannels();
  int SpinValue(int id, const ScanSpin& spin) const;

  static constexpr UINT_PTR kTickTimer = 1;
  static constexpr UINT kTickPeriodMs = 50;

  SetupHost& host;
  const TuningModel* model;
  std::vector<ChannelEntry> list;
  std::vector<ChannelEntry> found;  // the rows of the window's list
  std::vector<ChannelEntry> chosen;
  std::string notes;                // the RF channels without a channel table

  // Filled on the graph's streaming thread, read by the timer.
  std::mutex tablesLock;
  PsipCollector tables;

  std::optional<ChannelScan> scan;
  bool liveStopped = false;
  ScanGraph graph;  // after the tables: the graph's threads end before they go
};
