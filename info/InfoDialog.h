// The utility's one window, "Telvantis Info": the device, decoder and filter
// lists, the two selection files, and the filter registration buttons.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "win/Dialog.h"
#include "win/UniqueHandle.h"
#include "info/FilterCheck.h"
#include "info/RecheckTicks.h"

class InfoDialog : public Dialog<InfoDialog> {
 public:
  InfoDialog();
  ~InfoDialog();
  InfoDialog(const InfoDialog&) = delete;
  InfoDialog& operator=(const InfoDialog&) = delete;

  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  enum class CheckTime { StartUp, Recheck };

  BOOL OnInitDialog();
  void OnCommand(int id);
  bool OnSysCommand(WPARAM command);
  void OnTimer(UINT_PTR timer);

  void SetIcons();
  void AddAboutItem();

  void FillTunerList();
  void FillCaptureList();
  void FillDecoderList(int listId, const GUID& inputSubtype, const GUID& major, const char* noneLine);
  void CheckStreamBuffer(CheckTime when);
  void CheckTransportStream(CheckTime when);
  // The names of the DirectShow filter category; nothing when the device
  // enumerator fails, which only the start-up check reports.
  std::optional<std::vector<std::string>> FilterCategoryNames(CheckTime when);
  void ShowCurrentFiles();

  void OnCreateTunerFile();
  void OnCreateDecodersFile();
  void OnInstallDvrMs();
  void OnInstallTs();

  // Lines that name devices are added in sorted order; the "not found"
  // lines at the end, in their own order.
  void AddLines(int listId, const std::vector<std::string>& lines, bool sorted);
  void ClearList(int listId);
  // The selected line of a list that holds devices; nothing when none is
  // selected or the list holds only its "not found" lines.
  std::optional<std::string> SelectedDevice(int listId) const;
  void RunBatchFile(const char* file);
  void StartRecheck(UINT_PTR timer);

  UniqueHicon bigIcon;
  UniqueHicon smallIcon;
  bool tsInstalled = false;
  RecheckTicks ticks;
  // Whether each of the lists 1001 to 1004 holds devices.
  bool listHasDevices[4] = {false, false, false, false};
};
