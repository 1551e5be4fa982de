// The toolkit font behind CTextMetrics, for the device contexts that draw with it.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QList>
#include <QPaintDevice>
#include <QPoint>
#include <QRawFont>
#include <QRect>
#include <QRectF>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

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
    const Shaped& Remember(std::string text, Shaped result) const;

    // Looks texts up without copying them into a key.
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>{}(text);
        }
    };

    QFont font;
    QFontMetrics metrics;
    mutable std::unordered_map<std::string, Shaped, TextHash, std::equal_to<>> shaped;
    // Drawing a text measures, places and draws it: the last one found is asked for again.
    mutable const std::pair<const std::string, Shaped>* last = nullptr;
    // Printable ASCII as the font draws it, looked up once: most texts are made of nothing else.
    struct PlainGlyph {
        quint32 index = 0;
        qreal advance = 0;
        QRectF bounds;
    };
    static constexpr char kFirstPlain = 0x20;
    static constexpr char kLastPlain = 0x7E;
    const std::array<PlainGlyph, kLastPlain - kFirstPlain + 1>& PlainGlyphs() const;
    const QRawFont& Raw() const;

    // The font's glyphs, looked up once.
    mutable std::optional<QRawFont> raw;
    mutable std::optional<std::array<PlainGlyph, kLastPlain - kFirstPlain + 1>> plain;

    // The pixels an unsmoothed glyph covers as the painter draws it, from the whole pixel its
    // position falls in; each one takes the text colour whole. The painter places glyphs in
    // 64ths of a pixel, and the pixels depend on that fraction of the position alone.
    struct GlyphInk {
        QRect bounds;
        std::vector<QPoint> pixels;
    };
    static constexpr int kPlaceSteps = 64;
    // The ink of one of the font's own glyphs at a fraction of a pixel (in 64ths across and
    // down); null when the font smooths its glyphs.
    const GlyphInk* Ink(quint32 glyph, QPoint fraction) const;
    mutable std::unordered_map<quint64, GlyphInk> inks;
    mutable bool smoothed = false;
};

// The font a LOGFONT describes, sized in the device's pixels; face names go to fontconfig.
QFont ToQFont(const LOGFONT& logFont, int logPixels, const QPaintDevice* device);

// Metrics of the font as measured on the device; without one, as on an image at logPixels.
CTextMetrics MeasureOn(const LOGFONT& logFont, int logPixels, const QPaintDevice* device);
