#pragma once
// The guide's grid: a child window that paints one row per channel and its
// programmes as boxes over three hours, with the column headers, the line
// of the present moment and the marks of scheduled programmes, drawn into
// a bitmap first so that it never flickers. It keeps only its scroll
// position; what it shows is the guide window's model, and clicks and keys
// go back to the guide window, which decides the selection.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/files/ChannelEntry.h"
#include "core/guide/GuideGridLayout.h"
#include "core/guide/GuideProgramme.h"
#include "core/time/LocalZone.h"
#include "win/Window.h"

// What the grid shows, owned by the guide window.
struct GuideGridModel {
  std::vector<GuideProgramme> guide;
  std::vector<ChannelEntry> channels;
  std::vector<std::vector<std::size_t>> rows;  // per channel, its programmes in start order
  std::vector<bool> scheduled;                 // per programme of the guide
  std::int64_t gridStartUtc = 0;
  std::int64_t nowUtc = 0;
  int selectedRow = 0;
  std::optional<std::size_t> selected;  // a programme of the guide
};

class GuideGridListener {
 public:
  virtual ~GuideGridListener() = default;
  // A click on a row: the programme under the pointer, or nothing (the
  // channel's name, or a gap).
  virtual void OnGridPick(int row, std::optional<std::size_t> programme) = 0;
  // An arrow, Page Up or Page Down key in the grid.
  virtual void OnGridKey(UINT key) = 0;
};

class GuideGridView : public Window<GuideGridView> {
 public:
  GuideGridView(const GuideGridModel& model, const LocalZone& zone, GuideGridListener& listener);

  // Creates the grid as control `id` of `parent` over `area` (client
  // coordinates of the parent).
  bool Create(HWND parent, int id, const RECT& area, HFONT font);
  // The model changed: scrolls `model.selectedRow` into view and repaints.
  void Update();
  // The model changed but not the selection (the time, the grid's start).
  void Repaint();

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  GuideGridLayout Layout() const;
  void UpdateScrollBar();
  void ScrollTo(int row);
  void OnVScroll(int request);
  void OnPaint();
  void Draw(HDC dc, const RECT& client);
  void DrawRow(HDC dc, const GuideGridLayout& layout, int row);

  const GuideGridModel& model;
  const LocalZone& zone;
  GuideGridListener& listener;
  HFONT font = nullptr;  // the dialog's, not owned
  int firstRow = 0;
  int wheelDelta = 0;
};
