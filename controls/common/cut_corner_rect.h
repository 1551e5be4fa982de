// The frame with corners cut off on the diagonal that forms and order boxes are drawn with.
#pragma once

#include "platform/gdi/dc.h"

// How far each corner is cut, along both edges.
constexpr int kCutCornerSize = 5;

// The outline of the rectangle with the current pen, each corner cut by kCutCornerSize units on
// the diagonal; the right and bottom edges are exclusive, as everywhere.
void DrawCutCornerRect(CDC& dc, const RECT& r);
