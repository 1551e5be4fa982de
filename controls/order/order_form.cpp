// The order form on the screen: letterhead, title, address boxes, the table's header and the
// totals block, composed off-screen and copied in one transfer.
#include <string>

#include "controls/common/cut_corner_rect.h"
#include "controls/order/order_ctrl.h"
#include "controls/order/order_drawing.h"

namespace {

// The form is drawn inside the control's rectangle inset by this much on every side.
constexpr int kFrameInset = 5;
// Narrower than this inside the frame, the form has no room for its title.
constexpr int kTitleMinimumWidth = 150;
constexpr const char* kSubtotalLabel = "SubTotal:  ";

void HorizontalLine(CDC& dc, int left, int right, int y) {
    dc.MoveTo(left, y);
    dc.LineTo(right, y);
}

void VerticalLine(CDC& dc, int x, int top, int bottom) {
    dc.MoveTo(x, top);
    dc.LineTo(x, bottom);
}

// A text of the letterhead, drawn only when it ends above the frame's bottom.
void DrawHeadText(CDC& dc, const std::string& text, RECT rect, UINT format, int bottom) {
    if (rect.bottom <= bottom) {
        dc.DrawText(text, rect, format);
    }
}

}  // namespace

RECT CQOROrderCtrl::ClientRect() const {
    if (HasWindow()) {
        return GetClientRect();
    }
    const SIZE size = m_createdSize.value_or(SIZE{});
    return RECT{0, 0, size.cx, size.cy};
}

void CQOROrderCtrl::OnSize(int cx, int cy) {
    m_createdSize = SIZE{cx, cy};
}

void CQOROrderCtrl::OnDraw(CDC& dc, const RECT& bounds, const RECT& /*invalid*/) {
    const std::unique_ptr<CDC> memory = m_surface.Begin(bounds.right, bounds.bottom);
    if (memory == nullptr) {
        return;
    }
    DrawForm(*memory, bounds);
    dc.BitBlt(0, 0, bounds.right, bounds.bottom, *memory, 0, 0, SRCCOPY);
}

void CQOROrderCtrl::DrawForm(CDC& dc, const RECT& bounds) {
    dc.FillSolidRect(bounds, m_bkColor);
    // Texts are drawn on the form's colour, so the title and the captions interrupt the lines
    // they are drawn across.
    dc.SetBkMode(OPAQUE);
    dc.SetBkColor(m_bkColor);
    dc.SelectPen(CPen{PS_SOLID, 1, m_textColor});
    const RECT frame{bounds.left + kFrameInset, bounds.top + kFrameInset,
                     bounds.right - kFrameInset, bounds.bottom - kFrameInset};
    int telephoneBottom = 0;
    DrawLetterhead(dc, frame, telephoneBottom);
    const int tableTop = DrawBoxes(dc, frame, telephoneBottom);
    DrawTableAndTotals(dc, frame, tableTop);
    DrawRows(dc);
}

void CQOROrderCtrl::DrawLetterhead(CDC& dc, const RECT& frame, int& telephoneBottom) {
    const int left = frame.left;
    const int right = frame.right;
    const int middle = left + (right - left) / 2;
    const int top = frame.top;
    const int bottom = frame.bottom;
    dc.SelectFont(OrderScreenFont(true));
    dc.SetTextColor(m_labelsColor);
    const int h1 = dc.GetTextExtentPoint32(m_company.name).cy;
    DrawHeadText(dc, m_company.name, {left + 50, top, middle, top + h1}, kOrderLeftLine, bottom);
    DrawHeadText(dc, OrderNoLine(), {middle + 10, top, right, top + h1}, kOrderLeftLine, bottom);

    dc.SelectFont(OrderScreenFont(false));
    dc.SetTextColor(m_textColor);
    const int h = dc.GetTextExtentPoint32(m_company.address).cy;
    int y = top + h1;
    DrawHeadText(dc, m_company.address, {left + 50, y, middle, y + h}, kOrderLeftLine, bottom);
    y += h;
    DrawHeadText(dc, CityLine(m_company.city, m_company.state, m_company.zipcode),
                 {left + 50, y, middle, y + h}, kOrderLeftLine, bottom);
    DrawHeadText(dc, "Ship By: " + m_shipByDate, {middle + 10, y, right, y + h}, kOrderLeftLine,
                 bottom);
    y += h;
    DrawHeadText(dc, m_company.telephone + "  " + m_company.fax, {left + 50, y, middle, y + h},
                 kOrderLeftLine, bottom);
    telephoneBottom = y + h;

    const int rule = telephoneBottom + 3 + (h - 6) / 2;
    if (rule + 6 <= bottom) {
        for (const int offset : {0, 1, 2, 4}) {
            HorizontalLine(dc, left, right, rule + offset);
        }
    }
    if (right - left > kTitleMinimumWidth) {
        const char* title = m_orderType == kPurchaseOrder ? " PURCHASE ORDER " : " INVOICE ";
        DrawHeadText(dc, title, {left, telephoneBottom + 3, right - 100, telephoneBottom + 3 + h},
                     DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX, bottom);
    }
}

