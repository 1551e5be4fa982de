// The toolkit font behind CTextMetrics, for the device contexts that draw with it.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QPaintDevice>

#include "platform/gdi/text_metrics.h"

struct CTextMetrics::Impl {
    QFont font;
    QFontMetrics metrics;
};

// The font a LOGFONT describes, sized in the device's pixels; face names go to fontconfig.
QFont ToQFont(const LOGFONT& logFont, int logPixels, const QPaintDevice* device);

// Metrics of the font as measured on the device; without one, as on an image at logPixels.
CTextMetrics MeasureOn(const LOGFONT& logFont, int logPixels, const QPaintDevice* device);
