// New items, duplicates, handle zones and the clamping of drags on the canvas.
#include "designer/canvas_rules.h"

#include <algorithm>
#include <limits>
#include <span>

#include "controls/common/edit_style.h"

namespace {

constexpr int kZone = 5;

DesignItem Blank(ItemKind kind) {
    DesignItem item;
    item.kind = kind;
    item.editStyle = CodeOf(DesignerEditStyle::Text);
    item.maxLength = 255;
    item.textColor = 0;
    item.justification = 3;
    item.backColor = -1;
    item.border = true;
    item.tabOrder = -1;
    return item;
}

// A line's 6-pixel strip across the pointer, kept inside 0..limit.
void KeepStripInside(int& low, int& high, int limit) {
    if (low < 0) {
        low = 0;
        high = 6;
    } else if (high > limit) {
        high = limit;
        low = high - 6;
    }
}

RECT HorizontalLineAt(POINT point, const RECT& client) {
    RECT r{client.left + 50, point.y - 3, client.right - 50, point.y + 3};
    KeepStripInside(r.top, r.bottom, client.bottom);
    return r;
}

RECT VerticalLineAt(POINT point, const RECT& client) {
    RECT r{point.x - 3, client.top + 50, point.x + 3, client.bottom - 50};
    KeepStripInside(r.left, r.right, client.right);
    return r;
}

// One axis of an edge drag: the edge follows the coordinate outwards up to the limit, and
// inwards while it stays more than 5 pixels from the opposite edge.
void DragLowEdge(int& low, int high, int at) {
    if (at < low) {
        low = std::max(at, 0);
    } else if (low < at && at < high - kZone) {
        low = at;
    }
}

void DragHighEdge(int low, int& high, int at, int limit) {
    if (low + kZone < at && at < high) {
        high = at;
    } else if (at > high) {
        high = std::min(at, limit);
    }
}

void MoveAxis(int& low, int& high, int delta, int limit) {
    int shift = delta;
    if (low + shift < 0) {
        shift = -low;
    } else if (high + shift > limit) {
        shift = limit - high;
    }
    low += shift;
    high += shift;
}

}  // namespace

int NextTabOrder(const Design& design) {
    int largest = 0;
    for (const DesignItem& item : design.Items()) {
        largest = std::max(largest, item.tabOrder);
    }
    // A file may hold the largest tab order there is; the next column then shares it.
    return largest < std::numeric_limits<int>::max() ? largest + 1 : largest;
}

DesignItem NewPlacedItem(ItemKind kind, POINT point, const RECT& client, const Design& design) {
    DesignItem item = Blank(kind);
    const int x = point.x;
    const int y = point.y;
    switch (kind) {
        case kStaticText:
            item.rect = RECT{x, y, x + 50, y + 23};
            item.text = "Label:";
            item.border = false;
            break;
        case kColumn:
            item.rect = RECT{x, y, x + 80, y + 23};
            item.backColor = 0x00FFFFFF;
            item.tabOrder = NextTabOrder(design);
            break;
        case kHorizontalLine:
            item.rect = HorizontalLineAt(point, client);
            break;
        case kVerticalLine:
            item.rect = VerticalLineAt(point, client);
            break;
        case kRectangle:
        case kRoundRectangle:
            item.rect = RECT{x, y, x + 100, y + 50};
            break;
    }
    return item;
}

DesignItem DuplicateItem(const DesignItem& source, const RECT& client, const Design& design) {
    DesignItem copy = Blank(static_cast<ItemKind>(source.kind));
    copy.editStyle = source.editStyle;
    copy.name = source.name;
    copy.text = source.text;
    copy.mask = source.mask;
    copy.wholeDigits = source.wholeDigits;
    copy.decimalDigits = source.decimalDigits;
    copy.backColor = source.backColor;
    copy.textColor = source.textColor;
    copy.justification = source.justification;
    copy.border = source.border;
    copy.resizeTarget = source.resizeTarget;
    copy.tabOrder = source.kind == kColumn ? NextTabOrder(design) : -1;

    const int width = source.rect.right - source.rect.left;
    const int height = source.rect.bottom - source.rect.top;
    POINT corner{source.rect.left, source.rect.bottom + 2};
    if (source.rect.bottom + 10 > client.bottom) {
        corner = POINT{0, 0};
    }
    // Copies of copies would otherwise walk out of the kept range by the source's height.
    copy.rect =
        ClampToCoordinateRange(RECT{corner.x, corner.y, corner.x + width, corner.y + height});
    return copy;
}

std::size_t DuplicatePosition(const DesignItem& copy, std::size_t count) {
    const bool isLine = copy.kind == kHorizontalLine || copy.kind == kVerticalLine;
    return isLine ? count : 0;
}

bool InHandleZone(const DesignItem& item, ItemEdge edge, POINT point) {
    const RECT& r = item.rect;
    if (!PtInRect(r, point)) {
        return false;
    }
    switch (edge) {
        case ItemEdge::Right:
            return point.x > r.right - kZone;
        case ItemEdge::Left:
            return point.x < r.left + kZone;
        case ItemEdge::Bottom:
            return point.y > r.bottom - kZone;
        case ItemEdge::Top:
            return point.y < r.top + kZone;
        case ItemEdge::None:
            break;
    }
    return false;
}

ItemEdge ResizeEdgeAt(const DesignItem& item, POINT point) {
    static constexpr ItemEdge kHorizontal[] = {ItemEdge::Right, ItemEdge::Left};
    static constexpr ItemEdge kVertical[] = {ItemEdge::Bottom, ItemEdge::Top};
    static constexpr ItemEdge kAll[] = {ItemEdge::Right, ItemEdge::Left, ItemEdge::Bottom,
                                        ItemEdge::Top};
    std::span<const ItemEdge> order = kAll;
    if (item.kind == kHorizontalLine) {
        order = kHorizontal;
    } else if (item.kind == kVerticalLine) {
        order = kVertical;
    }
    for (const ItemEdge edge : order) {
        if (InHandleZone(item, edge, point)) {
            return edge;
        }
    }
    return ItemEdge::None;
}

void DragEdge(RECT& rect, ItemEdge edge, POINT point, const RECT& client) {
    switch (edge) {
        case ItemEdge::Left:
            DragLowEdge(rect.left, rect.right, point.x);
            break;
        case ItemEdge::Right:
            DragHighEdge(rect.left, rect.right, point.x, client.right);
            break;
        case ItemEdge::Top:
            DragLowEdge(rect.top, rect.bottom, point.y);
            break;
        case ItemEdge::Bottom:
            DragHighEdge(rect.top, rect.bottom, point.y, client.bottom);
            break;
        case ItemEdge::None:
            break;
    }
}

void MoveClamped(RECT& rect, int dx, int dy, const RECT& client) {
    MoveAxis(rect.left, rect.right, dx, client.right);
    MoveAxis(rect.top, rect.bottom, dy, client.bottom);
}
