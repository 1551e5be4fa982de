// Painting of the form: the whole form composed off-screen and copied in one transfer, and
// single items drawn straight into the window when they change.
#include <memory>

#include "controls/common/design_item_paint.h"
#include "controls/form/form_ctrl.h"

namespace {

// Puts an item's own colours back when the highlighted drawing is done, however it ends.
class CHighlightColors {
  public:
    CHighlightColors(DesignItem& item, COLORREF back, COLORREF text)
        : m_item(item), m_back(item.backColor), m_text(item.textColor) {
        item.backColor = static_cast<std::int32_t>(back);
        item.textColor = static_cast<std::int32_t>(text);
    }
    CHighlightColors(const CHighlightColors&) = delete;
    CHighlightColors& operator=(const CHighlightColors&) = delete;
    ~CHighlightColors() {
        m_item.backColor = m_back;
        m_item.textColor = m_text;
    }

  private:
    DesignItem& m_item;
    std::int32_t m_back;
    std::int32_t m_text;
};

}  // namespace

void CQORFormCtrl::OnDraw(CDC& dc, const RECT& bounds, const RECT& /*invalid*/) {
    const int width = bounds.Width();
    const int height = bounds.Height();
    if (width <= 0 || height <= 0) {
        return;
    }
    const std::unique_ptr<CDC> memory = m_offscreen.Begin(width, height);
    if (memory == nullptr) {
        return;
    }
    DrawItems(*memory, bounds);
    // Typing goes to the current field, so every paint shows which one that is.
    if (IsColumnIndex(m_currentField)) {
        HighlightField(*memory, static_cast<std::size_t>(m_currentField));
    }
    dc.BitBlt(bounds.left, bounds.top, width, height, *memory, 0, 0, SRCCOPY);
}

void CQORFormCtrl::DrawItems(CDC& dc, const RECT& clip) {
    ItemPaintOptions options;
    options.formBackground = m_formBackgroundColor;
    DrawDesignItems(dc, m_items, clip, options);
}

void CQORFormCtrl::DrawItemNow(std::size_t index) {
    if (HasWindow()) {
        CClientDC dc(this);
        DrawItems(*dc, m_items[index].rect);
    }
}

void CQORFormCtrl::HighlightField(std::size_t index) {
    if (HasWindow()) {
        CClientDC dc(this);
        HighlightField(*dc, index);
    }
}

void CQORFormCtrl::HighlightField(CDC& dc, std::size_t index) {
    const CHighlightColors highlight(m_items[index], m_highlightedFieldBkColor,
                                     m_highlightedFieldTextColor);
    DrawItems(dc, m_items[index].rect);
}

void CQORFormCtrl::RedrawForm() {
    if (HasWindow()) {
        RedrawWindow(nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
}

void CQORFormCtrl::SetFormColors(COLORREF FormBackgroundColor, COLORREF HighlightedFieldBkColor,
                                 COLORREF HighlightedFieldTextColor) {
    m_formBackgroundColor = FormBackgroundColor;
    m_highlightedFieldBkColor = HighlightedFieldBkColor;
    m_highlightedFieldTextColor = HighlightedFieldTextColor;
    RedrawForm();
}
