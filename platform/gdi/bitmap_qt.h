// The image behind a CBitmap, for the code that paints it onto a widget or draws into it.
#pragma once

#include <QImage>

#include "platform/gdi/dc.h"

class CPainterDC;

// Always QImage::Format_RGB32 at 96 dots per inch.
struct CBitmap::Impl {
    Impl() = default;
    explicit Impl(QImage initial) : image(std::move(initial)) {}
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;
    ~Impl();
    // Ends the painter open on the image, before the image is replaced or another context
    // paints it: an image takes one painter at a time.
    void ReleasePainter();

    QImage image;
    // The context whose painter is open on the image, kept open between its operations.
    CPainterDC* painter = nullptr;
};
