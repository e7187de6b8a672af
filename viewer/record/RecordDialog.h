#pragma once
// "Record...": the user chooses how long to record, as a stop time or as
// hours and minutes; either one follows the other. The file the recording
// will go to is shown, read-only.

#include <optional>
#include <string>

#include "core/time/CivilTime.h"
#include "viewer/record/RecordClock.h"
#include "win/Dialog.h"

// What the dialog closes with.
struct RecordRequest {
  ClockSpan duration;
  CivilTime stop;
};

class RecordDialog : public Dialog<RecordDialog> {
 public:
  RecordDialog();

  // Runs the dialog; nothing when it was cancelled.
  std::optional<RecordRequest> Ask(HWND owner, const std::string& filePath);

  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  INT_PTR OnInitDialog();
  INT_PTR OnCommand(int id, int code);
  void OnStopTimePicked();
  void OnSpansChanged();
  void OnRecord();
  void ShowDuration(const ClockSpan& span);
  ClockSpan SpinSpan() const;

  std::string filePath;
  RecordRequest request;
  bool updating = false;  // the dialog is filling its own fields
};
