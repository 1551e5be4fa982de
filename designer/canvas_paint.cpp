// Drawing of the design on the canvas, in editing or preview mode.
#include "controls/common/design_item_paint.h"
#include "designer/main_frame.h"

ItemPaintOptions CMainFrame::PaintOptions() const {
    return {m_document.BackgroundColor(), !m_preview.IsOn(), true};
}

void CMainFrame::OnPaint(CDC& dc) {
    PaintDesign(dc, GetClientRect());
}

void CMainFrame::PaintDesign(CDC& dc, const RECT& area) {
    DrawDesignItems(dc, m_document.Items(), area, PaintOptions());
    // The current field is drawn from a copy in the highlight colours; its own stay stored.
    const DesignItem* field = m_preview.HighlightedField();
    RECT common;
    if (field != nullptr && IntersectRect(common, field->rect, area)) {
        DesignItem highlighted = *field;
        highlighted.textColor =
            static_cast<std::int32_t>(CPreviewSession::kHighlightedFieldTextColor);
        highlighted.backColor =
            static_cast<std::int32_t>(CPreviewSession::kHighlightedFieldBkColor);
        DrawDesignItem(dc, highlighted, PaintOptions());
    }
}
