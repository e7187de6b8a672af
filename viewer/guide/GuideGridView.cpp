#include "viewer/guide/GuideGridView.h"

#include <windowsx.h>

#include <algorithm>
#include <string>

#include "core/guide/GuideGrid.h"
#include "viewer/guide/GuideText.h"
#include "win/AnsiText.h"
#include "win/UniqueHandle.h"

namespace {

constexpr char kClassName[] = "TelvantisGuideGrid";

constexpr COLORREF kProgrammeFill = RGB(232, 240, 252);
constexpr COLORREF kScheduledFill = RGB(255, 224, 224);
constexpr COLORREF kRecordMark = RGB(208, 0, 0);
constexpr COLORREF kPresentLine = RGB(208, 0, 0);
constexpr COLORREF kGridLine = RGB(192, 192, 192);

int TextHeight(HDC dc) {
  TEXTMETRICA metrics{};
  if (!GetTextMetricsA(dc, &metrics)) return 13;
  return metrics.tmHeight;
}

void FillColour(HDC dc, const RECT& rect, COLORREF colour) {
  SetBkColor(dc, colour);
  // ExtTextOut with ETO_OPAQUE and no text fills without a brush to free.
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

void DrawLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour, int width = 1) {
  UniqueGdiObject pen(CreatePen(PS_SOLID, width, colour));
  if (!pen) return;
  HGDIOBJ old = SelectObject(dc, pen.Get());
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
  SelectObject(dc, old);
}

void DrawTextIn(HDC dc, const std::wstring& text, RECT rect, UINT format, COLORREF colour) {
  SetTextColor(dc, colour);
  SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
            format | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

}  // namespace

GuideGridView::GuideGridView(const GuideGridModel& model, const LocalZone& zone,
                             GuideGridListener& listener)
    : model(model), zone(zone), listener(listener) {}

bool GuideGridView::Create(HWND parent, int id, const RECT& area, HFONT dialogFont) {
  font = dialogFont;
  firstRow = 0;
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL;
  if (!Window::Create(kClassName, "", style, area.right - area.left, area.bottom - area.top,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), parent, WS_EX_CLIENTEDGE,
                      area.left, area.top)) {
    return false;
  }
  UpdateScrollBar();
  return true;
}

GuideGridLayout GuideGridView::Layout() const {
  RECT client{};
  GetClientRect(hwnd, &client);
  GuideGridLayout layout;
  layout.width = client.right;
  layout.height = client.bottom;
  int textHeight = 13;
  int labelWidth = 0;
  if (HDC dc = GetDC(hwnd)) {
    HGDIOBJ old = font != nullptr ? SelectObject(dc, font) : nullptr;
    textHeight = TextHeight(dc);
    for (const ChannelEntry& channel : model.channels) {
      const std::wstring label = Widen(ChannelCaption(channel));
      SIZE size{};
      if (GetTextExtentPoint32W(dc, label.c_str(), static_cast<int>(label.size()), &size))
        labelWidth = std::max<int>(labelWidth, size.cx);
    }
    if (old != nullptr) SelectObject(dc, old);
    ReleaseDC(hwnd, dc);
  }
  // The names column fits the longest name, within reason: a quarter of
  // the grid at most, so that the three hours keep their room.
  layout.labelWidth = std::clamp(labelWidth + 12, 60, std::max(60, layout.width / 4));
  layout.headerHeight = textHeight + 8;
  layout.rowHeight = textHeight + 14;
  layout.rowCount = static_cast<int>(model.channels.size());
  layout.firstRow = firstRow;
  return layout;
}

void GuideGridView::UpdateScrollBar() {
  const GuideGridLayout layout = Layout();
  firstRow = std::clamp(firstRow, 0, layout.LastFirstRow());
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  info.nMin = 0;
  info.nMax = std::max(layout.rowCount - 1, 0);
  info.nPage = static_cast<UINT>(layout.VisibleRows());
  info.nPos = firstRow;
  SetScrollInfo(hwnd, SB_VERT, &info, TRUE);
}

void GuideGridView::Update() {
  if (hwnd == nullptr) return;
  GuideGridLayout layout = Layout();
  if (model.selectedRow >= 0 && model.selectedRow < layout.rowCount)
    firstRow = layout.FirstRowShowing(model.selectedRow);
  UpdateScrollBar();
  InvalidateRect(hwnd, nullptr, FALSE);
}

