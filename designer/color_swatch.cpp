// The colour swatch's painting.
#include "designer/color_swatch.h"

namespace {
// An item's -1 means "the form's background": the swatch shows the dialog face crossed out,
// since it cannot know which background the form will have.
constexpr COLORREF kNoColor = 0xFFFFFFFF;
constexpr COLORREF kFace = 0x00C0C0C0;
}  // namespace

void CColorSwatch::SetColor(COLORREF color) {
    m_color = color;
    if (IsWindow()) {
        RedrawWindow(nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
}

void CColorSwatch::OnPaint(CDC& dc) {
    const RECT client = GetClientRect();
    if (m_color != kNoColor) {
        dc.FillSolidRect(client, m_color);
        return;
    }
    dc.FillSolidRect(client, kFace);
    dc.MoveTo(client.left, client.top);
    dc.LineTo(client.right, client.bottom);
}
