// The device context over a QPainter, with the classic platform's pixel rules.
#include "platform/gdi/painter_dc_qt.h"

#include <QPaintEngine>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "platform/gdi/bitmap_qt.h"
#include "platform/gdi/color_qt.h"
#include "platform/gdi/text_metrics_qt.h"

namespace {

// The platform's cosmetic dotted pen: three pixels on, three off.
constexpr int kDotOn = 3;
constexpr int kDotPeriod = 6;
// Offset of Qt's checkerboard pattern from the focus rectangle's first dot.
constexpr int kFocusPatternPhase = 1;
// Wider fills are left to the painter, which fills whole scanlines fast.
constexpr int kDirectFillWidth = 8;
// Beyond any page or window: a clip this tall clips a column only.
constexpr int kFarAway = 1 << 24;

QRect ToQRect(const RECT& rc) {
    return QRect(rc.left, rc.top, rc.Width(), rc.Height());
}

RECT Deflated(const RECT& rc, UINT flags) {
    RECT inner = rc;
    inner.left += (flags & BF_LEFT) != 0 ? 1 : 0;
    inner.top += (flags & BF_TOP) != 0 ? 1 : 0;
    inner.right -= (flags & BF_RIGHT) != 0 ? 1 : 0;
    inner.bottom -= (flags & BF_BOTTOM) != 0 ? 1 : 0;
    return inner;
}

}  // namespace

// A row or column of neighbouring pixels, filled at once.
bool CPainterDC::PixelRun::Extend(POINT pixel) {
    if (count == 0) {
        return false;
    }
    const bool alongRow =
        pixel.y == last.y && pixel.y == first.y && std::abs(pixel.x - last.x) == 1;
    const bool alongColumn =
        pixel.x == last.x && pixel.x == first.x && std::abs(pixel.y - last.y) == 1;
    if (!alongRow && !alongColumn) {
        return false;
    }
    last = pixel;
    ++count;
    return true;
}

CPainterDC::CPainterDC(QPaintDevice* device, int logPixels)
    : m_device(device), m_logPixels(logPixels) {
    if (m_device != nullptr && m_device->paintEngine() != nullptr) {
        m_painter.begin(m_device);
        m_painter.setRenderHint(QPainter::Antialiasing, false);
    }
}

CPainterDC::CPainterDC(CBitmap& bitmap, int logPixels)
    : m_logPixels(logPixels), m_bitmap(&bitmap) {}

CPainterDC::~CPainterDC() {
    if (m_paintedImpl != nullptr) {
        m_paintedImpl->ReleasePainter();
    }
}

void CPainterDC::EndBitmapPaint() {
    m_paintedImpl = nullptr;
    if (m_painter.isActive()) {
        m_painter.end();
    }
}

QPaintDevice* CPainterDC::Device() const {
    return m_bitmap != nullptr ? &m_bitmap->impl().image : m_device;
}

// Opening a painter costs more than most single operations, so a bitmap's painter stays open
// from one operation to the next; the bitmap ends it when another context or a resize needs
// the image.
CPainterDC::PaintScope::PaintScope(CPainterDC& dc) : m_dc(dc) {
    if (m_dc.m_bitmap == nullptr) {
        return;
    }
    CBitmap::Impl& impl = m_dc.m_bitmap->impl();
    if (impl.painter == &m_dc && m_dc.m_painter.isActive()) {
        return;
    }
    if (m_dc.m_paintedImpl != nullptr) {
        m_dc.m_paintedImpl->ReleasePainter();
    }
    impl.ReleasePainter();
    if (impl.image.isNull() || !m_dc.m_painter.begin(&impl.image)) {
        return;
    }
    impl.painter = &m_dc;
    m_dc.m_paintedImpl = &impl;
    m_dc.m_painter.setRenderHint(QPainter::Antialiasing, false);
    if (m_dc.m_clip) {
        m_dc.m_painter.setClipRect(*m_dc.m_clip);
    }
}

bool CPainterDC::PaintScope::Active() const {
    return m_dc.m_painter.isActive();
}