void GuideGridView::Repaint() {
  if (hwnd != nullptr) InvalidateRect(hwnd, nullptr, FALSE);
}

void GuideGridView::ScrollTo(int row) {
  const int clamped = std::clamp(row, 0, Layout().LastFirstRow());
  if (clamped == firstRow) return;
  firstRow = clamped;
  UpdateScrollBar();
  InvalidateRect(hwnd, nullptr, FALSE);
}

void GuideGridView::OnVScroll(int request) {
  const int page = Layout().VisibleRows();
  switch (request) {
    case SB_LINEUP: ScrollTo(firstRow - 1); break;
    case SB_LINEDOWN: ScrollTo(firstRow + 1); break;
    case SB_PAGEUP: ScrollTo(firstRow - page); break;
    case SB_PAGEDOWN: ScrollTo(firstRow + page); break;
    case SB_TOP: ScrollTo(0); break;
    case SB_BOTTOM: ScrollTo(Layout().LastFirstRow()); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_TRACKPOS;
      if (GetScrollInfo(hwnd, SB_VERT, &info)) ScrollTo(info.nTrackPos);
      break;
    }
    default:
      break;
  }
}

LRESULT GuideGridView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // the paint covers everything
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_SIZE:
      UpdateScrollBar();
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_VSCROLL:
      OnVScroll(LOWORD(wParam));
      return 0;
    case WM_MOUSEWHEEL: {
      wheelDelta += GET_WHEEL_DELTA_WPARAM(wParam);
      const int rows = wheelDelta / WHEEL_DELTA;
      wheelDelta %= WHEEL_DELTA;
      if (rows != 0) ScrollTo(firstRow - rows);
      return 0;
    }
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_KEYDOWN:
      if (wParam == VK_LEFT || wParam == VK_RIGHT || wParam == VK_UP || wParam == VK_DOWN ||
          wParam == VK_PRIOR || wParam == VK_NEXT) {
        listener.OnGridKey(static_cast<UINT>(wParam));
        return 0;
      }
      return DefaultHandling(message, wParam, lParam);
    case WM_LBUTTONDOWN: {
      SetFocus(hwnd);
      const auto hit = HitTestGrid(Layout(), model.gridStartUtc, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      if (!hit) return 0;
      std::optional<std::size_t> picked;
      if (hit->utc && static_cast<std::size_t>(hit->row) < model.rows.size()) {
        for (std::size_t i : model.rows[static_cast<std::size_t>(hit->row)]) {
          const GuideProgramme& p = model.guide[i];
          if (p.startUtc <= *hit->utc && *hit->utc < p.EndUtc()) picked = i;
        }
      }
      listener.OnGridPick(hit->row, picked);
      return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    default:
      return DefaultHandling(message, wParam, lParam);
  }
}

void GuideGridView::OnPaint() {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(hwnd, &paint);
  if (dc == nullptr) return;
  RECT client{};
  GetClientRect(hwnd, &client);
  // Drawn whole into a bitmap, then copied at once. Without a bitmap (no
  // memory) it is drawn straight onto the window.
  HDC memory = CreateCompatibleDC(dc);
  UniqueGdiObject bitmap(memory != nullptr ? CreateCompatibleBitmap(dc, client.right, client.bottom) : nullptr);
  if (memory != nullptr && bitmap) {
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap.Get());
    Draw(memory, client);
    BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, oldBitmap);
  } else {
    Draw(dc, client);
  }
  if (memory != nullptr) DeleteDC(memory);
  EndPaint(hwnd, &paint);
}

