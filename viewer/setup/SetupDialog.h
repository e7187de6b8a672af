#pragma once
// "Telvantis Setup": a modal window with six tab pages and an "OK" button,
// the only way to close it. It edits the session's settings, channel list
// and selected tuner model; the panel behind it is reached through
// SetupHost.

#include <windows.h>
#include <commctrl.h>

#include "win/Dialog.h"
#include "viewer/ViewerSession.h"
#include "viewer/setup/ChannelPage.h"
#include "viewer/setup/FolderPage.h"
#include "viewer/setup/OptionsPage.h"
#include "viewer/setup/SchedulePage.h"
#include "viewer/setup/SetupHost.h"
#include "viewer/setup/TunerPage.h"

class SetupDialog : public Dialog<SetupDialog> {
 public:
  SetupDialog(ViewerSession& session, SetupHost& host);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // Shows the window modally on "Digital Tuners", or on "Schedule".
  void Open(HWND owner, bool onSchedule);

 private:
  INT_PTR OnInitDialog();
  void CreatePages();
  void ShowPage(int index);
  void OnOk();

  ViewerSession& session;
  SetupHost& host;
  TunerPage tuner;
  OptionsPage display;
  OptionsPage audio;
  ChannelPage channels;
  FolderPage folders;
  SchedulePage schedule;
  bool openOnSchedule = false;
};