const CTextMetrics& CPainterDC::Metrics() {
    if (!m_metrics) {
        // A bitmap's image may be empty or replaced: measure as any image at its resolution.
        m_metrics.emplace(MeasureOn(m_font.GetLogFont(), m_logPixels, m_device));
    }
    return *m_metrics;
}

// A repaint clipped to a small part of a crowded window meets many items at their edges only:
// the fills wholly outside the clip are left out before the painter sees them.
void CPainterDC::Fill(int x, int y, int width, int height, COLORREF color) {
    const QRect rect(x, y, width, height);
    if (width > 0 && height > 0 && MeetsClip(rect) && !FillPixels(rect, color)) {
        m_painter.fillRect(rect, ToQColor(color));
    }
}

// Where nothing but the context's clip rectangles clips, and nothing blends or moves the
// painting, a bitmap's pixels can be written directly, with the painter's result.
QImage* CPainterDC::DirectPixels(QRect& clip) {
    const bool otherClip = m_painter.hasClipping() && !m_clip && !m_textClip;
    if (m_bitmap == nullptr || otherClip ||
        m_painter.compositionMode() != QPainter::CompositionMode_SourceOver ||
        m_painter.opacity() < 1.0 || !m_painter.transform().isIdentity()) {
        return nullptr;
    }
    QImage& image = m_bitmap->impl().image;
    // A shared image would be copied by writing to it, away from the painter's own pixels.
    if (!image.isDetached() || image.format() != QImage::Format_RGB32) {
        return nullptr;
    }
    clip = image.rect() & m_clip.value_or(image.rect()) & m_textClip.value_or(image.rect());
    return &image;
}

// The painter fills a narrow rectangle one scanline call at a time, and the ruled lines of a
// table are hundreds of them.
bool CPainterDC::FillPixels(const QRect& rect, COLORREF color) {
    QRect clip;
    QImage* image = rect.width() > kDirectFillWidth ? nullptr : DirectPixels(clip);
    if (image == nullptr) {
        return false;
    }
    const QRect inside = rect & clip;
    if (inside.isEmpty()) {
        return true;
    }
    const QRgb pixel = ToQColor(color).rgb();
    const qsizetype step = image->bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    QRgb* first = reinterpret_cast<QRgb*>(image->bits()) + inside.top() * step + inside.left();
    // A rule down a list is one pixel a line, hundreds of lines.
    if (inside.width() == 1) {
        for (int y = 0; y < inside.height(); ++y, first += step) {
            *first = pixel;
        }
        return true;
    }
    for (int y = 0; y < inside.height(); ++y, first += step) {
        std::fill_n(first, inside.width(), pixel);
    }
    return true;
}

namespace {

// Runs of the font's own glyphs, plainly drawn: nothing the painter adds.
bool PlainRuns(const CTextMetrics::Impl& font, const QList<QGlyphRun>& runs) {
    return std::all_of(runs.begin(), runs.end(), [&](const QGlyphRun& run) {
        return run.rawFont() == font.Raw() && !run.underline() && !run.strikeOut() &&
               !run.overline();
    });
}

// The image's pixels, a line every step.
struct Pixels {
    QRgb* bits;
    qsizetype step;
};

void WriteInk(Pixels pixels, const QRect& clip, QPoint at, const CTextMetrics::Impl::GlyphInk& ink,
              QRgb pixel) {
    const QRect bounds = ink.bounds.translated(at);
    if (!clip.intersects(bounds)) {
        return;
    }
    const bool inside = clip.contains(bounds);
    for (const QPoint& offset : ink.pixels) {
        const QPoint point = at + offset;
        if (inside || clip.contains(point)) {
            pixels.bits[point.y() * pixels.step + point.x()] = pixel;
        }
    }
}

}  // namespace

