// Fonts, boxes and box lines of the order form.
#include "controls/order/order_drawing.h"

#include "controls/common/cut_corner_rect.h"

namespace {

constexpr int kBoldHeight = 16;
constexpr int kNormalHeight = 14;
// Up to this size a box is too small for its corners.
constexpr int kSmallestCutBox = 10;

}  // namespace

CFont OrderScreenFont(bool bold) {
    LOGFONT font;
    font.lfHeight = bold ? kBoldHeight : kNormalHeight;
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfFaceName = "Arial";
    return CFont(font);
}

void DrawOrderBox(CDC& dc, const RECT& box) {
    if (box.Width() > kSmallestCutBox && box.Height() > kSmallestCutBox) {
        DrawCutCornerRect(dc, box);
    } else {
        dc.FrameRect(box);
    }
}

void DrawOrderBoxLines(CDC& dc, const RECT& box, int top, int height, const BoxLines& lines,
                       const OrderBoxText& how) {
    const int left = box.left + how.inset;
    const int right = box.right - how.inset;
    int y = top;
    for (const BoxLine& line : lines) {
        RECT label{left, y, right, y + height};
        dc.SetTextColor(how.labelColor);
        dc.DrawText(line.label, label, how.format);
        RECT value{left + how.valueOffset, y, right, y + height};
        dc.SetTextColor(how.valueColor);
        dc.DrawText(line.value, value, how.format);
        y += height;
    }
}
