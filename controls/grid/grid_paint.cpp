// Painting of the grid: frame, caption band, headers and ruled body composed off-screen, single
// cells drawn into the window, hit testing and the one-row scrolls.
#include <algorithm>

#include "controls/common/edited_text.h"
#include "controls/grid/grid_ctrl.h"
#include "platform/com/ansi_string.h"

namespace {

constexpr int kCheckBoxSize = 15;
// Narrower than this a box shows the two diagonals instead of a tick.
constexpr int kTickedBoxMinimum = 13;

RECT MakeRect(int left, int top, int right, int bottom) {
    return RECT{left, top, right, bottom};
}

void DrawCheckBox(CDC& dc, const RECT& cell, bool checked) {
    const int left = cell.left + (cell.Width() - kCheckBoxSize) / 2;
    const int top = cell.top + (cell.Height() - kCheckBoxSize) / 2;
    const RECT box = MakeRect(left, top, left + kCheckBoxSize, top + kCheckBoxSize);
    dc.FillSolidRect(box, 0x00FFFFFF);
    dc.DrawEdge(box, EDGE_BUMP, BF_RECT);
    if (!checked) {
        return;
    }
    const CPen previous = dc.SelectPen(CPen{PS_SOLID, 2, 0x00000000});
    if (box.Width() >= kTickedBoxMinimum && box.Height() >= kTickedBoxMinimum) {
        dc.MoveTo(box.left + 5, box.bottom - 9);
        dc.LineTo(box.left + 5, box.bottom - 5);
        dc.LineTo(box.right - 4, box.top + 4);
    } else {
        dc.MoveTo(box.left + 1, box.top + 1);
        dc.LineTo(box.right - 1, box.bottom - 1);
        dc.MoveTo(box.right - 1, box.top + 1);
        dc.LineTo(box.left + 1, box.bottom - 1);
    }
    dc.SelectPen(previous);
}

constexpr COLORREF kClearedBack = 0x00FFFFFF;

// A context on the kept bitmap, cleared to white as a new one would be.
std::unique_ptr<CDC> BeginCleared(COffscreenSurface& surface, int width, int height) {
    std::unique_ptr<CDC> memory = surface.Begin(width, height);
    if (memory != nullptr) {
        memory->FillSolidRect(MakeRect(0, 0, width, height), kClearedBack);
    }
    return memory;
}

}  // namespace

RECT CQORGridCtrl::ClientRect() const {
    if (HasWindow()) {
        return GetClientRect();
    }
    const SIZE size = m_createdSize.value_or(SIZE{});
    return MakeRect(0, 0, size.cx, size.cy);
}

void CQORGridCtrl::OnSize(int cx, int cy) {
    m_createdSize = SIZE{cx, cy};
}

int CQORGridCtrl::BodyTop() const {
    return ClientRect().top + m_headerHeight + (m_captionShown ? m_captionHeight : 0);
}

COLORREF CQORGridCtrl::HighlightBack() const {
    return m_gridColorsSet ? m_highlightCellBkColor : kGridHighlightBack;
}

COLORREF CQORGridCtrl::HighlightText() const {
    return m_gridColorsSet ? m_highlightCellTxtColor : kGridHighlightText;
}

