// Drawing of design items: the designer's canvas and the form control paint them alike.
#pragma once

#include <vector>

#include "controls/common/design_item.h"
#include "platform/gdi/dc.h"

struct ItemPaintOptions {
    COLORREF formBackground = 0x00C0C0C0;
    // The designer's editing mode: a column shows its name instead of its value.
    bool columnNames = false;
    // The designer marks selected frames with a focus rectangle and draws round rectangles
    // too small for their corners as plain etched ones; a form draws every frame as it is.
    bool designerFrames = false;
};

// Draws one item, whole and unclipped, with the context's current font and pen.
void DrawDesignItem(CDC& dc, const DesignItem& item, const ItemPaintOptions& options);
// The rectangle holding every pixel drawing the item can touch: its rectangle and any line
// it draws outside it.
RECT ItemPaintExtent(const DesignItem& item);
// Fills the area with the form's background and draws, in list order, every item meeting it.
void DrawDesignItems(CDC& dc, const std::vector<DesignItem>& items, const RECT& area,
                     const ItemPaintOptions& options);
