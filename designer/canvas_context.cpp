// The canvas's context menu and its commands: Properties, Duplicate and Delete.
#include "designer/column_properties_dlg.h"
#include "designer/main_frame.h"
#include "designer/resources.h"
#include "platform/ui/menu.h"

void CMainFrame::OnRButtonDown(UINT /*flags*/, POINT point) {
    if (m_previewMode) {
        return;
    }
    const int hit = HitTest(point);
    if (hit < 0) {
        return;
    }
    m_contextItem = hit;
    CMenu menu;
    if (!menu.LoadMenu(IDR_CONTEXTMENU)) {
        return;
    }
    if (CMenu* popup = menu.GetSubMenu(0)) {
        ClientToScreen(point);
        popup->TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, this);
    }
}

bool CMainFrame::ContextItemValid() const {
    return !m_previewMode && m_contextItem >= 0 &&
           static_cast<size_t>(m_contextItem) < m_design.Items().size();
}

void CMainFrame::OnContextProperties() {
    if (!ContextItemValid()) {
        return;
    }
    DesignItem& item = m_design.Items()[static_cast<size_t>(m_contextItem)];
    const RECT before = item.rect;
    CColumnPropertiesDlg dialog(this);
    if (dialog.EditItem(&item)) {
        RECT changed;
        UnionRect(changed, before, item.rect);
        RepaintRect(changed);
    }
}

void CMainFrame::OnContextDuplicate() {
    if (!ContextItemValid()) {
        return;
    }
    const DesignItem& source = m_design.Items()[static_cast<size_t>(m_contextItem)];
    DesignItem copy = DuplicateItem(source, GetClientRect(), m_design);
    const RECT area = copy.rect;
    InsertDuplicate(m_design, std::move(copy));
    RepaintRect(area);
}

void CMainFrame::OnContextDelete() {
    if (!ContextItemValid()) {
        return;
    }
    auto& items = m_design.Items();
    const auto position = items.begin() + m_contextItem;
    const RECT area = position->rect;
    items.erase(position);
    RepaintRect(area);
}
