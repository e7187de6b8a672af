#pragma once
// The report-style list views of the setup window: columns and rows of text.

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

struct ListColumn {
  const char* title;
  int width;
  bool rightAligned;
};

// Adds the columns, with whole-row selection.
void AddListColumns(HWND list, const std::vector<ListColumn>& columns);

// Inserts a row of cell texts at `index`.
void InsertListRow(HWND list, int index, const std::vector<std::string>& cells);
