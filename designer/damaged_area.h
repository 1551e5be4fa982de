// CDamagedArea: the rectangles an edit changed, repainted together.
#pragma once

#include <vector>

#include "controls/common/design_item.h"

// Collects the rectangles an edit changed. One repaint of their bounding rectangle redraws
// every item inside it; when they lie spread over the canvas, repainting each of a few merged
// rectangles redraws far less.
class CDamagedArea {
  public:
    void Add(const RECT& rect);
    // The painted extent of the item, which may reach past its rectangle.
    void Add(const DesignItem& item);
    // The bounding rectangle of everything added.
    const RECT& Area() const { return m_area; }
    // Rectangles covering everything added, overlapping ones merged; the bounding rectangle
    // alone when the pieces would cover most of it or be too many to be worth repainting
    // one by one. Empty when nothing was added.
    std::vector<RECT> Rects() const;

  private:
    RECT m_area{};
    std::vector<RECT> m_rects;
    // Past this many rectangles only the bounding one is kept.
    bool m_tooMany = false;
};
