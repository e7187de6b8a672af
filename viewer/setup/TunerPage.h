#pragma once
// The "Digital Tuners" tab: the model in use, the tuner devices present,
// and the choice of the model for the next start.

#include "win/Dialog.h"
#include "viewer/ViewerSession.h"

class TunerPage : public Dialog<TunerPage> {
 public:
  explicit TunerPage(ViewerSession& session);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  INT_PTR OnInitDialog();
  void ChangeTuner();

  ViewerSession& session;
};
