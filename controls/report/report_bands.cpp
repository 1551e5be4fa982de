// Page metrics, band heights and item rectangles of a printed report.
#include "controls/report/report_bands.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kUnitsPerWidth = 0.00125;  // 1 / 800
constexpr double kDesignHeight = kReportDesignHeight;
// The page ends when the next band would reach this close to the detail area's bottom.
constexpr int kPageFullMargin = 10;

double Scaled(double units, const ReportBands& bands) {
    return units * bands.printHeight / kDesignHeight;
}

// The detail band begins this far below the page header's end.
double DetailStart(const ReportHeader& header) {
    return static_cast<double>(header.headerEnd) + 20.0;
}

}  // namespace

int TruncateToInt(double value) {
    constexpr double limit = kCoordinateLimit;
    if (std::isnan(value)) {
        return 0;
    }
    return static_cast<int>(std::clamp(std::trunc(value), -limit, limit));
}

ReportBands LayOutReportBands(int width, int height, POINT offset, const ReportHeader& header) {
    ReportBands bands;
    bands.pageRect = RECT{offset.x, offset.y, TruncateToInt(static_cast<double>(width) - offset.x),
                          TruncateToInt(static_cast<double>(height) - offset.y)};
    bands.printWidth = static_cast<double>(width) - 2.0 * offset.x;
    bands.printHeight = static_cast<double>(height) - 2.0 * offset.y;
    bands.headerHeight = TruncateToInt(Scaled(DetailStart(header), bands));
    bands.footerHeight =
        TruncateToInt(Scaled(static_cast<double>(header.footerEnd) - header.footerStart, bands));
    bands.detailHeight = TruncateToInt(Scaled(header.footerStart - DetailStart(header), bands));
    bands.detailTop = TruncateToInt(static_cast<double>(bands.pageRect.top) + bands.headerHeight);
    bands.detailBottom = TruncateToInt(bands.printHeight - bands.footerHeight -
                                       static_cast<double>(bands.pageRect.top));
    return bands;
}

int ReportColumnX(std::int32_t units, const ReportBands& bands) {
    return TruncateToInt(bands.pageRect.left + units * bands.printWidth * kUnitsPerWidth);
}

RECT ReportItemRect(const ReportItem& item, const ReportBands& bands, const ReportHeader& header,
                    int nextDetailTop) {
    RECT rect{};
    rect.left = ReportColumnX(item.left, bands);
    rect.right = std::min(ReportColumnX(item.right, bands), bands.pageRect.right);
    double top = 0;
    double bottom = 0;
    switch (item.section) {
        case kPageHeader:
            top = bands.pageRect.top + Scaled(item.top, bands);
            bottom = bands.pageRect.top + Scaled(item.bottom, bands);
            break;
        case kDetail: {
            const double offset = Scaled(item.top - DetailStart(header), bands);
            top = nextDetailTop + offset;
            bottom =
                nextDetailTop + Scaled(static_cast<double>(item.bottom) - item.top, bands) + offset;
            break;
        }
        case kPageFooter: {
            const double base = static_cast<double>(bands.detailBottom) + bands.pageRect.top;
            top = base + (Scaled(item.top, bands) - Scaled(header.footerStart, bands));
            bottom = base + (Scaled(item.bottom, bands) - Scaled(header.footerStart, bands));
            break;
        }
        default:
            break;
    }
    rect.top = TruncateToInt(top);
    rect.bottom = std::min(TruncateToInt(bottom), bands.pageRect.bottom);
    return rect;
}

int NextBandTop(int nextDetailTop, const ReportBands& bands) {
    return TruncateToInt(static_cast<double>(nextDetailTop) + bands.detailHeight);
}

bool ReportPageFull(int nextDetailTop, const ReportBands& bands) {
    return static_cast<double>(nextDetailTop) + bands.detailHeight >
           static_cast<double>(bands.detailBottom) - kPageFullMargin;
}
