// LOGFONT to QFont conversion and the metrics device contexts lay text out with.
#include "platform/gdi/text_metrics_qt.h"

#include <QImage>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <utility>
#include <vector>

namespace {

constexpr int kDefaultTenthsOfPoint = 80;
// Enough for every caption and value of a large form; beyond it the cache starts again.
constexpr std::size_t kShapedTextLimit = 8192;
// One line, never wrapped: the layout only shapes the text.
constexpr qreal kUnboundedWidth = 1e9;
constexpr int kTenthsPerInch = 720;

QImage MeasuringImage(int logPixels) {
    QImage image(1, 1, QImage::Format_RGB32);
    const int dotsPerMeter = qRound(logPixels / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

constexpr const char* kBitmapTableFace = "FixedSys";

QFont::Weight ToQtWeight(int lfWeight) {
    // Qt's weights use the same 100..900 scale; zero means "don't care".
    if (lfWeight <= 0) {
        return QFont::Normal;
    }
    return static_cast<QFont::Weight>(std::clamp(lfWeight, 100, 900));
}

// A positive height is the whole cell (ascent + descent): scale the em size until it fits,
// since only the em size can be asked for.
int PixelSizeForCellHeight(QFont font, int cellHeight, const QPaintDevice* device) {
    int pixelSize = cellHeight;
    for (int attempt = 0; attempt < 3; ++attempt) {
        font.setPixelSize(pixelSize);
        const QFontMetrics metrics(font, device);
        const int height = metrics.ascent() + metrics.descent();
        if (height == cellHeight || height <= 0) {
            break;
        }
        pixelSize = std::max(1, MulDiv(pixelSize, cellHeight, height));
    }
    return pixelSize;
}

}  // namespace

QFont ToQFont(const LOGFONT& logFont, int logPixels, const QPaintDevice* device) {
    const std::string& face =
        logFont.lfFaceName.empty() ? DefaultGuiFont().lfFaceName : logFont.lfFaceName;
    QFont font(QString::fromStdString(face));
    font.setWeight(ToQtWeight(logFont.lfWeight));
    font.setItalic(logFont.lfItalic);
    font.setUnderline(logFont.lfUnderline);
    font.setStrikeOut(logFont.lfStrikeOut);
    // Without kerning the extent of a text is the sum of its pieces, as the controls assume
    // when they measure pieces of a line separately.
    font.setKerning(false);
    // FixedSys, the face of the tables, is a bitmap face on the classic desktop, never smoothed:
    // its stand-in is drawn unsmoothed too, for that crisp look and because a row of unsmoothed
    // glyphs draws in half the time, which a list repainting row by row needs.
    if (QString::compare(QString::fromStdString(face), QLatin1String(kBitmapTableFace),
                         Qt::CaseInsensitive) == 0) {
        font.setStyleStrategy(QFont::NoAntialias);
    }
    if (logFont.lfHeight < 0) {
        font.setPixelSize(-logFont.lfHeight);
    } else if (logFont.lfHeight > 0) {
        font.setPixelSize(PixelSizeForCellHeight(font, logFont.lfHeight, device));
    } else {
        font.setPixelSize(std::max(1, MulDiv(kDefaultTenthsOfPoint, logPixels, kTenthsPerInch)));
    }
    return font;
}

namespace {

std::shared_ptr<const CTextMetrics::Impl> Measure(const LOGFONT& logFont, int logPixels,
                                                  const QPaintDevice* device) {
    const QFont font = ToQFont(logFont, logPixels, device);
    return std::make_shared<const CTextMetrics::Impl>(font, QFontMetrics(font, device));
}

// Images of one resolution measure alike, so their metrics, and the texts shaped with them,
// are kept for every context that draws on an image. Drawing happens on the GUI thread only.
std::shared_ptr<const CTextMetrics::Impl> MeasureOnImage(const LOGFONT& logFont, int logPixels) {
    static std::vector<
        std::pair<std::pair<LOGFONT, int>, std::shared_ptr<const CTextMetrics::Impl>>>
        known;
    const auto key = std::make_pair(logFont, logPixels);
    for (const auto& [font, metrics] : known) {
        if (font == key) {
            return metrics;
        }
    }
    const QImage standIn = MeasuringImage(logPixels);
    known.emplace_back(key, Measure(logFont, logPixels, &standIn));
    return known.back().second;
}

}  // namespace

CTextMetrics MeasureOn(const LOGFONT& logFont, int logPixels, const QPaintDevice* device) {
    if (device == nullptr) {
        return CTextMetrics(MeasureOnImage(logFont, logPixels));
    }
    return CTextMetrics(Measure(logFont, logPixels, device));
}

CTextMetrics::CTextMetrics(const LOGFONT& font, int logPixels)
    : CTextMetrics(MeasureOn(font, logPixels, nullptr)) {}

CTextMetrics::CTextMetrics(std::shared_ptr<const Impl> impl) : m_impl(std::move(impl)) {}

CTextMetrics::CTextMetrics(CTextMetrics&&) noexcept = default;
CTextMetrics& CTextMetrics::operator=(CTextMetrics&&) noexcept = default;
CTextMetrics::~CTextMetrics() = default;

int CTextMetrics::Ascent() const {
    return m_impl->metrics.ascent();
}

int CTextMetrics::Descent() const {
    return m_impl->metrics.descent();
}

namespace {

// The smallest rectangle around both, empty ones included.
QRectF Spanning(const QRectF& a, const QRectF& b) {
    return QRectF(QPointF(std::min(a.left(), b.left()), std::min(a.top(), b.top())),
                  QPointF(std::max(a.right(), b.right()), std::max(a.bottom(), b.bottom())));
}

// Printable ASCII: each character is one glyph of the font itself, placed at the sum of the
// advances before it, as the text engine would place it (without kerning), so the engine's
// shaping can be skipped. A glyph the font lacks goes to the engine, which falls back.
std::optional<CTextMetrics::Impl::Shaped> ShapePlain(std::string_view text,
                                                     const CTextMetrics::Impl& impl) {
    using Impl = CTextMetrics::Impl;
    const auto& table = impl.PlainGlyphs();
    QList<quint32> glyphs;
    glyphs.reserve(static_cast<qsizetype>(text.size()));
    for (const char c : text) {
        if (c < Impl::kFirstPlain || c > Impl::kLastPlain ||
            table[static_cast<std::size_t>(c - Impl::kFirstPlain)].index == 0) {
            return std::nullopt;
        }
        glyphs.append(table[static_cast<std::size_t>(c - Impl::kFirstPlain)].index);
    }
    const QRawFont& raw = impl.Raw();
    Impl::Shaped result;
    result.ascent = raw.ascent();
    QList<QPointF> positions;
    positions.reserve(glyphs.size());
    qreal x = 0;
    for (const char c : text) {
        const Impl::PlainGlyph& glyph = table[static_cast<std::size_t>(c - Impl::kFirstPlain)];
        const QPointF position(x, result.ascent);
        positions.append(position);
        // The ink of a run, as the run itself would measure it: every glyph's box, even empty.
        const QRectF box = glyph.bounds.translated(position);
        result.ink = positions.size() == 1 ? box : Spanning(result.ink, box);
        x += glyph.advance;
    }
    result.advance = qRound(x);
    if (!glyphs.isEmpty()) {
        QGlyphRun run;
        run.setRawFont(raw);
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        run.setUnderline(impl.font.underline());
        run.setStrikeOut(impl.font.strikeOut());
        run.setOverline(impl.font.overline());
        result.glyphs.append(run);
    }
    return result;
}

QRectF InkOf(const QList<QGlyphRun>& runs) {
    QRectF ink;
    for (const QGlyphRun& run : runs) {
        ink = ink.united(run.boundingRect());
    }
    return ink;
}

}  // namespace

const CTextMetrics::Impl::Shaped& CTextMetrics::Impl::Shape(std::string_view text) const {
    if (last != nullptr && last->first == text) {
        return last->second;
    }
    if (const auto found = shaped.find(text); found != shaped.end()) {
        last = &*found;
        return found->second;
    }
    if (shaped.size() >= kShapedTextLimit) {
        last = nullptr;
        shaped.clear();
    }
    if (std::optional<Shaped> shapedPlain = ShapePlain(text, *this)) {
        return Remember(std::string(text), std::move(*shapedPlain));
    }
    const QString qtext = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    Shaped result;
    // One shaping gives both the glyphs and the advance: measuring apart shapes the text twice.
    QTextLayout layout(qtext, font);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid()) {
        line.setLineWidth(kUnboundedWidth);
        line.setPosition(QPointF(0, 0));
        result.ascent = line.ascent();
        result.advance = qRound(line.horizontalAdvance());
    }
    layout.endLayout();
    result.glyphs = layout.glyphRuns();
    result.ink = InkOf(result.glyphs);
    return Remember(std::string(text), std::move(result));
}

const QRawFont& CTextMetrics::Impl::Raw() const {
    if (!raw) {
        raw = QRawFont::fromFont(font);
    }
    return *raw;
}

const std::array<CTextMetrics::Impl::PlainGlyph,
                 CTextMetrics::Impl::kLastPlain - CTextMetrics::Impl::kFirstPlain + 1>&
CTextMetrics::Impl::PlainGlyphs() const {
    if (plain) {
        return *plain;
    }
    QString characters;
    for (char c = kFirstPlain; c <= kLastPlain; ++c) {
        characters.append(QChar(c));
    }
    const QList<quint32> indexes = Raw().glyphIndexesForString(characters);
    const QList<QPointF> advances = Raw().advancesForGlyphIndexes(indexes);
    // Assigned rather than emplaced: clang cannot default-construct in place a nested class
    // with member initializers from inside its enclosing class.
    plain = std::array<PlainGlyph, kLastPlain - kFirstPlain + 1>{};
    for (qsizetype i = 0; i < indexes.size() && i < advances.size(); ++i) {
        (*plain)[static_cast<std::size_t>(i)] =
            PlainGlyph{indexes[i], advances[i].x(), Raw().boundingRect(indexes[i])};
    }
    return *plain;
}

const CTextMetrics::Impl::Shaped& CTextMetrics::Impl::Remember(std::string text,
                                                               Shaped result) const {
    last = &*shaped.emplace(std::move(text), std::move(result)).first;
    return last->second;
}

const CTextMetrics::Impl::GlyphInk* CTextMetrics::Impl::Ink(quint32 glyph, QPoint fraction) const {
    if (smoothed || (font.styleStrategy() & QFont::NoAntialias) == 0) {
        return nullptr;
    }
    const quint64 key =
        (quint64{glyph} << 16) | static_cast<quint64>(fraction.x() * kPlaceSteps + fraction.y());
    if (const auto found = inks.find(key); found != inks.end()) {
        return &found->second;
    }
    // The glyph drawn alone by the painter at the same fraction of a pixel, with room around
    // its outline for what a rasterizer puts outside it.
    constexpr int kMargin = 2;
    const QRect box = Raw().boundingRect(glyph).toAlignedRect();
    const QPoint whole(kMargin - box.left(), kMargin - box.top());
    QImage image(box.size() + QSize(2 * kMargin + 1, 2 * kMargin + 1),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QGlyphRun run;
        run.setRawFont(Raw());
        run.setGlyphIndexes({glyph});
        run.setPositions({QPointF(whole) + QPointF(fraction) / kPlaceSteps});
        QPainter painter(&image);
        painter.setPen(Qt::black);
        painter.drawGlyphRun(QPointF(0, 0), run);
    }
    GlyphInk ink;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = qAlpha(line[x]);
            if (alpha != 0 && alpha != 255) {
                smoothed = true;
                inks.clear();
                return nullptr;
            }
            if (alpha == 255) {
                ink.pixels.push_back(QPoint(x, y) - whole);
                ink.bounds |= QRect(ink.pixels.back(), QSize(1, 1));
            }
        }
    }
    return &inks.emplace(key, std::move(ink)).first->second;
}

int CTextMetrics::Advance(std::string_view text) const {
    return m_impl->Shape(text).advance;
}

int CTextMetrics::UnderlinePosition() const {
    return m_impl->metrics.underlinePos();
}

int CTextMetrics::UnderlineThickness() const {
    return std::max(1, m_impl->metrics.lineWidth());
}
