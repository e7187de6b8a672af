#include "viewer/setup/ListViewRows.h"

void AddListColumns(HWND list, const std::vector<ListColumn>& columns) {
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  for (std::size_t i = 0; i < columns.size(); ++i) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    // The first column of a list view is always left-aligned.
    column.fmt = columns[i].rightAligned && i > 0 ? LVCFMT_RIGHT : LVCFMT_LEFT;
    column.cx = columns[i].width;
    column.pszText = const_cast<char*>(columns[i].title);
    column.iSubItem = static_cast<int>(i);
    SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
  }
}

void InsertListRow(HWND list, int index, const std::vector<std::string>& cells) {
  if (cells.empty()) return;
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = index;
  item.pszText = const_cast<char*>(cells[0].c_str());
  const auto row = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  if (row < 0) return;
  for (std::size_t i = 1; i < cells.size(); ++i) {
    LVITEMA cell{};
    cell.iSubItem = static_cast<int>(i);
    cell.pszText = const_cast<char*>(cells[i].c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&cell));
  }
}
