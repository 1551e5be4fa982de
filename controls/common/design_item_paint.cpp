// Drawing of each kind of design item.
#include "controls/common/design_item_paint.h"

#include <string_view>

#include "controls/common/cut_corner_rect.h"

namespace {

UINT AlignmentOf(const DesignItem& item) {
    switch (item.justification) {
        case 1:
            return DT_LEFT;
        case 2:
            return DT_RIGHT;
        default:
            // Values the properties dialog never produces (read from a file) are drawn
            // centred, as the dialog shows them.
            return DT_CENTER;
    }
}

void DrawEdgeOrFocus(CDC& dc, const DesignItem& item, UINT edge) {
    if (item.selected) {
        dc.DrawFocusRect(item.rect);
    } else if (item.border) {
        dc.DrawEdge(item.rect, edge, BF_RECT);
    }
}

void DrawLine(CDC& dc, POINT from, POINT to) {
    dc.MoveTo(from.x, from.y);
    dc.LineTo(to.x, to.y);
}

void DrawRectangle(CDC& dc, const DesignItem& item, bool designerFrames) {
    if (designerFrames && item.selected) {
        dc.DrawFocusRect(item.rect);
    } else {
        dc.DrawEdge(item.rect, EDGE_ETCHED, BF_RECT);
    }
}

void DrawRoundRectangle(CDC& dc, const DesignItem& item, bool designerFrames) {
    const RECT& r = item.rect;
    const bool tooSmallForCorners = r.bottom - r.top < 10 || r.right - r.left < 10;
    if (designerFrames && item.selected) {
        dc.DrawFocusRect(r);
    } else if (designerFrames && tooSmallForCorners) {
        dc.DrawEdge(r, EDGE_ETCHED, BF_RECT);
    } else {
        DrawCutCornerRect(dc, r);
    }
}

void DrawTextItem(CDC& dc, const DesignItem& item, const ItemPaintOptions& options) {
    const RECT& r = item.rect;
    const bool column = item.kind == kColumn;
    const COLORREF back =
        item.backColor == -1 ? options.formBackground : static_cast<COLORREF>(item.backColor);
    dc.FillSolidRect(r, back);
    DrawEdgeOrFocus(dc, item, column ? EDGE_SUNKEN : EDGE_ETCHED);
    dc.SetBkColor(back);
    dc.SetTextColor(static_cast<COLORREF>(item.textColor));

    RECT textRect = r;
    UINT format = DT_SINGLELINE | DT_VCENTER | AlignmentOf(item);
    std::string_view text = item.text;
    if (column && options.columnNames) {
        text = item.name;
    } else if (column) {
        // A value wider than the box shows its end, where typing happens.
        textRect.left += 2;
        textRect.right -= 2;
        const bool tooWide = dc.GetTextExtentPoint32(text).cx > textRect.right - textRect.left;
        format = DT_SINGLELINE | DT_VCENTER | (tooWide ? DT_RIGHT : DT_LEFT);
    }
    dc.DrawText(text, textRect, format);
    if (item.underline) {
        DrawLine(dc, {r.left, r.bottom + 1}, {r.right, r.bottom + 1});
    }
}

}  // namespace

void DrawDesignItem(CDC& dc, const DesignItem& item, const ItemPaintOptions& options) {
    const RECT& r = item.rect;
    switch (item.kind) {
        case kStaticText:
        case kColumn:
            DrawTextItem(dc, item, options);
            break;
        case kHorizontalLine:
            DrawLine(dc, {r.left, r.top + 3}, {r.right, r.top + 3});
            if (item.selected) {
                dc.DrawFocusRect(r);
            }
            break;
        case kVerticalLine:
            DrawLine(dc, {r.left + 3, r.top}, {r.left + 3, r.bottom});
            if (item.selected) {
                dc.DrawFocusRect(r);
            }
            break;
        case kRectangle:
            DrawRectangle(dc, item, options.designerFrames);
            break;
        case kRoundRectangle:
            DrawRoundRectangle(dc, item, options.designerFrames);
            break;
        default:
            break;
    }
}

void DrawDesignItems(CDC& dc, const std::vector<DesignItem>& items, const RECT& area,
                     const ItemPaintOptions& options) {
    dc.FillSolidRect(area, options.formBackground);
    for (const DesignItem& item : items) {
        RECT common;
        if (IntersectRect(common, area, item.rect)) {
            DrawDesignItem(dc, item, options);
        }
    }
}