// An unsmoothed glyph is pixels of the text colour: written straight into the bitmap they skip
// the painter's work for each glyph, which costs more than the pixels of a row of table text.
bool CPainterDC::DrawInk(QPointF origin, const CTextMetrics::Impl::Shaped& shaped) {
    const CTextMetrics::Impl& font = Metrics().impl();
    QRect clip;
    QImage* image = DirectPixels(clip);
    if (image == nullptr || !PlainRuns(font, shaped.glyphs)) {
        return false;
    }
    // A glyph written directly has the painter's pixels: should a later one need the painter,
    // the painter drawing the whole text again leaves the same picture.
    constexpr int kSteps = CTextMetrics::Impl::kPlaceSteps;
    const QRgb pixel = ToQColor(m_textColor).rgb();
    const Pixels pixels{reinterpret_cast<QRgb*>(image->bits()),
                        image->bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb))};
    for (const QGlyphRun& run : shaped.glyphs) {
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < glyphs.size() && i < positions.size(); ++i) {
            // Where the painter puts the glyph: in 64ths of a pixel, the rest cut off.
            const QPointF place = origin + positions[i];
            if (place.x() < 0 || place.y() < 0 || place.x() >= kFarAway || place.y() >= kFarAway) {
                return false;
            }
            const QPoint steps(static_cast<int>(place.x() * kSteps),
                               static_cast<int>(place.y() * kSteps));
            const QPoint fraction(steps.x() % kSteps, steps.y() % kSteps);
            const CTextMetrics::Impl::GlyphInk* ink = font.Ink(glyphs[i], fraction);
            if (ink == nullptr) {
                return false;
            }
            WriteInk(pixels, clip, QPoint(steps.x() / kSteps, steps.y() / kSteps), *ink, pixel);
        }
    }
    return true;
}

// The platform's FillSolidRect works through the background colour and leaves it set.
void CPainterDC::FillSolidRect(const RECT& rc, COLORREF color) {
    m_bkColor = color;
    const PaintScope scope(*this);
    if (scope.Active()) {
        Fill(rc.left, rc.top, rc.Width(), rc.Height(), color);
    }
}

POINT CPainterDC::MoveTo(int x, int y) {
    return std::exchange(m_position, POINT{x, y});
}

void CPainterDC::LineTo(int x, int y) {
    const POINT from = std::exchange(m_position, POINT{x, y});
    const PaintScope scope(*this);
    if (scope.Active()) {
        DrawSegment(from, m_position);
    }
}

void CPainterDC::Polyline(const std::vector<POINT>& points) {
    const PaintScope scope(*this);
    if (!scope.Active()) {
        return;
    }
    for (std::size_t i = 1; i < points.size(); ++i) {
        DrawSegment(points[i - 1], points[i]);
    }
}

