// DrawFrameControl: scroll-bar arrow buttons, check boxes and push button faces out of the
// device's own fills and 3-D edges.
#include <algorithm>
#include <array>

#include "platform/gdi/dc.h"

namespace {

constexpr UINT kScrollArrowMask = 0x000F;
constexpr UINT kButtonKindMask = 0x001F;
// The classic check mark: a run of three pixels per column, its top row by column.
constexpr std::array<int, 7> kCheckMarkTops{2, 3, 4, 3, 2, 1, 0};
constexpr int kCheckMarkRun = 3;
constexpr int kCheckMarkHeight = 7;

void DrawFace(CDC& dc, const RECT& rc, bool pushed) {
    dc.FillSolidRect(rc, COLOR_3DFACE);
    dc.DrawEdge(rc, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
}

// A solid triangle, its base (2 * height - 1 wide) down for an up arrow, up for a down arrow,
// centred in the rectangle; moved by a pixel right and down when the button is pushed.
void DrawArrow(CDC& dc, const RECT& rc, bool down, bool pushed) {
    const int height = std::max(1, (std::min(rc.Width(), rc.Height()) - 4) / 3);
    const int width = 2 * height - 1;
    const int shift = pushed ? 1 : 0;
    const int left = rc.left + (rc.Width() - width) / 2 + shift;
    const int top = rc.top + (rc.Height() - height) / 2 + shift;
    for (int row = 0; row < height; ++row) {
        const int inset = down ? row : height - 1 - row;
        dc.FillSolidRect(RECT{left + inset, top + row, left + width - inset, top + row + 1},
                         COLOR_BTNTEXT);
    }
}

void DrawCheckBox(CDC& dc, const RECT& rc, UINT state) {
    const int side = std::min(rc.Width(), rc.Height());
    const int top = rc.top + (rc.Height() - side) / 2;
    const RECT box{rc.left, top, rc.left + side, top + side};
    dc.FillSolidRect(box, (state & DFCS_PUSHED) != 0 ? COLOR_3DFACE : COLOR_WINDOW);
    dc.DrawEdge(box, EDGE_SUNKEN, BF_RECT);
    if ((state & DFCS_CHECKED) == 0) {
        return;
    }
    const int markLeft = box.left + (side - static_cast<int>(kCheckMarkTops.size())) / 2;
    const int markTop = box.top + (side - kCheckMarkHeight) / 2;
    for (size_t column = 0; column < kCheckMarkTops.size(); ++column) {
        const int x = markLeft + static_cast<int>(column);
        const int y = markTop + kCheckMarkTops[column];
        dc.FillSolidRect(RECT{x, y, x + 1, y + kCheckMarkRun}, COLOR_BTNTEXT);
    }
}

}  // namespace

bool IsFrameControl(UINT type, UINT state) {
    if (type == DFC_SCROLL) {
        const UINT arrow = state & kScrollArrowMask;
        return arrow == DFCS_SCROLLUP || arrow == DFCS_SCROLLDOWN;
    }
    const UINT kind = state & kButtonKindMask;
    return type == DFC_BUTTON && (kind == DFCS_BUTTONCHECK || kind == DFCS_BUTTONPUSH);
}

bool CDC::DrawFrameControl(RECT& rc, UINT type, UINT state) {
    if (!IsFrameControl(type, state)) {
        return false;
    }
    const bool pushed = (state & DFCS_PUSHED) != 0;
    if (type == DFC_SCROLL) {
        DrawFace(*this, rc, pushed);
        DrawArrow(*this, rc, (state & kScrollArrowMask) == DFCS_SCROLLDOWN, pushed);
    } else if ((state & kButtonKindMask) == DFCS_BUTTONCHECK) {
        DrawCheckBox(*this, rc, state);
    } else {
        DrawFace(*this, rc, pushed);
    }
    return true;
}
