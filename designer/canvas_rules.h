// The canvas's rules for new and duplicated items and for the handle zones of an item.
#pragma once

#include "controls/common/design.h"

enum class ItemEdge { None, Left, Right, Top, Bottom };

// The largest tab order in the design, counted as at least 0, plus 1; the largest tab order
// there is stays as it is.
int NextTabOrder(const Design& design);
// The item a press at the point creates with the tool of that kind.
DesignItem NewPlacedItem(ItemKind kind, POINT point, const RECT& client, const Design& design);
// The copy Duplicate makes of the source, placed below it or at the top-left corner, with its
// rectangle kept in the coordinate range.
DesignItem DuplicateItem(const DesignItem& source, const RECT& client, const Design& design);
// Where Duplicate inserts the copy into a list of the count: copies of lines at the back, all
// other copies at the front.
std::size_t DuplicatePosition(const DesignItem& copy, std::size_t count);

// Whether the point lies in the strip within 5 pixels of that edge, inside the item.
bool InHandleZone(const DesignItem& item, ItemEdge edge, POINT point);
// The edge a press at the point resizes, trying the zones in the kind's order.
ItemEdge ResizeEdgeAt(const DesignItem& item, POINT point);
// Moves the edge of the rectangle towards the point, never within 5 pixels of the opposite
// edge and never out of the client area.
void DragEdge(RECT& rect, ItemEdge edge, POINT point, const RECT& client);
// Moves the rectangle by the offset, stopping at the client area's edges without resizing.
void MoveClamped(RECT& rect, int dx, int dy, const RECT& client);
