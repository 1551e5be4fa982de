// What the form on the screen and the printed form draw alike: fonts, text formats, the cut-corner
// boxes and their labelled lines.
#pragma once

#include "controls/order/order_document.h"
#include "platform/gdi/dc.h"

constexpr UINT kOrderLeftLine = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
constexpr UINT kOrderRightLine = DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
constexpr UINT kOrderCentredLine = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;

// The screen's Arial: 16-pixel bold for the company name and order number, 14-pixel otherwise.
CFont OrderScreenFont(bool bold);

// A box: its corners cut on the diagonal when it is wider and higher than 10 units, else plain.
void DrawOrderBox(CDC& dc, const RECT& box);

// How a box's lines are drawn: the label's colour, the value's, how far in from the box's sides
// the lines run, where the value starts after the line's left edge, and the text format.
struct OrderBoxText {
    COLORREF labelColor = 0;
    COLORREF valueColor = 0;
    int inset = 0;
    int valueOffset = 0;
    UINT format = kOrderLeftLine;
};

// Four lines of the height from top down, each its label and its value.
void DrawOrderBoxLines(CDC& dc, const RECT& box, int top, int height, const BoxLines& lines,
                       const OrderBoxText& how);
