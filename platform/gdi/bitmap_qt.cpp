// Off-screen bitmaps over QImage and the device context that draws into them.
#include "platform/gdi/bitmap_qt.h"

#include <QPainter>
#include <algorithm>
#include <utility>

#include "platform/gdi/color_qt.h"
#include "platform/gdi/painter_dc_qt.h"

namespace {

constexpr int kScreenLogPixels = 96;

QImage MakeImage(int width, int height, COLORREF fill) {
    QImage image(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32);
    // Dots per meter, so that the image reports the screen's 96 dpi to painters and fonts.
    const int dotsPerMeter = qRound(kScreenLogPixels / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(ToQRgb(fill));
    return image;
}

}  // namespace

CBitmap::Impl::~Impl() {
    ReleasePainter();
}

void CBitmap::Impl::ReleasePainter() {
    if (painter != nullptr) {
        std::exchange(painter, nullptr)->EndBitmapPaint();
    }
}

CBitmap::CBitmap(int width, int height, COLORREF fill)
    : m_impl(std::make_unique<Impl>(MakeImage(width, height, fill))) {}

// A moved-from bitmap stays usable as an empty one.
CBitmap::CBitmap(CBitmap&& other) noexcept
    : m_impl(std::exchange(other.m_impl, std::make_unique<Impl>())) {}

CBitmap& CBitmap::operator=(CBitmap&& other) noexcept {
    if (this != &other) {
        m_impl = std::exchange(other.m_impl, std::make_unique<Impl>());
    }
    return *this;
}

CBitmap::~CBitmap() = default;

int CBitmap::Width() const {
    return m_impl->image.width();
}

int CBitmap::Height() const {
    return m_impl->image.height();
}

COLORREF CBitmap::GetPixel(int x, int y) const {
    if (!m_impl->image.valid(x, y)) {
        return CLR_INVALID;
    }
    return FromQRgb(m_impl->image.pixel(x, y));
}

void CBitmap::SetPixel(int x, int y, COLORREF color) {
    if (m_impl->image.valid(x, y)) {
        m_impl->image.setPixel(x, y, ToQRgb(color));
    }
}

void CBitmap::Resize(int width, int height, COLORREF fill) {
    if (width == Width() && height == Height()) {
        return;
    }
    m_impl->ReleasePainter();
    QImage resized = MakeImage(width, height, fill);
    if (!resized.isNull() && !m_impl->image.isNull()) {
        QPainter painter(&resized);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, m_impl->image);
    }
    m_impl->image = std::move(resized);
}

bool CBitmap::SavePng(const std::string& path) const {
    m_impl->ReleasePainter();
    return m_impl->image.save(QString::fromStdString(path), "PNG");
}

std::unique_ptr<CDC> CreateBitmapDC(CBitmap& bitmap) {
    return std::make_unique<CPainterDC>(bitmap, kScreenLogPixels);
}
