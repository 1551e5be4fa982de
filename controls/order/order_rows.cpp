// The table's rows, single cells and the totals values, drawn with the layout of the last paint:
// off-screen inside a paint, straight into the window between paints.
#include <utility>

#include "controls/common/edited_text.h"
#include "controls/order/order_ctrl.h"
#include "controls/order/order_drawing.h"

const std::string& CQOROrderCtrl::CellText(const LineItem& item, int column) {
    switch (column) {
        case kQtyColumn:
            return item.Quantity();
        case kDescriptionColumn:
            return item.description;
        case kPriceColumn:
            return item.Price();
        default:
            return item.total;
    }
}

void CQOROrderCtrl::SetCellText(LineItem& item, int column, std::string text) {
    switch (column) {
        case kQtyColumn:
            item.SetQuantity(std::move(text));
            break;
        case kDescriptionColumn:
            item.description = std::move(text);
            break;
        case kPriceColumn:
            item.SetPrice(std::move(text));
            break;
        default:
            break;
    }
}

void CQOROrderCtrl::HideShownCaret() {
    if (m_caretShown && HasWindow()) {
        HideCaret();
    }
    m_caretShown = false;
}

void CQOROrderCtrl::DrawRows(CDC& dc) {
    dc.SelectFont(OrderScreenFont(false));
    const int step = dc.GetTextExtentPoint32("M").cy;
    m_lastVisibleItem = m_firstVisibleItem;
    for (int y = m_rowsTop + step;
         y <= m_rowsBottom && m_lastVisibleItem < GetLineItemCount() && step > 0; y += step) {
        for (int column = kQtyColumn; column <= kTotalColumn; ++column) {
            DrawCell(dc, m_lastVisibleItem, column, false, false);
        }
        ++m_lastVisibleItem;
    }
    --m_lastVisibleItem;
    DrawCell(dc, m_currentItem, m_currentColumn, true, false);
    // Every quantity and price drawn would redraw the same totals; once is enough.
    DrawTotalsValues(dc);
}

void CQOROrderCtrl::DrawCell(CDC& dc, int item, int column, bool highlight, bool withTotals) {
    if (item < m_firstVisibleItem || item > m_lastVisibleItem || !IsLine(item) ||
        column < kQtyColumn || column > kTotalColumn) {
        return;
    }
    HideShownCaret();
    LineItem& line = m_lineItems[static_cast<std::size_t>(item)];
    const RECT& extent = m_columnRects[static_cast<std::size_t>(column)];
    const int top = m_rowsTop + m_rowHeight * (item - m_firstVisibleItem);
    RECT cell{extent.left, top, extent.right, top + m_rowHeight};
    dc.SelectFont(OrderScreenFont(false));
    dc.SetBkMode(TRANSPARENT);
    if (column == kTotalColumn) {
        dc.FillSolidRect(cell, m_bkColor);
        line.total = LineTotalText(line);
        dc.SetTextColor(m_totalsColor);
        dc.DrawText(line.total, cell, kOrderRightLine);
        return;
    }
    const std::string& text = CellText(line, column);
    if (!highlight) {
        dc.FillSolidRect(cell, m_bkColor);
        dc.SetTextColor(m_textColor);
        dc.DrawText(text, cell, kOrderCentredLine);
    } else {
        dc.FillSolidRect(cell, m_labelsColor);
        dc.SetTextColor(m_bkColor);
        const POINT caret =
            DrawEditedText(dc, text, cell, DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        if (HasWindow()) {
            SetCaretPos(caret);
            ShowCaret();
        }
        m_caretShown = true;
    }
    if (withTotals && (column == kQtyColumn || column == kPriceColumn)) {
        DrawTotalsValues(dc);
    }
}

void CQOROrderCtrl::DrawTotalsValues(CDC& dc) {
    const ShownTotals totals = MakeShownTotals(m_lineItems, m_taxRate, m_shippingCharge);
    const std::string* values[] = {&totals.subtotal, &totals.shippingCharge, &totals.tax,
                                   &totals.total};
    dc.SelectFont(OrderScreenFont(false));
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(m_totalsColor);
    for (std::size_t i = 0; i < m_totalsRects.size(); ++i) {
        RECT rect = m_totalsRects[i];
        dc.FillSolidRect(rect, m_bkColor);
        dc.DrawText(*values[i], rect, kOrderRightLine);  // NOLINT: a fixed table
    }
}

void CQOROrderCtrl::ClearRowSlots(CDC& dc, int fromSlot) {
    for (int top = m_rowsTop + fromSlot * m_rowHeight;
         m_rowHeight > 0 && top + m_rowHeight <= m_rowsBottom; top += m_rowHeight) {
        for (const RECT& extent : m_columnRects) {
            dc.FillSolidRect(RECT{extent.left, top, extent.right, top + m_rowHeight}, m_bkColor);
        }
    }
}

void CQOROrderCtrl::RedrawRows() {
    if (!HasWindow()) {
        return;
    }
    CClientDC dc(this);
    DrawRows(*dc);
    // A line that went leaves its row behind, which shows no line now.
    ClearRowSlots(*dc, VisibleLines());
    DrawItemCount(*dc);
}

void CQOROrderCtrl::RedrawCell(int item, int column) {
    if (!HasWindow()) {
        return;
    }
    CClientDC dc(this);
    DrawCell(*dc, item, column, item == m_currentItem && column == m_currentColumn);
}

void CQOROrderCtrl::RedrawCellPlain(int item, int column) {
    if (HasWindow()) {
        CClientDC dc(this);
        DrawCell(*dc, item, column, false);
    }
}

void CQOROrderCtrl::RedrawChangedCell(std::int32_t row, int column) {
    if (!HasWindow() || row > m_lastVisibleItem) {
        return;
    }
    RedrawCell(row, column);
    if (column != kDescriptionColumn) {
        RedrawCell(row, kTotalColumn);
    }
}
