// Keeping a control's off-screen bitmap while its size stays.
#include "controls/common/offscreen_surface.h"

std::unique_ptr<CDC> COffscreenSurface::Begin(int width, int height) {
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    if (!m_bitmap || m_bitmap->Width() != width || m_bitmap->Height() != height) {
        m_bitmap = std::make_unique<CBitmap>(width, height);
    }
    return CreateBitmapDC(*m_bitmap);
}
