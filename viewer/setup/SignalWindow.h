#pragma once
// "Telvantis Signal Strength": the tuned channel's signal, large, with a
// bar and, for the tuners whose scale is known, a beep whose rate rises with
// the strength, for aiming an antenna. Modal; "OK" closes it.

#include "win/Dialog.h"
#include "win/UniqueHandle.h"
#include "viewer/setup/SetupHost.h"
#include "viewer/setup/SignalMeter.h"

class SignalWindow : public Dialog<SignalWindow> {
 public:
  // `model`: the tuner model in use, or nothing.
  SignalWindow(SetupHost& host, const TuningModel* model);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  INT_PTR OnInitDialog();
  void OnReadTimer();
  void Close();

  static constexpr UINT_PTR kReadTimer = 1;
  static constexpr UINT_PTR kBeepTimer = 2;
  static constexpr UINT kReadPeriodMs = 250;

  SetupHost& host;
  SignalMeter meter;
  UniqueGdiObject font;
};
