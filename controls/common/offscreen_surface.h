// The off-screen bitmap a control composes its picture in, kept from paint to paint.
#pragma once

#include <memory>

#include "platform/gdi/dc.h"

// A new bitmap on every paint costs more than the drawing into it (its pages are fresh each
// time), so the bitmap stays while its size does; each paint gets a context of its own, so no
// drawing state carries over from the last one.
class COffscreenSurface {
  public:
    // A context drawing into the kept bitmap of that size, which still holds the last picture;
    // null when the size is empty.
    std::unique_ptr<CDC> Begin(int width, int height);
    const CBitmap& Bitmap() const { return *m_bitmap; }

  private:
    std::unique_ptr<CBitmap> m_bitmap;
};
