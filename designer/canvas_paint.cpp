// Drawing of the design on the canvas, in editing or preview mode.
#include "controls/common/design_item_paint.h"
#include "designer/main_frame.h"

ItemPaintOptions CMainFrame::PaintOptions() const {
    return {m_formBackgroundColor, !m_previewMode, true};
}

void CMainFrame::PaintDesign(CDC& dc, const RECT& area) {
    DrawDesignItems(dc, m_design.Items(), area, PaintOptions());
}
