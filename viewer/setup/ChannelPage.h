#pragma once
// The "Channel Setup" tab: the user dials an RF channel, a channel and a
// sub-channel, tunes them to check reception, names them and adds them to
// the channel list, which OK hands to the session and writes to
// channels.txt. SCAN... finds channels by their channel tables.

#include <windows.h>
#include <commctrl.h>

#include "win/Dialog.h"
#include "viewer/ViewerSession.h"
#include "viewer/setup/ChannelListEdit.h"
#include "viewer/setup/SetupHost.h"

class ChannelPage : public Dialog<ChannelPage> {
 public:
  ChannelPage(ViewerSession& session, SetupHost& host);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // "OK": channels.txt is written (deleted for an empty list), the panel's
  // channel controls follow the list, and the session takes it with the
  // channel last tuned as its current one.
  void Commit();

 private:
  INT_PTR OnInitDialog();
  INT_PTR OnCommand(int id, int code);
  INT_PTR OnNotify(const NMHDR& header);
  void OnSignalTimer();
  void Tune();
  void Add();
  void Update();
  void Remove();
  void Scan();
  void SelectRow(int index);
  void ClearSelection();
  void Dial(const ChannelEntry& channel);
  ChannelEntry Dialled() const;
  int DialledNumber(int id, const SpinRange& range) const;
  void RefreshDialledHints();
  void InsertRow(int index);

  static constexpr UINT_PTR kSignalTimer = 1;
  static constexpr UINT kSignalPeriodMs = 500;
  static constexpr int kSignalTicks = 20;

  ViewerSession& session;
  SetupHost& host;
  ChannelListEdit edit{{}};
  TuneValues lastTuned;
  int selected = -1;
  int signalTicks = 0;
  bool filling = false;  // the page itself is setting its fields and rows
};
