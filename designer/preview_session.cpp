// Preview mode: switching it on and off, the current field, Tab and Shift+Tab, typing, the
// record keys, and committing what was written. The texts it gives the columns are no step of
// the design's history.
#include "designer/preview_session.h"

#include <utility>

#include "controls/common/field_typing.h"
#include "designer/canvas_rules.h"
#include "designer/preview_navigation.h"
#include "platform/dialogs/dialog_service.h"

namespace {

constexpr char kCommitFailedCaption[] = "Unable to commit changes to database";

std::string PreviewConnectionString() {
    return "DSN=" + std::string(kPreviewDataSourceName);
}

}  // namespace

CPreviewSession::CPreviewSession(CDesignDocument& document, ICanvasWindow& canvas)
    : m_document(document), m_canvas(canvas) {}

void CPreviewSession::Toggle() {
    if (m_on) {
        Stop();
    } else {
        Start();
    }
}

void CPreviewSession::Start() {
    if (!m_document.IsLoaded()) {
        AfxMessageBox(&m_canvas.Window(), "No design is currently being edited", "Warning", MB_OK);
        return;
    }
    const int first = FirstField(m_document.GetDesign());
    if (first < 0) {
        return;
    }
    m_on = true;
    m_currentField = first;
    m_currentTabOrder = m_document.Item(static_cast<std::size_t>(first)).tabOrder;
    // A connection left open by New or Open goes on with its transaction and its record.
    if (!m_binding.IsConnected()) {
        Connect();
    }
    m_canvas.RepaintAll();
}

void CPreviewSession::Connect() {
    if (!m_binding.Connect(PreviewConnectionString(), m_document.RecordSource())) {
        AfxMessageBox(&m_canvas.Window(), m_binding.ErrorMessage(), "", MB_OK);
        return;
    }
    FillColumns();
}

void CPreviewSession::Stop() {
    m_on = false;
    m_binding.Disconnect();
    m_canvas.RepaintAll();
}

void CPreviewSession::Commit() {
    if (m_binding.IsConnected() && !m_binding.Commit()) {
        AfxMessageBox(&m_canvas.Window(), m_binding.ErrorMessage(), kCommitFailedCaption, MB_OK);
    }
}

const DesignItem* CPreviewSession::HighlightedField() const {
    if (!m_on || m_currentField < 0 ||
        static_cast<std::size_t>(m_currentField) >= m_document.Count()) {
        return nullptr;
    }
    const DesignItem& item = m_document.Item(static_cast<std::size_t>(m_currentField));
    return item.kind == kColumn ? &item : nullptr;
}

void CPreviewSession::SetCurrentField(int index) {
    if (index != m_currentField) {
        RestoreUnwrittenText();
    }
    const DesignItem* previous = HighlightedField();
    const RECT before = previous != nullptr ? previous->rect : RECT{};
    m_currentField = index;
    m_canvas.RepaintRect(before);
    if (const DesignItem* current = HighlightedField()) {
        m_canvas.RepaintRect(current->rect);
    }
}

void CPreviewSession::OnLButtonDown(POINT point) {
    const int hit = HitTest(m_document.Items(), point);
    if (hit < 0 || m_document.Item(static_cast<std::size_t>(hit)).kind != kColumn) {
        return;
    }
    m_currentTabOrder = m_document.Item(static_cast<std::size_t>(hit)).tabOrder;
    SetCurrentField(hit);
}

void CPreviewSession::OnKeyDown(UINT vk) {
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

void CPreviewSession::TabToField(bool backwards) {
    if (HighlightedField() == nullptr) {
        return;
    }
    const std::optional<std::int32_t> target =
        TabTarget(m_document.GetDesign(), m_currentTabOrder, backwards);
    if (!target) {
        return;
    }
    m_currentTabOrder = *target;
    const std::optional<std::size_t> index = FirstItemWithTabOrder(m_document.Items(), *target);
    if (index && m_document.Item(*index).kind == kColumn) {
        SetCurrentField(static_cast<int>(*index));
    }
}

void CPreviewSession::MoveToRecord(RecordMove move) {
    if (!m_binding.IsConnected()) {
        return;
    }
    RestoreUnwrittenText();
    // Moving beyond either end is allowed; the columns then keep their texts, since the fields
    // of no record can be read.
    m_binding.Move(move);
    FillColumns();
}

bool CPreviewSession::ReadColumn(std::size_t index) {
    DesignItem column = m_document.Item(index);
    if (!m_binding.ReadField(column)) {
        return false;
    }
    m_document.SetColumnText(index, std::move(column.text));
    return true;
}

// The filled columns are repainted together: one repaint each would redraw every item over
// each of them, the square of their number for items piled on one another. Filling stops at
// the first field that cannot be read, keeping what was filled so far.
void CPreviewSession::FillColumns() {
    CDamagedArea damage;
    for (std::size_t i = 0; i < m_document.Count(); ++i) {
        const DesignItem& item = m_document.Item(i);
        if (item.kind != kColumn || !m_binding.HasField(item.name)) {
            continue;
        }
        if (!ReadColumn(i)) {
            break;
        }
        damage.Add(m_document.Item(i));
    }
    m_canvas.Repaint(damage);
}

void CPreviewSession::OnChar(UINT ch) {
    if (HighlightedField() == nullptr) {
        return;
    }
    const auto index = static_cast<std::size_t>(m_currentField);
    DesignItem column = m_document.Item(index);
    const bool accepted = TypeIntoField(column, DesignerTypingRule(column.editStyle), ch);
    if (accepted) {
        m_textUnwritten = m_binding.IsConnected() && m_binding.WriteField(column);
    }
    // Mask characters passed on the way stay even when the character is refused.
    m_document.SetColumnText(index, std::move(column.text));
    if (accepted) {
        m_canvas.RepaintRect(m_document.Item(index).rect);
    }
}

void CPreviewSession::RestoreUnwrittenText() {
    if (!std::exchange(m_textUnwritten, false) || HighlightedField() == nullptr) {
        return;
    }
    const auto index = static_cast<std::size_t>(m_currentField);
    if (m_binding.IsConnected() && ReadColumn(index)) {
        m_canvas.RepaintRect(m_document.Item(index).rect);
    }
}
