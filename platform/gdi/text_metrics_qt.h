// The toolkit font behind CTextMetrics, for the device contexts that draw with it.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QList>
#include <QPaintDevice>
#include <QRawFont>
#include <QRectF>
#include <optional>
#include <string>
#include <unordered_map>

#include "platform/gdi/text_metrics.h"

struct CTextMetrics::Impl {
    Impl(const QFont& f, const QFontMetrics& m) : font(f), metrics(m) {}

    // A text shaped once: forms and reports draw the same captions and values over and over,
    // and shaping costs far more than drawing the glyphs.
    struct Shaped {
        int advance = 0;
        qreal ascent = 0;
        QList<QGlyphRun> glyphs;
        // Where the glyphs put ink, from the origin the runs are drawn at.
        QRectF ink;
    };
    const Shaped& Shape(std::string_view text) const;

    QFont font;
    QFontMetrics metrics;
    mutable std::unordered_map<std::string, Shaped> shaped;
    // The font's glyphs for plain text, looked up once.
    mutable std::optional<QRawFont> raw;
};

// The font a LOGFONT describes, sized in the device's pixels; face names go to fontconfig.
QFont ToQFont(const LOGFONT& logFont, int logPixels, const QPaintDevice* device);

// Metrics of the font as measured on the device; without one, as on an image at logPixels.
CTextMetrics MeasureOn(const LOGFONT& logFont, int logPixels, const QPaintDevice* device);
