// Drawing a frame with cut corners.
#include "controls/common/cut_corner_rect.h"

void DrawCutCornerRect(CDC& dc, const RECT& r) {
    constexpr int c = kCutCornerSize;
    dc.Polyline({{r.left + c, r.top},
                 {r.right - 1 - c, r.top},
                 {r.right - 1, r.top + c},
                 {r.right - 1, r.bottom - 1 - c},
                 {r.right - 1 - c, r.bottom - 1},
                 {r.left + c, r.bottom - 1},
                 {r.left, r.bottom - 1 - c},
                 {r.left, r.top + c},
                 {r.left + c, r.top}});
}
