// Preview mode: switching it on and off, the current field, Tab and Shift+Tab, typing, the
// record keys, and committing what was written.
#include <utility>

#include "controls/common/field_typing.h"
#include "designer/main_frame.h"
#include "platform/dialogs/dialog_service.h"

namespace {

constexpr char kCommitFailedCaption[] = "Unable to commit changes to database";

std::string PreviewConnectionString() {
    return "DSN=" + std::string(kPreviewDataSourceName);
}

}  // namespace

void CMainFrame::OnPreview() {
    if (m_previewMode) {
        StopPreview();
    } else {
        StartPreview();
    }
}

void CMainFrame::StartPreview() {
    if (!m_designLoaded) {
        AfxMessageBox(this, "No design is currently being edited", "Warning", MB_OK);
        return;
    }
    const int first = FirstField(m_design);
    if (first < 0) {
        return;
    }
    m_previewMode = true;
    m_currentField = first;
    m_currentTabOrder = m_design.Items()[static_cast<std::size_t>(first)].tabOrder;
    // A connection left open by New or Open goes on with its transaction and its record.
    if (!m_binding.IsConnected()) {
        ConnectPreview();
    }
    RepaintAll();
}

void CMainFrame::ConnectPreview() {
    if (!m_binding.Connect(PreviewConnectionString(), m_recordSource)) {
        AfxMessageBox(this, m_binding.ErrorMessage(), "", MB_OK);
        return;
    }
    FillColumns();
}

void CMainFrame::StopPreview() {
    m_previewMode = false;
    m_binding.Disconnect();
    RepaintAll();
}

void CMainFrame::OnDestroy() {
    m_binding.Disconnect();
}

void CMainFrame::CommitPreview() {
    if (m_binding.IsConnected() && !m_binding.Commit()) {
        AfxMessageBox(this, m_binding.ErrorMessage(), kCommitFailedCaption, MB_OK);
    }
}

const DesignItem* CMainFrame::HighlightedField() const {
    const auto& items = m_design.Items();
    if (!m_previewMode || m_currentField < 0 ||
        static_cast<std::size_t>(m_currentField) >= items.size()) {
        return nullptr;
    }
    const DesignItem& item = items[static_cast<std::size_t>(m_currentField)];
    return item.kind == kColumn ? &item : nullptr;
}

void CMainFrame::SetCurrentField(int index) {
    if (index != m_currentField) {
        RestoreUnwrittenText();
    }
    const DesignItem* previous = HighlightedField();
    const RECT before = previous != nullptr ? previous->rect : RECT{};
    m_currentField = index;
    RepaintRect(before);
    if (const DesignItem* current = HighlightedField()) {
        RepaintRect(current->rect);
    }
}

void CMainFrame::ChooseFieldAt(POINT point) {
    const int hit = HitTest(point);
    if (hit < 0 || m_design.Items()[static_cast<std::size_t>(hit)].kind != kColumn) {
        return;
    }
    m_currentTabOrder = m_design.Items()[static_cast<std::size_t>(hit)].tabOrder;
    SetCurrentField(hit);
}

void CMainFrame::PreviewKeyDown(UINT vk) {
    switch (vk) {
        case VK_TAB:
            TabToField(GetKeyState(VK_SHIFT) < 0);
            break;
        case VK_NEXT:
            MoveToRecord(RecordMove::Next);
            break;
        case VK_PRIOR:
            MoveToRecord(RecordMove::Previous);
            break;
        case VK_HOME:
            MoveToRecord(RecordMove::First);
            break;
        case VK_END:
            MoveToRecord(RecordMove::Last);
            break;
        default:
            break;
    }
}

void CMainFrame::TabToField(bool backwards) {
    if (HighlightedField() == nullptr) {
        return;
    }
    const std::optional<std::int32_t> target = TabTarget(m_design, m_currentTabOrder, backwards);
    if (!target) {
        return;
    }
    m_currentTabOrder = *target;
    const std::optional<std::size_t> index = FirstItemWithTabOrder(m_design.Items(), *target);
    if (index && m_design.Items()[*index].kind == kColumn) {
        SetCurrentField(static_cast<int>(*index));
    }
}

void CMainFrame::MoveToRecord(RecordMove move) {
    if (!m_binding.IsConnected()) {
        return;
    }
    RestoreUnwrittenText();
    // Moving beyond either end is allowed; the columns then keep their texts, since the fields
    // of no record can be read.
    m_binding.Move(move);
    FillColumns();
}

// The filled columns are repainted together: one repaint each would redraw every item over
// each of them, the square of their number for items piled on one another.
void CMainFrame::FillColumns() {
    RECT changed{};
    for (const std::size_t index : m_binding.FillColumns(m_design)) {
        UnionRect(changed, changed, m_design.Items()[index].rect);
    }
    RepaintRect(changed);
}

void CMainFrame::OnChar(UINT ch, UINT /*repeat*/, UINT /*flags*/) {
    if (m_previewMode) {
        TypeIntoCurrentField(ch);
    }
}

void CMainFrame::TypeIntoCurrentField(UINT ch) {
    if (HighlightedField() == nullptr) {
        return;
    }
    DesignItem& column = m_design.Items()[static_cast<std::size_t>(m_currentField)];
    if (!TypeIntoField(column, DesignerTypingRule(column.editStyle), ch)) {
        return;
    }
    m_textUnwritten = m_binding.IsConnected() && m_binding.WriteField(column);
    RepaintRect(column.rect);
}

void CMainFrame::RestoreUnwrittenText() {
    if (!std::exchange(m_textUnwritten, false) || HighlightedField() == nullptr) {
        return;
    }
    DesignItem& column = m_design.Items()[static_cast<std::size_t>(m_currentField)];
    if (m_binding.IsConnected() && m_binding.ReadField(column)) {
        RepaintRect(column.rect);
    }
}
