// Drawing of each kind of design item.
#include "controls/common/design_item_paint.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>
#include <utility>

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

using Segment = std::pair<POINT, POINT>;

// The line an item draws besides its box, which may lie outside its rectangle: a line item's
// own line 3 pixels in, a text's underline one pixel below it.
std::optional<Segment> LineOf(const DesignItem& item) {
    const RECT& r = item.rect;
    switch (item.kind) {
        case kStaticText:
        case kColumn:
            if (item.underline) {
                return Segment{{r.left, r.bottom + 1}, {r.right, r.bottom + 1}};
            }
            return std::nullopt;
        case kHorizontalLine:
            return Segment{{r.left, r.top + 3}, {r.right, r.top + 3}};
        case kVerticalLine:
            return Segment{{r.left + 3, r.top}, {r.left + 3, r.bottom}};
        default:
            return std::nullopt;
    }
}

void DrawLine(CDC& dc, const Segment& line) {
    dc.MoveTo(line.first.x, line.first.y);
    dc.LineTo(line.second.x, line.second.y);
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
    if (const auto underline = LineOf(item)) {
        DrawLine(dc, *underline);
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
        case kVerticalLine:
            DrawLine(dc, *LineOf(item));
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

RECT ItemPaintExtent(const DesignItem& item) {
    RECT extent = item.rect;
    if (const auto line = LineOf(item)) {
        // The pen is one pixel wide; the end point is left out, so this may be one too many.
        const auto [from, to] = *line;
        const RECT ink{std::min(from.x, to.x), std::min(from.y, to.y), std::max(from.x, to.x) + 1,
                       std::max(from.y, to.y) + 1};
        UnionRect(extent, extent, ink);
    }
    return extent;
}

namespace {

// More covering rectangles than this cost more to test than the hidden items would to draw.
constexpr std::size_t kMaxCovers = 32;
// A part split into more pieces than this is taken as shown, as if no cover hid it.
constexpr std::size_t kMaxPieces = 16;

// The parts of an area that items drawn later fill completely: a text or a column fills its
// rectangle before drawing in it, hiding whatever the items before it drew there.
class CCoveredArea {
  public:
    static bool Covers(const DesignItem& item) {
        return item.kind == kStaticText || item.kind == kColumn;
    }
    CCoveredArea() { m_covers.reserve(kMaxCovers); }
    void Add(const RECT& rect) {
        if (m_covers.size() < kMaxCovers) {
            m_covers.push_back(rect);
        }
    }
    // Whether the covers together hold every pixel of the part.
    bool Hides(const RECT& part) const {
        std::array<std::array<RECT, kMaxPieces>, 2> buffers;
        Pieces pieces{buffers[0].data(), 1};
        pieces.rects[0] = part;
        for (const RECT& cover : m_covers) {
            Pieces left{buffers[pieces.rects == buffers[0].data() ? 1 : 0].data(), 0};
            for (std::size_t i = 0; i < pieces.count; ++i) {
                if (!Subtract(pieces.rects[i], cover, left)) {
                    return false;
                }
            }
            if (left.count == 0) {
                return true;
            }
            pieces = left;
        }
        return false;
    }

  private:
    struct Pieces {
        RECT* rects;
        std::size_t count;
    };

    // Adds the pieces of the rectangle outside the cover: above, below, left and right of it.
    // False when they are too many to keep.
    static bool Subtract(const RECT& r, const RECT& cover, Pieces& out) {
        RECT common;
        if (!IntersectRect(common, r, cover)) {
            return Keep(r, out);
        }
        return (r.top >= common.top || Keep(RECT{r.left, r.top, r.right, common.top}, out)) &&
               (common.bottom >= r.bottom ||
                Keep(RECT{r.left, common.bottom, r.right, r.bottom}, out)) &&
               (r.left >= common.left ||
                Keep(RECT{r.left, common.top, common.left, common.bottom}, out)) &&
               (common.right >= r.right ||
                Keep(RECT{common.right, common.top, r.right, common.bottom}, out));
    }

    static bool Keep(const RECT& piece, Pieces& out) {
        if (out.count == kMaxPieces) {
            return false;
        }
        out.rects[out.count++] = piece;
        return true;
    }

    std::vector<RECT> m_covers;
};

}  // namespace

// Where items pile up, most of an item meeting a small area is hidden under later texts:
// looking from the last item back, an item whose part in the area lies under them is left out.
void DrawDesignItems(CDC& dc, const std::vector<DesignItem>& items, const RECT& area,
                     const ItemPaintOptions& options) {
    dc.FillSolidRect(area, options.formBackground);
    std::vector<const DesignItem*> shown;
    shown.reserve(items.size());
    CCoveredArea covered;
    for (auto item = items.rbegin(); item != items.rend(); ++item) {
        RECT part;
        if (!IntersectRect(part, area, ItemPaintExtent(*item)) || covered.Hides(part)) {
            continue;
        }
        shown.push_back(&*item);
        RECT filled;
        if (CCoveredArea::Covers(*item) && IntersectRect(filled, area, item->rect)) {
            covered.Add(filled);
        }
    }
    for (auto item = shown.rbegin(); item != shown.rend(); ++item) {
        DrawDesignItem(dc, **item, options);
    }
}