void GuideGridView::Draw(HDC dc, const RECT& client) {
  HGDIOBJ oldFont = font != nullptr ? SelectObject(dc, font) : nullptr;
  const GuideGridLayout layout = Layout();
  const GuideGrid grid = layout.Grid(model.gridStartUtc);
  FillColour(dc, client, GetSysColor(COLOR_WINDOW));

  // Column headers and the half-hour lines.
  const RECT header{0, 0, client.right, layout.headerHeight};
  FillColour(dc, header, GetSysColor(COLOR_BTNFACE));
  for (const GridColumn& column : grid.Columns(zone)) {
    const int x = layout.labelWidth + column.x;
    DrawLine(dc, x, 0, x, client.bottom, kGridLine);
    RECT text{x + 4, 0, layout.labelWidth + grid.XOf(column.startUtc + kGridColumnSeconds),
              layout.headerHeight};
    DrawTextIn(dc, Widen(column.text), text, DT_LEFT, GetSysColor(COLOR_BTNTEXT));
  }
  DrawLine(dc, 0, layout.headerHeight - 1, client.right, layout.headerHeight - 1, kGridLine);

  for (int row = layout.firstRow; row < layout.rowCount; ++row) {
    if (layout.RowTop(row) >= client.bottom) break;
    DrawRow(dc, layout, row);
  }

  if (const auto present = grid.PresentX(model.nowUtc)) {
    const int x = layout.labelWidth + *present;
    DrawLine(dc, x, 0, x, client.bottom, kPresentLine, 2);
  }
  // Keyboard focus without a programme: around the selected channel's name.
  if (GetFocus() == hwnd && !model.selected && model.selectedRow >= layout.firstRow &&
      model.selectedRow < layout.rowCount) {
    const int top = layout.RowTop(model.selectedRow);
    RECT focus{1, top + 1, layout.labelWidth - 1, top + layout.rowHeight - 1};
    DrawFocusRect(dc, &focus);
  }
  if (oldFont != nullptr) SelectObject(dc, oldFont);
}

void GuideGridView::DrawRow(HDC dc, const GuideGridLayout& layout, int row) {
  const GuideGrid grid = layout.Grid(model.gridStartUtc);
  const int top = layout.RowTop(row);
  const int bottom = top + layout.rowHeight;
  const bool isSelectedRow = row == model.selectedRow;

  const RECT label{0, top, layout.labelWidth, bottom};
  FillColour(dc, label, GetSysColor(isSelectedRow ? COLOR_BTNSHADOW : COLOR_BTNFACE));
  RECT labelText{6, top, layout.labelWidth - 4, bottom};
  DrawTextIn(dc, Widen(ChannelCaption(model.channels[static_cast<std::size_t>(row)])), labelText,
             DT_LEFT, GetSysColor(isSelectedRow ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT));
  DrawLine(dc, 0, bottom - 1, layout.width, bottom - 1, kGridLine);

  if (static_cast<std::size_t>(row) >= model.rows.size()) return;
  for (std::size_t i : model.rows[static_cast<std::size_t>(row)]) {
    const GuideProgramme& p = model.guide[i];
    const auto span = grid.SpanOf(p);
    if (!span) continue;
    RECT box{layout.labelWidth + span->left, top + 2, layout.labelWidth + span->right, bottom - 3};
    if (box.right <= box.left) box.right = box.left + 1;
    const bool isSelected = model.selected == i;
    const bool isScheduled = i < model.scheduled.size() && model.scheduled[i];
    FillColour(dc, box, isSelected ? GetSysColor(COLOR_HIGHLIGHT) : isScheduled ? kScheduledFill : kProgrammeFill);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    Rectangle(dc, box.left, box.top, box.right, box.bottom);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);

    RECT text{box.left + 4, box.top, box.right - 3, box.bottom};
    if (isScheduled) {
      // A red dot, as on a recorder's RECORD key.
      const int size = std::min<int>(8, std::max<int>(box.right - box.left - 4, 0));
      const int middle = (box.top + box.bottom) / 2;
      UniqueGdiObject brush(CreateSolidBrush(kRecordMark));
      if (brush && size > 0) {
        HGDIOBJ old = SelectObject(dc, brush.Get());
        HGDIOBJ noPen = SelectObject(dc, GetStockObject(NULL_PEN));
        Ellipse(dc, text.left, middle - size / 2, text.left + size + 1, middle + size / 2 + 1);
        SelectObject(dc, noPen);
        SelectObject(dc, old);
      }
      text.left += size + 4;
    }
    std::wstring title = WidenUtf8(p.title);
    if (span->startsBefore) title = L"\u2039 " + title;
    if (span->endsAfter) title += L" \u203A";
    DrawTextIn(dc, title, text, DT_LEFT, GetSysColor(isSelected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    if (isSelected && GetFocus() == hwnd) {
      RECT focus = box;
      InflateRect(&focus, -2, -2);
      DrawFocusRect(dc, &focus);
    }
  }
}
