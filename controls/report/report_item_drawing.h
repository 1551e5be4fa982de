// Drawing one report item on the printer: its text (plain, raised or through a print mask), a
// check box, an underline, a line or an etched rectangle.
#pragma once

#include <string>
#include <string_view>

#include "controls/report/report_layout_file.h"
#include "platform/gdi/dc.h"

// Fills the rectangle with the item's back colour and draws the item by its kind and style, in
// the item's font at the context's resolution.
void DrawReportText(CDC& dc, const ReportItem& item, const RECT& rect);

// The text twice: a light copy, then the item's colour one unit right and down.
void DrawRaisedText(CDC& dc, const ReportItem& item, std::string_view text, const RECT& rect,
                    UINT format);

// A white box with a raised outer and sunken inner edge; ticked, it holds a tick, or a cross
// when the box is narrower or lower than 13 units.
void DrawCheckBox(CDC& dc, const RECT& rect, bool ticked);

// The text laid into the mask: '#' takes the next digit (other characters are skipped), '*' the
// next character, any other mask character stays. Unfilled places are spaces.
std::string ApplyPrintMask(std::string_view text, std::string_view mask);