void CQORGridCtrl::OnDraw(CDC& dc, const RECT& bounds, const RECT& /*invalid*/) {
    if (!m_redrawEnabled || m_visibleColumnCount <= 0 || m_columns.empty()) {
        return;
    }
    const int boundsWidth = bounds.Width();
    for (GridColumn& column : m_columns) {
        column.width = std::min(column.width, boundsWidth - 2);
    }
    int columnsWidth = 0;
    for (std::size_t i = static_cast<std::size_t>(m_firstVisibleColumn);
         i < m_columns.size() && columnsWidth < bounds.right; ++i) {
        columnsWidth += m_columns[i].width;
    }
    m_compositionWidth = std::max(columnsWidth, boundsWidth);
    m_lastColumnClipped = false;

    const int width = m_compositionWidth + bounds.left;
    const std::unique_ptr<CDC> memory = BeginCleared(m_headerSurface, width, bounds.Height());
    if (memory == nullptr) {
        return;
    }
    memory->DrawEdge(bounds, EDGE_SUNKEN, BF_RECT);
    memory->SetBkMode(TRANSPARENT);
    int headerTop = bounds.top;
    if (m_captionShown) {
        RECT band = MakeRect(bounds.left, bounds.top, bounds.right, bounds.top + m_captionHeight);
        memory->FillSolidRect(band, m_captionBackColor);
        memory->SetTextColor(m_captionTextColor);
        memory->DrawText(m_captionText, band, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
        headerTop += m_captionHeight;
    }
    memory->SetTextColor(0x00000000);
    m_lastVisibleColumn = m_firstVisibleColumn;
    int x = bounds.left;
    for (std::size_t i = static_cast<std::size_t>(m_firstVisibleColumn); i < m_columns.size();
         ++i) {
        GridColumn& column = m_columns[i];
        memory->DrawEdge(MakeRect(x, headerTop, x + column.width, headerTop + m_headerHeight),
                         EDGE_ETCHED, BF_RECT);
        if (x + column.width - 1 <= bounds.right) {
            ++m_lastVisibleColumn;
        } else if (x + 1 < bounds.right) {
            m_lastColumnClipped = true;
            ++m_lastVisibleColumn;
        } else {
            break;
        }
        column.left = x + 1;
        column.right = x + column.width - 1;
        RECT face =
            MakeRect(column.left, headerTop + 1, column.right, headerTop + m_headerHeight - 1);
        memory->FillSolidRect(face, kGridHeaderFace);
        memory->DrawEdge(face, EDGE_RAISED, BF_RECT);
        memory->DrawText(column.title, face, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
        x += column.width;
    }
    m_lastVisibleColumn = std::min(m_lastVisibleColumn - 1, static_cast<int>(m_columns.size()) - 1);
    dc.BitBlt(0, 0, width, bounds.Height(), *memory, 0, 0, SRCCOPY);
    PaintBody(dc);
    // The current cell is where typing goes, so every full paint shows it.
    if (IsRow(m_currentRow)) {
        PaintCell(dc, m_currentRow, m_currentColumn, true, false);
    }
}

void CQORGridCtrl::PaintBody(CDC& dc) {
    if (!m_redrawEnabled) {
        return;
    }
    const RECT client = ClientRect();
    const int bodyTop = BodyTop();
    const int bodyHeight = client.bottom - bodyTop;
    if (bodyHeight <= 0) {
        m_lastVisibleRow = m_firstVisibleRow - 1;
        return;
    }
    const int width = std::max(m_compositionWidth, client.Width()) + client.left;
    const std::unique_ptr<CDC> memory = BeginCleared(m_bodySurface, width, bodyHeight);
    if (memory == nullptr) {
        return;
    }
    m_lastVisibleRow = m_firstVisibleRow - 1;
    int y = 0;
    for (std::size_t r = static_cast<std::size_t>(std::max(m_firstVisibleRow, 0));
         r < m_rows.size() && y + m_rowHeight <= bodyHeight; ++r, y += m_rowHeight) {
        ++m_lastVisibleRow;
        for (int c = m_firstVisibleColumn; c <= m_lastVisibleColumn; ++c) {
            const auto col = static_cast<std::size_t>(c);
            if (col < m_rows[r].cells.size() && m_columns[col].visible) {
                RECT cell = MakeRect(m_columns[col].left + 1, y + 1, m_columns[col].right,
                                     y + m_rowHeight - 1);
                memory->SetBkMode(TRANSPARENT);
                DrawCellContent(*memory, m_columns[col], m_rows[r].cells[col].text, cell, false,
                                kClearedBack);
            }
        }
    }
    PaintRuledBody(*memory, bodyHeight);
    dc.BitBlt(0, bodyTop, width, bodyHeight, *memory, 0, 0, SRCCOPY);
}

void CQORGridCtrl::PaintRuledBody(CDC& dc, int bodyHeight) {
    const int bands = bodyHeight / m_rowHeight;
    const int bottom = bands * m_rowHeight;
    const CPen previous = dc.SelectPen(CPen{PS_SOLID, 1, kGridLineColor});
    int left = 0;
    int right = 0;
    for (int c = m_firstVisibleColumn; c <= m_lastVisibleColumn; ++c) {
        const GridColumn& column = m_columns[static_cast<std::size_t>(c)];
        if (!column.visible) {
            continue;
        }
        for (const int x : {column.left, column.right}) {
            dc.MoveTo(x, 0);
            dc.LineTo(x, bottom + 1);
        }
        left = left == 0 ? column.left : left;
        right = column.right;
    }
    for (int band = 0; band <= bands && right > left; ++band) {
        dc.MoveTo(left, band * m_rowHeight);
        dc.LineTo(right + 1, band * m_rowHeight);
    }
    dc.SelectPen(previous);
}

void CQORGridCtrl::PaintCell(CDC& dc, int row, int col, bool highlight, bool offscreen) {
    if (!m_redrawEnabled || m_visibleColumnCount <= 0 || !IsRow(row) || row < m_firstVisibleRow ||
        row > m_lastVisibleRow || col < m_firstVisibleColumn || col > m_lastVisibleColumn ||
        static_cast<std::size_t>(col) >= m_columns.size()) {
        return;
    }
    const GridColumn& column = m_columns[static_cast<std::size_t>(col)];
    const GridRow& cells = m_rows[static_cast<std::size_t>(row)];
    if (!column.visible || static_cast<std::size_t>(col) >= cells.cells.size() ||
        (col == m_lastVisibleColumn && m_lastColumnClipped && !offscreen)) {
        return;
    }
    dc.SetBkMode(TRANSPARENT);
    const int y = BodyTop() + (row - m_firstVisibleRow) * m_rowHeight;
    const RECT cell = MakeRect(column.left + 1, y + 1, column.right, y + m_rowHeight - 1);
    if (m_caretShown && HasWindow()) {
        HideCaret();
        m_caretShown = false;
    }
    DrawCellContent(dc, column, cells.cells[static_cast<std::size_t>(col)].text, cell, highlight);
}

void CQORGridCtrl::DrawCellContent(CDC& dc, const GridColumn& column, const std::string& text,
                                   const RECT& rect, bool highlight, COLORREF underneath) {
    const COLORREF back = highlight ? HighlightBack() : column.backColor;
    // The body is composed on a cleared bitmap: a cell of that colour needs no second fill.
    if (back != underneath) {
        dc.FillSolidRect(rect, back);
    }
    dc.SetTextColor(highlight ? HighlightText() : column.textColor);
    RECT textRect = rect;
    switch (column.editStyle) {
        case EditStyle::CheckBox:
            if (rect.Width() > 14 && rect.Height() > 14) {
                const std::string checked = column.items.empty() ? "" : column.items[0];
                DrawCheckBox(dc, rect, EqualsNoCase(text, checked));
            }
            return;
        case EditStyle::List: {
            dc.DrawText(text, textRect, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
            RECT button = MakeRect(rect.right - rect.Height(), rect.top, rect.right, rect.bottom);
            dc.DrawFrameControl(button, DFC_SCROLL, DFCS_SCROLLDOWN);
            return;
        }
        default:
            break;
    }
    if (!highlight) {
        dc.DrawText(text, textRect, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
        return;
    }
    const POINT caret = DrawEditedText(dc, text, rect, DT_SINGLELINE | DT_VCENTER);
    if (HasWindow()) {
        SetCaretPos(caret);
        if (!m_caretShown) {
            ShowCaret();
        }
        m_caretShown = true;
    }
}

void CQORGridCtrl::PaintCurrentCell(bool highlight) {
    if (HasWindow()) {
        CClientDC dc(this);
        PaintCell(*dc, m_currentRow, m_currentColumn, highlight, false);
    }
}

bool CQORGridCtrl::HitTest(POINT point, int& row, int& col) const {
    const RECT client = ClientRect();
    const int top = BodyTop();
    const int bottom = top + (m_lastVisibleRow - m_firstVisibleRow + 1) * m_rowHeight;
    if (point.x < client.left || point.x > client.right || point.y < top || point.y > bottom) {
        return false;
    }
    int found = -1;
    for (int r = m_firstVisibleRow; r <= m_lastVisibleRow && found < 0; ++r) {
        const int bandTop = top + (r - m_firstVisibleRow) * m_rowHeight;
        found = point.y >= bandTop && point.y <= bandTop + m_rowHeight ? r : -1;
    }
    int x = client.left;
    for (int c = m_firstVisibleColumn; c <= m_lastVisibleColumn && found >= 0; ++c) {
        const int width = m_columns[static_cast<std::size_t>(c)].width;
        if (point.x >= x && point.x <= x + width) {
            row = found;
            col = c;
            return true;
        }
        x += width;
    }
    return false;
}

bool CQORGridCtrl::FirstColumnToShow(int column, int& first) const {
    if (column < 0 || static_cast<std::size_t>(column) >= m_columns.size()) {
        return false;
    }
    const int clientWidth = ClientRect().Width();
    int sum = m_columns[static_cast<std::size_t>(column)].width;
    first = column;
    while (first > 0 && sum + m_columns[static_cast<std::size_t>(first - 1)].width <= clientWidth) {
        --first;
        sum += m_columns[static_cast<std::size_t>(first)].width;
    }
    return true;
}

void CQORGridCtrl::ScrollRows(int top, int bottom, int dy) {
    const int shownBottom = BodyTop() + (m_lastVisibleRow - m_firstVisibleRow + 1) * m_rowHeight;
    if (!m_redrawEnabled || !HasWindow() || bottom <= top) {
        return;
    }
    const RECT client = GetClientRect();
    const RECT area = MakeRect(client.left, top, client.right, bottom);
    const RECT shown = MakeRect(client.left, BodyTop(), client.right, shownBottom);
    ScrollWindow(0, dy, &area, &shown);
    UpdateWindow();
}

void CQORGridCtrl::ScrollDownOneRow() {
    const int shown = (m_lastVisibleRow - m_firstVisibleRow + 1) * m_rowHeight;
    ScrollRows(BodyTop(), BodyTop() + shown - m_rowHeight, m_rowHeight);
}

void CQORGridCtrl::ScrollUpOneRow() {
    const int shown = (m_lastVisibleRow - m_firstVisibleRow + 1) * m_rowHeight;
    ScrollRows(BodyTop() + m_rowHeight, BodyTop() + shown, -m_rowHeight);
}

void CQORGridCtrl::Redraw() {
    if (!HasWindow()) {
        return;
    }
    Invalidate();
    if (m_redrawEnabled) {
        PaintCurrentCell(true);
    }
    m_redrawEnabled = true;
}

void CQORGridCtrl::SetRedraw(bool bEnabled) {
    m_redrawEnabled = bEnabled;
    if (bEnabled && HasWindow()) {
        Invalidate();
        PaintCurrentCell(true);
    }
}

void CQORGridCtrl::SetGridColors(COLORREF nNormalCellBkColor, COLORREF nNormalCellTxtColor,
                                 COLORREF nHighlightCellBkColor, COLORREF nHighlightCellTxtColor) {
    m_normalCellBkColor = nNormalCellBkColor;
    m_normalCellTxtColor = nNormalCellTxtColor;
    m_highlightCellBkColor = nHighlightCellBkColor;
    m_highlightCellTxtColor = nHighlightCellTxtColor;
    m_gridColorsSet = true;
    if (HasWindow()) {
        Invalidate();
    }
}
