// Where a report's bands and items land on a printed page: the page metrics from the printer's
// resolution and offset, the item rectangles of the three sections and the page-full rule.
#pragma once

#include <cstdint>

#include "controls/common/design_item.h"
#include "controls/report/report_layout_file.h"
#include "platform/gdi/types.h"

// Device units; every conversion from floating point truncates toward zero, and a value past
// the coordinate range (a damaged layout's) is held at its end, so that the drawing's own
// arithmetic on edges cannot overflow.
struct ReportBands {
    RECT pageRect{};
    double printWidth = 0;
    double printHeight = 0;
    int headerHeight = 0;
    int footerHeight = 0;
    int detailHeight = 0;
    int detailTop = 0;
    int detailBottom = 0;
};

// The bands of a page of width x height device units with the printing offset on every side.
ReportBands LayOutReportBands(int width, int height, POINT offset, const ReportHeader& header);

// The item's rectangle on the page, its detail band starting at nextDetailTop; the right edge
// at most pageRect.right and the bottom at most pageRect.bottom. Only sections 1, 2 and 3 have
// one.
RECT ReportItemRect(const ReportItem& item, const ReportBands& bands, const ReportHeader& header,
                    int nextDetailTop);

// The x of a design unit: the page's left edge plus its share of the printable width.
int ReportColumnX(std::int32_t units, const ReportBands& bands);

// The top of the band after one that began at nextDetailTop.
int NextBandTop(int nextDetailTop, const ReportBands& bands);
// Whether no further band fits above the page-full line 10 units over detailBottom.
bool ReportPageFull(int nextDetailTop, const ReportBands& bands);

// A real number as an int, truncated toward zero and held inside the coordinate range.
int TruncateToInt(double value);