int CQOROrderCtrl::DrawBoxes(CDC& dc, const RECT& frame, int telephoneBottom) {
    const int left = frame.left;
    const int right = frame.right;
    const int middle = left + (right - left) / 2;
    const int h = dc.GetTextExtentPoint32("M").cy;
    const int labelWidth = dc.GetTextExtentPoint32("City/St/Zip: ").cx;
    const int top = telephoneBottom + 3 + 2 * h;
    const RECT leftBox{left + 10, top, middle, top + 6 * h};
    const RECT rightBox{middle + 10, top, right - 10, top + 6 * h};
    const bool purchase = m_orderType == kPurchaseOrder;
    const OrderBoxText boxText{m_labelsColor, m_textColor, 20, labelWidth + 10, kOrderLeftLine};
    DrawOrderBox(dc, leftBox);
    DrawOrderBox(dc, rightBox);
    dc.SetTextColor(m_textColor);
    RECT caption{leftBox.left, top - h / 2, leftBox.right, top - h / 2 + h};
    dc.DrawText(purchase ? " Vendor " : " Customer ", caption, kOrderCentredLine);
    if (purchase) {
        caption = RECT{rightBox.left, top - h / 2, rightBox.right, top - h / 2 + h};
        dc.DrawText(" Ship To ", caption, kOrderCentredLine);
    }
    DrawOrderBoxLines(dc, leftBox, top + h, h, CustomerBoxLines(m_customer), boxText);
    DrawOrderBoxLines(dc, rightBox, top + h, h, RightBoxLines(false), boxText);
    const int rule = top + 7 * h + 5;
    HorizontalLine(dc, left, right, rule);
    return rule + 5;
}

void CQOROrderCtrl::DrawTableAndTotals(CDC& dc, const RECT& frame, int top) {
    const int left = frame.left;
    const int right = frame.right;
    const int bottom = frame.bottom;
    const int f = (right - left) / 7;
    m_rowHeight = dc.GetTextExtentPoint32("MMMM").cy;
    const int rh = m_rowHeight;
    m_columnRects = {RECT{left, top + 1, left + f - 1, top + rh + 1},
                     RECT{left + f + 1, top + 1, left + 5 * f - 1, top + rh + 1},
                     RECT{left + 5 * f + 1, top + 1, left + 6 * f - 1, top + rh + 1},
                     RECT{left + 6 * f + 1, top + 1, left + 7 * f - 1, top + rh + 1}};
    dc.SetTextColor(m_labelsColor);
    const char* captions[] = {"Qty", "Description", "Price", "Total"};
    for (std::size_t i = 0; i < m_columnRects.size(); ++i) {
        RECT cell = m_columnRects[i];
        dc.DrawText(captions[i], cell, kOrderCentredLine);  // NOLINT: a fixed table
    }
    HorizontalLine(dc, left, right, top + rh + 1);
    m_rowsTop = top + rh + 2;
    m_rowsBottom = m_rowsTop + rh * ((bottom - 4 * rh - m_rowsTop) / rh);
    HorizontalLine(dc, left, right, m_rowsBottom);

    const int y0 = m_rowsBottom + (bottom - m_rowsBottom - 4 * rh) / 2 + 1;
    m_itemCountRect = RECT{left, y0, left + 6 * f, y0 + rh};
    DrawItemCount(dc);
    const char* labels[] = {kSubtotalLabel, "Shipping Charge:  ", "Tax:  ", "Total:  "};
    for (std::size_t i = 0; i < m_totalsRects.size(); ++i) {
        const int y = y0 + static_cast<int>(i) * rh;
        RECT label{left, y, left + 6 * f, y + rh};
        dc.DrawText(labels[i], label, kOrderRightLine);  // NOLINT: a fixed table
        m_totalsRects[i] =
            RECT{m_columnRects[kTotalColumn].left, y, m_columnRects[kTotalColumn].right, y + rh};
    }
    VerticalLine(dc, left + f, m_rowsTop, m_rowsBottom);
    VerticalLine(dc, left + 5 * f, m_rowsTop, m_rowsBottom);
    VerticalLine(dc, left + 6 * f, m_rowsTop, bottom);
}

void CQOROrderCtrl::DrawItemCount(CDC& dc) {
    dc.SelectFont(OrderScreenFont(false));
    dc.SetBkMode(OPAQUE);
    dc.SetBkColor(m_bkColor);
    dc.SetTextColor(m_labelsColor);
    // A shorter count drawn over a longer one must not leave its last digits; the line's right
    // end holds the subtotal's label.
    RECT rect = m_itemCountRect;
    rect.right -= dc.GetTextExtentPoint32(kSubtotalLabel).cx;
    dc.FillSolidRect(rect, m_bkColor);
    dc.DrawText("   Number of Items: " + std::to_string(m_lineItems.size()), rect, kOrderLeftLine);
}
