#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/schedule/ScheduleList.h"
#include "scheduler/SchedulerEngine.h"
#include "scheduler/SchedulerSetup.h"
#include "scheduler/SchedulerWindowRules.h"
#include "scheduler/Win32SchedulerActions.h"
#include "win/Dialog.h"

// The scheduler's only window: the event form, the event list, the delay,
// and the tray icon with its menu. It lives hidden in the notification area
// and drives the engine with its five timers and the messages it receives.
//
// Engine calls never nest: a timer tick or a command that arrives while the
// engine is busy (a shell start or a call to the task scheduler may run the
// message loop) is dropped (a tick) or held until the engine returns
// (anything else), and the message boxes the engine asks for are shown after
// it has returned.
class SchedulerWindow : public Dialog<SchedulerWindow>, private SchedulerShell {
 public:
  SchedulerWindow(SchedulerSetup setup, SchedulerVariant variant);
  ~SchedulerWindow() override;

  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // Posted by a second start of the scheduler: show the window.
  static constexpr UINT kShowMessage = WM_APP + 30;

 private:
  // SchedulerShell
  void HideWindow() override;
  void RefreshRows() override;
  void QueueMessage(const std::string& text) override;
  void QueueMessage(const std::string& text, UINT boxStyle);

  void OnInitDialog();
  void OnCommand(int id, int code);
  void OnNotify(const NMHDR& header);
  void OnTimer(UINT_PTR id);
  void OnTrayIcon(LPARAM mouseMessage);
  void OnRegisteredMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // "TELVANTISGUIDE RECORD EVENT": take the guide's event, add or refuse it, answer.
  void OnGuideEvent();

  // Menu and button actions.
  void OpenScheduler();
  void OpenViewer();
  void OpenRecorder();
  void OpenPlayer();
  void ExitScheduler();
  void SaveAndHide();
  void AddEvent();
  void SaveEditedEvent();
  void LeaveEditMode();
  void CancelEdit();
  void EnterEditMode();
  void DismissWindow();
  void RemoveSelected();
  void SkipWeekOfSelected();
  void ShowRowMenu();
  void ShowEditMenu();
  void ChooseFolder();

  // The form.
  void FillChannelList();
  void ResetForm();
  void ApplyTypeRules();
  void OnStartTimeChanged();
  void OnEndTimeChanged();
  void OnSpinsChanged();
  void SetDurationControls(const DisplayedDuration& duration);
  std::optional<ScheduleEvent> EventFromForm() const;
  void LoadForm(const ScheduleEvent& event);
  void ShowFolder();
  void ClearSelection();
  void EnableTimeControls(bool enabled);

  // The list and the engine.
  void SelectRow(int index);
  void ListChanged(std::optional<std::size_t> newRow);
  void WithEngine(std::function<void()> work);
  void ShowQueuedMessages();
  void PlaceByTaskbar();
  void SetTrayIcon(bool recording);
  void RemoveTrayIcon();

  SchedulerWindowRules::ClockTime PickerTime(int id) const;
  void SetPickerTime(int id, SchedulerWindowRules::ClockTime time);
  int SpinValue(int id) const;
  void SetSpinValue(int id, int value);
  int Selection(int id) const;

  SchedulerSetup setup;
  SchedulerVariant variant;
  SchedulerVariantNames names;
  ScheduleList list;
  std::vector<std::string> loadProblems;
  std::unique_ptr<Win32SchedulerActions> actions;
  std::unique_ptr<SchedulerEngine> engine;

  int selectedRow = -1;
  bool editing = false;
  // The edited event as it was when editing began: the engine may move rows
  // meanwhile, so the event is found again by its fields when it is saved.
  ScheduleEvent editedEvent;
  std::string currentFolder;
  std::string lastRecordFolder;
  bool updatingForm = false;

  bool engineBusy = false;
  std::deque<std::function<void()>> heldWork;
  struct QueuedMessage {
    std::string text;
    UINT boxStyle;
  };
  std::deque<QueuedMessage> queuedMessages;
  bool showingMessages = false;

  std::optional<CivilTime> lastClockTick;  // local time and tick count of the last clock tick
  ULONGLONG lastClockTickMs = 0;

  bool trayIconAdded = false;
  bool recordingIcon = false;
  UINT trayCallbackMessage = WM_APP + ProgramProtocol::kTrayCallbackOffset;
  UINT eventFinishedMessage = WM_APP + ProgramProtocol::kEventFinishedOffset;
  UINT recorderReportMessage = 0;
  UINT shutdownMessage = 0;
  UINT guideEventMessage = 0;
  UINT guideAnswerMessage = 0;
  UINT taskbarCreatedMessage = 0;
};
