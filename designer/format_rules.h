// The Format menu's rules: aligning, sizing and spacing the selected items' rectangles.
#pragma once

#include <string>
#include <vector>

#include "platform/gdi/types.h"

enum class FormatCommand {
    AlignLefts,
    AlignRights,
    AlignTops,
    AlignBottoms,
    AlignCenters,  // on one vertical line through the selection's middle
    AlignMiddles,  // on one horizontal line through the selection's middle
    SameWidth,
    SameHeight,
    SameSize,
    SpaceAcross,
    SpaceDown,
};

// The step's name in the Undo menu entry ("Align Lefts").
std::string FormatStepName(FormatCommand command);
// The rectangles after the command, in the same order. Aligning takes the outermost edge (or
// the middle of the rectangles' extent), sizing the largest width or height with the left and
// top edges kept, spacing keeps the outermost items and spreads the others so that the gaps
// between neighbours are equal. Fewer than two rectangles (three for spacing) stay as they
// are. Every rectangle is kept in the client area as the canvas's drags keep it: a moved one
// stops at the edges, a grown one is cut there.
std::vector<RECT> FormatRects(FormatCommand command, const std::vector<RECT>& rects,
                              const RECT& client);
