// The text of the cell being edited, placed so that its end, where typing goes, always shows.
#pragma once

#include <string_view>

#include "platform/gdi/dc.h"

// Draws the text left-aligned in the cell, or right-aligned when it is wider than the cell, with
// the other format flags given (DT_VCENTER, DT_SINGLELINE...). Returns where the caret goes: at
// the top of the cell, after the text, or at the cell's right edge when the text is wider.
POINT DrawEditedText(CDC& dc, std::string_view text, RECT cell, UINT format);
