// The canvas's commands: the context menu with Properties, Duplicate and Delete, and the Edit
// and Format menus on the selection, each change one step of the history.
#include <algorithm>

#include "designer/canvas_editor.h"
#include "designer/column_properties_dlg.h"
#include "designer/design_clipboard.h"
#include "designer/resources.h"
#include "platform/ui/menu.h"

namespace {
// Pasted items land this far below and right of the copied ones, once more for each paste.
constexpr int kPasteStep = 10;
}  // namespace

void CCanvasEditor::OnRButtonDown(POINT point) {
    const int hit = HitTest(m_document.Items(), point);
    if (hit < 0) {
        return;
    }
    m_contextItem = hit;
    CMenu menu;
    if (!menu.LoadMenu(IDR_CONTEXTMENU)) {
        return;
    }
    if (CMenu* popup = menu.GetSubMenu(0)) {
        CWnd& window = m_canvas.Window();
        window.ClientToScreen(point);
        popup->TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, &window);
    }
}

bool CCanvasEditor::ContextItemValid() const {
    return m_contextItem >= 0 && static_cast<std::size_t>(m_contextItem) < m_document.Count();
}

void CCanvasEditor::EditProperties() {
    if (!ContextItemValid()) {
        return;
    }
    const auto index = static_cast<std::size_t>(m_contextItem);
    DesignItem item = m_document.Item(index);
    CDamagedArea damage;
    damage.Add(item);
    CColumnPropertiesDlg dialog(&m_canvas.Window());
    const bool ok = dialog.EditItem(&item);
    // Colours chosen before a Cancel stay in the item, and are a change of it all the same.
    {
        const CEditStep step(m_document, "Properties");
        m_document.Replace(index, item);
    }
    if (ok) {
        damage.Add(item);
        m_canvas.Repaint(damage);
    }
}

void CCanvasEditor::DuplicateItem() {
    if (!ContextItemValid() || !m_document.HasRoomFor(1)) {
        return;
    }
    const DesignItem& source = m_document.Item(static_cast<std::size_t>(m_contextItem));
    DesignItem copy = ::DuplicateItem(source, Client(), m_document.GetDesign());
    CDamagedArea damage;
    damage.Add(copy);
    const std::size_t position = DuplicatePosition(copy, m_document.Count());
    {
        const CEditStep step(m_document, "Duplicate");
        m_document.InsertAt(position, std::move(copy));
    }
    m_canvas.Repaint(damage);
}

void CCanvasEditor::DeleteItem() {
    if (!ContextItemValid()) {
        return;
    }
    const auto index = static_cast<std::size_t>(m_contextItem);
    CDamagedArea damage;
    damage.Add(m_document.Item(index));
    {
        const CEditStep step(m_document, "Delete");
        m_document.Erase({index});
    }
    m_canvas.Repaint(damage);
}

void CCanvasEditor::ShowDamage(const EditDamage& damage) {
    if (damage.background) {
        m_canvas.RepaintAll();
    } else {
        m_canvas.Repaint(damage.area);
    }
}

void CCanvasEditor::Undo() {
    EndDrag();
    ShowDamage(m_document.Undo());
}

void CCanvasEditor::Redo() {
    EndDrag();
    ShowDamage(m_document.Redo());
}

std::vector<std::size_t> CCanvasEditor::SelectedPositions() const {
    std::vector<std::size_t> positions;
    for (std::size_t i = 0; i < m_document.Count(); ++i) {
        if (m_document.Item(i).selected) {
            positions.push_back(i);
        }
    }
    return positions;
}

void CCanvasEditor::Copy() {
    std::vector<DesignItem> items;
    for (const std::size_t i : SelectedPositions()) {
        items.push_back(m_document.Item(i));
    }
    if (items.empty()) {
        return;
    }
    SetClipboardData(ClipboardFormatsOf(items));
    m_pasteOffset = kPasteStep;
}

void CCanvasEditor::Cut() {
    const std::vector<std::size_t> positions = SelectedPositions();
    if (positions.empty()) {
        return;
    }
    Copy();
    // The cut items are gone, so the first paste puts them back where they were.
    m_pasteOffset = 0;
    CDamagedArea damage;
    for (const std::size_t i : positions) {
        damage.Add(m_document.Item(i));
    }
    {
        const CEditStep step(m_document, "Cut");
        m_document.Erase(positions);
    }
    m_canvas.Repaint(damage);
}

void CCanvasEditor::Paste() {
    const auto data = GetClipboardData(kDesignItemsMimeType);
    if (!data) {
        return;
    }
    std::vector<DesignItem> items = ItemsFromClipboardData(*data);
    if (items.empty()) {
        return;
    }
    // A design beyond the file's record limit could be saved but never opened again.
    if (!m_document.HasRoomFor(items.size())) {
        MessageBeep(MB_OK);
        return;
    }
    const int offset = m_pasteOffset;
    m_pasteOffset = std::min(m_pasteOffset + kPasteStep, kCoordinateLimit);
    PreparePastedItems(items, offset, Client(), NextTabOrder(m_document.GetDesign()));
    CDamagedArea damage;
    DeselectAll(damage);
    for (const DesignItem& item : items) {
        damage.Add(item);
    }
    {
        const CEditStep step(m_document, "Paste");
        m_document.InsertAll(std::move(items));
    }
    m_canvas.Repaint(damage);
}

void CCanvasEditor::SelectAll() {
    CDamagedArea damage;
    for (std::size_t i = 0; i < m_document.Count(); ++i) {
        if (m_document.SetSelected(i, true)) {
            damage.Add(m_document.Item(i));
        }
    }
    m_canvas.Repaint(damage);
}

void CCanvasEditor::Format(FormatCommand command) {
    const std::vector<std::size_t> positions = SelectedPositions();
    std::vector<RECT> rects;
    rects.reserve(positions.size());
    for (const std::size_t i : positions) {
        rects.push_back(m_document.Item(i).rect);
    }
    const std::vector<RECT> formatted = FormatRects(command, rects, Client());
    CDamagedArea damage;
    {
        const CEditStep step(m_document, FormatStepName(command));
        for (std::size_t k = 0; k < positions.size(); ++k) {
            DesignItem item = m_document.Item(positions[k]);
            damage.Add(item);
            item.rect = formatted[k];
            damage.Add(item);
            m_document.Replace(positions[k], item);
        }
    }
    m_canvas.Repaint(damage);
}

void CCanvasEditor::SetBackgroundColor(COLORREF color) {
    {
        const CEditStep step(m_document, "Background Color");
        m_document.SetBackgroundColor(color);
    }
    m_canvas.RepaintAll();
}
