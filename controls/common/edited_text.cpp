// Drawing the text of a cell being edited.
#include "controls/common/edited_text.h"

POINT DrawEditedText(CDC& dc, std::string_view text, RECT cell, UINT format) {
    const int width = dc.GetTextExtentPoint32(text).cx;
    const bool wider = width > cell.Width();
    const POINT caret{wider ? cell.right : cell.left + width, cell.top};
    dc.DrawText(text, cell, format | (wider ? DT_RIGHT : DT_LEFT));
    return caret;
}