void CPainterDC::DrawSegment(POINT from, POINT to) {
    if (m_pen.style == PS_NULL || from == to) {
        return;
    }
    if (m_pen.width > 1) {
        // A wide pen is geometric: solid whatever its style, with round ends on both points.
        m_painter.setPen(
            QPen(ToQColor(m_pen.color), m_pen.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        m_painter.drawLine(QPoint(from.x, from.y), QPoint(to.x, to.y));
    } else {
        DrawThinSegment(from, to);
    }
}

// A one-pixel line as filled runs of pixels, each pixel where integer arithmetic puts it
// (rounded like MulDiv), the end point left out; runs keep straight lines to a single fill.
void CPainterDC::DrawThinSegment(POINT from, POINT to) {
    const int dx = to.x - from.x;
    const int dy = to.y - from.y;
    const int steps = std::max(std::abs(dx), std::abs(dy));
    const bool dotted = m_pen.style == PS_DOT;
    if (!dotted && (dx == 0 || dy == 0)) {
        // Along an axis the pixels are one run from the start up to the end point, left out.
        const int left = dx < 0 ? to.x + 1 : from.x;
        const int top = dy < 0 ? to.y + 1 : from.y;
        Fill(left, top, std::max(std::abs(dx), 1), std::max(std::abs(dy), 1), m_pen.color);
        return;
    }
    PixelRun run;
    for (int i = 0; i < steps; ++i) {
        if (dotted && i % kDotPeriod >= kDotOn) {
            FillRun(run);
            continue;
        }
        const POINT pixel{from.x + MulDiv(i, dx, steps), from.y + MulDiv(i, dy, steps)};
        if (!run.Extend(pixel)) {
            FillRun(run);
            run = PixelRun{pixel, pixel, 1};
        }
    }
    FillRun(run);
}

void CPainterDC::FillRun(PixelRun& run) {
    if (run.count > 0) {
        Fill(std::min(run.first.x, run.last.x), std::min(run.first.y, run.last.y),
             std::abs(run.last.x - run.first.x) + 1, std::abs(run.last.y - run.first.y) + 1,
             m_pen.color);
    }
    run = PixelRun{};
}

void CPainterDC::FrameRect(const RECT& rc) {
    const PaintScope scope(*this);
    if (!scope.Active() || IsRectEmpty(rc) || m_pen.style == PS_NULL) {
        return;
    }
    const COLORREF color = m_pen.color;
    Fill(rc.left, rc.top, rc.Width(), 1, color);
    Fill(rc.left, rc.bottom - 1, rc.Width(), 1, color);
    Fill(rc.left, rc.top, 1, rc.Height(), color);
    Fill(rc.right - 1, rc.top, 1, rc.Height(), color);
}

CPainterDC::InkFit CPainterDC::FitOf(const TextLayout& layout, const RECT& rc) {
    const CTextMetrics& metrics = Metrics();
    InkFit fit;
    for (const TextLine& line : layout.lines) {
        const CTextMetrics::Impl::Shaped& shaped = metrics.impl().Shape(line.text);
        const QRectF ink = shaped.ink.translated(line.x, line.y + metrics.Ascent() - shaped.ascent);
        fit.across = fit.across && line.x >= rc.left && line.x + line.width <= rc.right &&
                     std::floor(ink.left()) >= rc.left && std::ceil(ink.right()) <= rc.right;
        fit.down = fit.down && line.y >= rc.top && line.y + layout.lineHeight <= rc.bottom &&
                   std::floor(ink.top()) >= rc.top && std::ceil(ink.bottom()) <= rc.bottom;
    }
    return fit;
}

void CPainterDC::TextClip::To(const QRect& clip) {
    if (m_clip == clip) {
        return;
    }
    End();
    m_dc.m_painter.save();
    m_dc.m_painter.setClipRect(clip, Qt::IntersectClip);
    m_dc.m_textClip = clip;
    m_clip = clip;
}

void CPainterDC::TextClip::Keep(const QRect& drawn) {
    if (m_clip && !m_clip->contains(drawn)) {
        End();
    }
}

void CPainterDC::TextClip::End() {
    if (m_clip) {
        m_dc.m_painter.restore();
        m_dc.m_textClip.reset();
        m_clip.reset();
    }
}

// Clipping every glyph costs more than drawing it: a text whose ink lies inside the rectangle
// is drawn unclipped, with the same pixels. One that stays inside from top to bottom is clipped
// to its column only, the same pixels again, which the texts under it can share.
void CPainterDC::DrawLayout(const TextLayout& layout, const RECT& rc, UINT format, TextClip& clip) {
    const InkFit fit = (format & DT_NOCLIP) != 0 ? InkFit{} : FitOf(layout, rc);
    if (fit.across && fit.down) {
        clip.Keep(ToQRect(rc));
    } else if (fit.down) {
        clip.To(QRect(rc.left, -kFarAway, rc.Width(), 2 * kFarAway));
    } else {
        clip.To(ToQRect(rc));
    }
    for (const TextLine& line : layout.lines) {
        DrawLine(line, (format & DT_NOPREFIX) == 0);
    }
}

int CPainterDC::DrawText(std::string_view text, RECT& rc, UINT format) {
    const TextLayout layout = LayoutText(Metrics(), text, rc, format);
    if ((format & DT_CALCRECT) != 0) {
        rc = layout.extent;
        return layout.result;
    }
    const PaintScope scope(*this);
    if (scope.Active()) {
        TextClip clip(*this);
        DrawLayout(layout, rc, format, clip);
    }
    return layout.result;
}

void CPainterDC::DrawTexts(const std::vector<PlacedText>& texts, UINT format) {
    const PaintScope scope(*this);
    if (!scope.Active() || (format & DT_CALCRECT) != 0) {
        return;
    }
    TextClip clip(*this);
    for (const PlacedText& placed : texts) {
        DrawLayout(LayoutText(Metrics(), placed.text, placed.rc, format), placed.rc, format, clip);
    }
}

void CPainterDC::TextOut(int x, int y, std::string_view text) {
    const PaintScope scope(*this);
    if (!scope.Active()) {
        return;
    }
    TextLine line;
    line.text = std::string(text);
    line.x = x;
    line.y = y;
    line.width = Metrics().Advance(text);
    DrawLine(line, false);
}

void CPainterDC::DrawLine(const TextLine& line, bool underlineMnemonics) {
    const CTextMetrics& metrics = Metrics();
    if (m_bkMode == OPAQUE) {
        Fill(line.x, line.y, line.width, metrics.LineHeight(), m_bkColor);
    }
    const int baseline = line.y + metrics.Ascent();
    const CTextMetrics::Impl::Shaped& shaped = metrics.impl().Shape(line.text);
    m_painter.setPen(ToQColor(m_textColor));
    const QPointF origin(line.x, baseline - shaped.ascent);
    // A pixel of margin around the ink for antialiasing.
    if (MeetsClip(shaped.ink.translated(origin).toAlignedRect().adjusted(-1, -1, 1, 1))) {
        if (!DrawInk(origin, shaped)) {
            for (const QGlyphRun& run : shaped.glyphs) {
                m_painter.drawGlyphRun(origin, run);
            }
        }
    }
    if (!underlineMnemonics) {
        return;
    }
    const std::string_view shown = line.text;
    for (const std::size_t offset : line.mnemonics) {
        const int x = line.x + metrics.Advance(shown.substr(0, offset));
        const int width = metrics.Advance(shown.substr(offset, Utf8CharLength(shown, offset)));
        Fill(x, baseline + metrics.UnderlinePosition(), width, metrics.UnderlineThickness(),
             m_textColor);
    }
}

SIZE CPainterDC::GetTextExtentPoint32(std::string_view text) {
    return SIZE{Metrics().Advance(text), Metrics().LineHeight()};
}

int CPainterDC::GetTextHeight() {
    return Metrics().LineHeight();
}

void CPainterDC::DrawEdge(const RECT& rc, UINT edge, UINT flags) {
    const PaintScope scope(*this);
    if (!scope.Active()) {
        return;
    }
    if ((edge & BDR_RAISEDOUTER) != 0) {
        DrawEdgeRing(rc, flags, COLOR_3DLIGHT, COLOR_3DDKSHADOW);
    } else if ((edge & BDR_SUNKENOUTER) != 0) {
        DrawEdgeRing(rc, flags, COLOR_3DSHADOW, COLOR_3DHILIGHT);
    }
    const RECT inner = Deflated(rc, flags);
    if ((edge & BDR_RAISEDINNER) != 0) {
        DrawEdgeRing(inner, flags, COLOR_3DHILIGHT, COLOR_3DSHADOW);
    } else if ((edge & BDR_SUNKENINNER) != 0) {
        DrawEdgeRing(inner, flags, COLOR_3DDKSHADOW, COLOR_3DLIGHT);
    }
}

// Top and left first, so that the bottom and right lines own the corners they share with them.
void CPainterDC::DrawEdgeRing(const RECT& rc, UINT flags, COLORREF topLeft, COLORREF bottomRight) {
    if (IsRectEmpty(rc)) {
        return;
    }
    if ((flags & BF_TOP) != 0) {
        Fill(rc.left, rc.top, rc.Width(), 1, topLeft);
    }
    if ((flags & BF_LEFT) != 0) {
        Fill(rc.left, rc.top, 1, rc.Height(), topLeft);
    }
    if ((flags & BF_BOTTOM) != 0) {
        Fill(rc.left, rc.bottom - 1, rc.Width(), 1, bottomRight);
    }
    if ((flags & BF_RIGHT) != 0) {
        Fill(rc.right - 1, rc.top, 1, rc.Height(), bottomRight);
    }
}

// Every other pixel of the frame, counted from the top-left one, is inverted; devices without
// raster operations (paper) get the same dots in black.
void CPainterDC::DrawFocusRect(const RECT& rc) {
    const PaintScope scope(*this);
    if (!scope.Active() || IsRectEmpty(rc)) {
        return;
    }
    m_painter.save();
    const bool canInvert = m_painter.paintEngine()->hasFeature(QPaintEngine::RasterOpModes);
    if (canInvert) {
        m_painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    }
    // A checkerboard brush anchored at the top-left pixel dots the four sides in four fills.
    const QBrush dots(canInvert ? Qt::white : Qt::black, Qt::Dense4Pattern);
    m_painter.setBrushOrigin(rc.left + kFocusPatternPhase, rc.top);
    const int width = rc.Width();
    const int height = rc.Height();
    m_painter.fillRect(QRect(rc.left, rc.top, width, 1), dots);
    if (height > 1) {
        m_painter.fillRect(QRect(rc.left, rc.bottom - 1, width, 1), dots);
    }
    if (height > 2) {
        m_painter.fillRect(QRect(rc.left, rc.top + 1, 1, height - 2), dots);
        if (width > 1) {
            m_painter.fillRect(QRect(rc.right - 1, rc.top + 1, 1, height - 2), dots);
        }
    }
    m_painter.restore();
}

// Only SRCCOPY is supported; the part of the source rectangle outside its bitmap copies nothing.
void CPainterDC::BitBlt(int x, int y, int width, int height, CDC& source, int xSrc, int ySrc,
                        UINT rop) {
    const CBitmap* bitmap = source.GetBitmap();
    if (bitmap == nullptr || rop != SRCCOPY) {
        return;
    }
    const QImage& image = bitmap->impl().image;
    const QRect area = QRect(xSrc, ySrc, width, height) & image.rect();
    if (area.isEmpty()) {
        return;
    }
    const PaintScope scope(*this);
    if (!scope.Active()) {
        return;
    }
    m_painter.save();
    m_painter.setCompositionMode(QPainter::CompositionMode_Source);
    const QPoint target(x + area.x() - xSrc, y + area.y() - ySrc);
    // Only a transfer within this context's own image needs a copy first; another image is
    // drawn from where it is.
    if (Device() == &image) {
        m_painter.drawImage(target, image.copy(area));
    } else {
        m_painter.drawImage(target, image, area);
    }
    m_painter.restore();
}

int CPainterDC::GetDeviceCaps(int index) const {
    switch (index) {
        case LOGPIXELSX:
        case LOGPIXELSY:
            return m_logPixels;
        case HORZRES:
            return Device() != nullptr ? Device()->width() : 0;
        case VERTRES:
            return Device() != nullptr ? Device()->height() : 0;
        default:
            return 0;
    }
}

COLORREF CPainterDC::SetTextColor(COLORREF color) {
    return std::exchange(m_textColor, color);
}

COLORREF CPainterDC::SetBkColor(COLORREF color) {
    return std::exchange(m_bkColor, color);
}

int CPainterDC::SetBkMode(int mode) {
    return std::exchange(m_bkMode, mode);
}

CFont CPainterDC::SelectFont(const CFont& font) {
    if (font != m_font) {
        m_metrics.reset();
    }
    return std::exchange(m_font, font);
}

CPen CPainterDC::SelectPen(const CPen& pen) {
    return std::exchange(m_pen, pen);
}

void CPainterDC::SetClipRect(const RECT& rc) {
    if (IsRectEmpty(rc)) {
        m_clip.reset();
    } else {
        m_clip = ToQRect(rc);
    }
    if (!m_painter.isActive()) {
        return;
    }
    if (m_clip) {
        m_painter.setClipRect(*m_clip);
    } else {
        m_painter.setClipping(false);
    }
}

// Qt's ellipse in a w x h box reaches one pixel further than the box, so the box is one
// smaller: the outline stays inside the exclusive right and bottom edges.
void CPainterDC::Ellipse(const RECT& rc) {
    const PaintScope scope(*this);
    if (!scope.Active() || IsRectEmpty(rc)) {
        return;
    }
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    if (m_pen.style == PS_NULL) {
        m_painter.setPen(Qt::NoPen);
    } else {
        m_painter.setPen(QPen(ToQColor(m_pen.color), std::max(1, m_pen.width)));
    }
    m_painter.setBrush(Qt::white);
    m_painter.drawEllipse(QRect(rc.left, rc.top, rc.Width() - 1, rc.Height() - 1));
    m_painter.restore();
}
