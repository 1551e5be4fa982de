// The image behind a CBitmap, for the code that paints it onto a widget or draws into it.
#pragma once

#include <QImage>

#include "platform/gdi/dc.h"

// Always QImage::Format_RGB32 at 96 dots per inch.
struct CBitmap::Impl {
    QImage image;
};
