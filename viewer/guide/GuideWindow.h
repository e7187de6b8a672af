#pragma once
// "Telvantis Guide": the programme guide as a grid of channels and half
// hours, the selected programme's details, the selected channel's
// programmes as a list (the keyboard's and screen reader's way through the
// guide), the WATCH, RECORD and RECORD SERIES actions with their padding,
// and the series rules with the showings the scheduler refused. Modeless,
// owned by the control panel; all it knows of the viewer is its GuideHost.

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/guide/GuideListTexts.h"
#include "viewer/guide/GuideGridView.h"
#include "viewer/guide/GuideHost.h"
#include "win/Dialog.h"
#include "win/UniqueHandle.h"

class GuideWindow : public Dialog<GuideWindow>, private GuideGridListener {
 public:
  explicit GuideWindow(GuideHost& host);
  ~GuideWindow();

  // Opens the window, owned by `owner`; when it is open already, brings it
  // forward. False when it cannot be created.
  bool Open(HWND owner);
  bool IsOpen() const { return hwnd != nullptr; }
  // Destroys the window; the viewer goes on as it was.
  void Close();
  // The guide, the schedule or the series rules changed: reads them again
  // and redraws, keeping the selected programme while the guide holds it.
  void Refresh();
  // The line that shows the scheduler's answer or a refusal.
  void ShowStatus(const std::string& text);
  // For the program's message loop: Tab, Esc and the buttons' keys of this
  // modeless window are the dialog manager's. True when the message was
  // handled and is not to be dispatched.
  bool TranslateDialogKeys(MSG& message);

  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  INT_PTR OnInitDialog();
  INT_PTR OnCommand(int id, int code);
  INT_PTR OnNotify(const NMHDR& header);
  void OnPresentTimer();

  // GuideGridListener
  void OnGridPick(int row, std::optional<std::size_t> programme) override;
  void OnGridKey(UINT key) override;

  // Reads the guide, channels and schedule from the host into the model.
  void LoadModel();
  // Selects a channel row and one of its programmes (or none); the grid
  // moves to show the programme, and the list, details and buttons follow.
  void Select(int row, std::optional<std::size_t> programme, bool fromList);
  void MoveGrid(std::int64_t startUtc);
  void FillProgrammeList();
  void SelectListRow();
  void FillSeriesList();
  void ShowDetails();
  void EnableControls();
  void ShowGridDate();
  void ReadPadding();
  void ShowPadding();
  void OnWatch();
  void OnRecord();
  void OnRecordSeries();
  void OnRemoveSeries();
  void ShowRefusal(const std::optional<std::string>& refusal);

  static constexpr UINT_PTR kPresentTimer = 1;
  static constexpr UINT kPresentPeriodMs = 30 * 1000;

  GuideHost& host;
  GuideGridModel model;
  GuideGridView grid;
  bool followsNow = true;  // the grid starts at the current half hour and keeps doing so
  int listedRow = -1;                 // the channel row whose programmes the list shows
  std::vector<std::size_t> listRows;  // the programme list's rows: programmes of the guide
  std::vector<SeriesListRow> seriesRows;
  RecordingPadding padding;
  bool updating = false;  // the window itself is changing a control: ignore its notices
  UniqueGdiObject titleFont;
};
