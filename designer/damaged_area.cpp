// Collecting changed rectangles and merging them into few repaints.
#include "designer/damaged_area.h"

#include <cstdint>

#include "controls/common/design_item_paint.h"

namespace {

// More rectangles than this are taken as one: merging them would cost more than it saves.
constexpr std::size_t kMaxRects = 256;

std::int64_t AreaOf(const RECT& rect) {
    return static_cast<std::int64_t>(rect.right - rect.left) * (rect.bottom - rect.top);
}

// Two rectangles are repainted as one when their bounding rectangle is no larger than the two
// together: each repaint draws every item meeting it, so one pass beats two overlapping ones.
bool WorthMerging(const RECT& a, const RECT& b) {
    RECT both;
    UnionRect(both, a, b);
    return AreaOf(both) <= AreaOf(a) + AreaOf(b);
}

}  // namespace

void CDamagedArea::Add(const RECT& rect) {
    if (IsRectEmpty(rect)) {
        return;
    }
    UnionRect(m_area, m_area, rect);
    if (m_tooMany) {
        return;
    }
    if (m_rects.size() == kMaxRects) {
        m_tooMany = true;
        m_rects.clear();
        return;
    }
    m_rects.push_back(rect);
}

void CDamagedArea::Add(const DesignItem& item) {
    Add(ItemPaintExtent(item));
}

std::vector<RECT> CDamagedArea::Rects() const {
    if (IsRectEmpty(m_area)) {
        return {};
    }
    if (m_tooMany) {
        return {m_area};
    }
    std::vector<RECT> merged;
    std::int64_t covered = 0;
    for (RECT rect : m_rects) {
        // A grown rectangle may now be worth merging with one it passed over before.
        for (bool grew = true; grew;) {
            grew = false;
            for (std::size_t i = 0; i < merged.size(); ++i) {
                if (WorthMerging(merged[i], rect)) {
                    UnionRect(rect, rect, merged[i]);
                    covered -= AreaOf(merged[i]);
                    merged[i] = merged.back();
                    merged.pop_back();
                    grew = true;
                    break;
                }
            }
        }
        covered += AreaOf(rect);
        merged.push_back(rect);
    }
    // Pieces covering most of the bounding rectangle cost more than one pass over all of it.
    if (covered * 2 >= AreaOf(m_area)) {
        return {m_area};
    }
    return merged;
}
