// Editing the grid: the caret with the focus, the navigation keys (paging a bound grid through its
// recordset), Tab, the mouse, typing under each edit style and writing a cell back to its record.
#include <algorithm>
#include <cctype>

#include "controls/common/column_field.h"
#include "controls/common/field_typing.h"
#include "controls/grid/grid_ctrl.h"
#include "platform/com/ansi_string.h"
#include "platform/dialogs/dialog_service.h"

namespace {

constexpr int kListPageStep = 10;
constexpr const char* kUpdateErrorCaption = "Error updating column";

bool IsNavigationKey(UINT vk) {
    switch (vk) {
        case VK_TAB:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_END:
        case VK_HOME:
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
            return true;
        default:
            return false;
    }
}

bool IsVerticalKey(UINT vk) {
    return vk == VK_UP || vk == VK_DOWN || vk == VK_PRIOR || vk == VK_NEXT;
}

bool IsAsciiAlnum(UINT ch) {
    return ch < 0x80 && std::isalnum(static_cast<int>(ch)) != 0;
}

// The item a list key reaches from index in a list of count items (count > 0).
int ListIndexAfterKey(UINT vk, int index, int count) {
    const int last = count - 1;
    switch (vk) {
        case VK_UP:
            return index <= 0 ? 0 : std::min(index - 1, last);
        case VK_DOWN:
            return index < 0 ? 0 : std::min(index + 1, last);
        case VK_PRIOR:
            return std::max(index - kListPageStep, 0);
        default:
            return index < 0 ? 0 : std::min(index + kListPageStep, last);
    }
}

}  // namespace

void CQORGridCtrl::OnSetFocus() {
    CreateSolidCaret(1, m_rowHeight);
    m_caretShown = false;
    // The caret shows where typing goes from the moment the grid has the keyboard.
    PaintCurrentCell(true);
}

void CQORGridCtrl::OnKillFocus() {
    // Leaving the grid leaves its cell: what was typed reaches the record now, not only when the
    // clerk comes back. A box here would fight over the focus, so a failure only beeps; the
    // typed text stays, and leaving the cell again shows why.
    if (WriteCurrentCell()) {
        MessageBeep(MB_OK);
    }
    if (m_caretShown) {
        HideCaret();
        m_caretShown = false;
    }
    DestroyCaret();
}

UINT CQORGridCtrl::OnGetDlgCode() {
    return DLGC_WANTALLKEYS;
}

bool CQORGridCtrl::PreTranslateKey(UINT vk, UINT modifiers) {
    if (!IsNavigationKey(vk)) {
        return false;
    }
    HandleNavigationKey(vk, (modifiers & FSHIFT) != 0);
    return true;
}

void CQORGridCtrl::OnKeyDown(UINT vk, UINT repeat, UINT flags) {
    if (IsNavigationKey(vk)) {
        HandleNavigationKey(vk, GetKeyState(VK_SHIFT) < 0);
    } else {
        COleControl::OnKeyDown(vk, repeat, flags);
    }
}

bool CQORGridCtrl::CurrentCellEditable() const {
    if (m_columns.empty() || !IsRow(m_currentRow) || m_currentRow < m_firstVisibleRow ||
        m_currentRow > m_lastVisibleRow || m_currentColumn < 0 ||
        static_cast<std::size_t>(m_currentColumn) >= m_columns.size()) {
        return false;
    }
    const auto col = static_cast<std::size_t>(m_currentColumn);
    return m_columns[col].editable &&
           col < m_rows[static_cast<std::size_t>(m_currentRow)].cells.size();
}

void CQORGridCtrl::CommitCurrentCell() {
    if (const std::optional<std::string> error = WriteCurrentCell()) {
        AfxMessageBox(this, *error, kUpdateErrorCaption);
    }
}

std::optional<std::string> CQORGridCtrl::WriteCurrentCell() {
    if (!m_bound || !m_recordset || !CurrentCellEditable()) {
        return std::nullopt;
    }
    const GridRow& row = m_rows[static_cast<std::size_t>(m_currentRow)];
    const GridColumn& column = m_columns[static_cast<std::size_t>(m_currentColumn)];
    if (!m_recordset->SetBookmark(row.bookmark) || !m_recordset->IsOpen()) {
        return std::nullopt;
    }
    const int field = m_recordset->FieldIndex(column.name);
    if (field < 0) {
        return std::nullopt;
    }
    const std::string& text = row.cells[static_cast<std::size_t>(m_currentColumn)].text;
    // A cell passed over unchanged is not written: moving through the grid neither turns a
    // null into an empty text nor saves a record per key press.
    std::string shown;
    if (ReadColumnText(*m_recordset, field, column.editMask, shown) && shown == text) {
        return std::nullopt;
    }
    const FieldWriteResult result = WriteColumnText(*m_recordset, field, column.editMask, text);
    if (result == FieldWriteResult::Written) {
        return std::nullopt;
    }
    std::string error(kNotHeldText);
    if (result == FieldWriteResult::Refused) {
        m_recordset->GetLastError(error);
    }
    return error;
}

void CQORGridCtrl::HandleNavigationKey(UINT vk, bool shift) {
    UpdateLayout();
    if (vk == VK_TAB) {
        if (shift) {
            TabBackward();
        } else {
            TabForward();
        }
        return;
    }
    const bool listColumn =
        static_cast<std::size_t>(m_currentColumn) < m_columns.size() &&
        m_columns[static_cast<std::size_t>(m_currentColumn)].editStyle == EditStyle::List;
    if (IsVerticalKey(vk) && listColumn) {
        ChangeListItem(vk);
    } else if (vk == VK_UP) {
        KeyUp();
    } else if (vk == VK_DOWN) {
        KeyDown();
    } else if (vk == VK_PRIOR) {
        KeyPageUp();
    } else if (vk == VK_NEXT) {
        KeyPageDown();
    } else if (vk == VK_HOME) {
        KeyHome();
    } else if (vk == VK_END) {
        KeyEnd();
    }
    PaintCurrentCell(true);
}

// The shown rows and columns the keys and the mouse work from are those of the last paint, so a
// pending paint (after binding, say) comes first.
void CQORGridCtrl::UpdateLayout() {
    if (HasWindow()) {
        UpdateWindow();
    }
}

void CQORGridCtrl::MoveCurrentCell(int row, int col) {
    PaintCurrentCell(false);
    m_currentRow = row;
    m_currentColumn = col;
    PaintCurrentCell(true);
}

void CQORGridCtrl::RepaintBody() {
    if (HasWindow()) {
        CClientDC dc(this);
        PaintBody(*dc);
    }
}

void CQORGridCtrl::ChangeListItem(UINT vk) {
    GridColumn& column = m_columns[static_cast<std::size_t>(m_currentColumn)];
    if (column.items.empty() || !CurrentCellEditable()) {
        return;
    }
    column.itemIndex =
        ListIndexAfterKey(vk, column.itemIndex, static_cast<int>(column.items.size()));
    GridRow& row = m_rows[static_cast<std::size_t>(m_currentRow)];
    row.cells[static_cast<std::size_t>(m_currentColumn)].text =
        column.items[static_cast<std::size_t>(column.itemIndex)];
    row.modified = true;
}

void CQORGridCtrl::KeyUp() {
    CommitCurrentCell();
    if (m_currentRow > m_firstVisibleRow) {
        MoveCurrentCell(m_currentRow - 1, m_currentColumn);
    } else if (m_firstVisibleRow > 0) {
        PaintCurrentCell(false);
        --m_firstVisibleRow;
        --m_lastVisibleRow;
        --m_currentRow;
        ScrollDownOneRow();
    } else if (m_bound && !m_rows.empty() && m_recordset->SetBookmark(m_rows.front().bookmark) &&
               m_recordset->MovePrevious()) {
        std::optional<GridRow> row = RecordRow();
        if (!row) {
            return;
        }
        PaintCurrentCell(false);
        m_rows.insert(m_rows.begin(), std::move(*row));
        m_rows.pop_back();
        ScrollDownOneRow();
    }
}

void CQORGridCtrl::KeyDown() {
    CommitCurrentCell();
    const int lastRow = static_cast<int>(m_rows.size()) - 1;
    if (m_currentRow < m_lastVisibleRow) {
        MoveCurrentCell(m_currentRow + 1, m_currentColumn);
    } else if (m_currentRow < lastRow) {
        PaintCurrentCell(false);
        ++m_firstVisibleRow;
        ++m_lastVisibleRow;
        ++m_currentRow;
        ScrollUpOneRow();
    } else if (m_bound && !m_rows.empty() && m_recordset->SetBookmark(m_rows.back().bookmark) &&
               m_recordset->MoveNext()) {
        std::optional<GridRow> row = RecordRow();
        if (!row) {
            return;
        }
        PaintCurrentCell(false);
        m_rows.push_back(std::move(*row));
        m_rows.erase(m_rows.begin());
        ScrollUpOneRow();
    }
}

void CQORGridCtrl::KeyPageUp() {
    CommitCurrentCell();
    if (m_currentRow > m_firstVisibleRow) {
        MoveCurrentCell(m_firstVisibleRow, m_currentColumn);
        return;
    }
    if (m_firstVisibleRow > 0) {
        m_firstVisibleRow = std::max(0, m_firstVisibleRow - (m_lastVisibleRow - m_firstVisibleRow));
        m_currentRow = m_firstVisibleRow;
    } else if (!m_bound || m_rows.empty() || !m_recordset->SetBookmark(m_rows.front().bookmark)) {
        return;
    } else {
        for (int read = 0; read < PageCapacity() && m_recordset->MovePrevious(); ++read) {
            std::optional<GridRow> row = RecordRow();
            if (!row) {
                break;
            }
            m_rows.insert(m_rows.begin(), std::move(*row));
            m_rows.pop_back();
        }
    }
    RepaintBody();
}

void CQORGridCtrl::KeyPageDown() {
    CommitCurrentCell();
    const int rowCount = static_cast<int>(m_rows.size());
    if (m_currentRow < m_lastVisibleRow) {
        MoveCurrentCell(m_lastVisibleRow, m_currentColumn);
        return;
    }
    if (m_lastVisibleRow < rowCount - 1) {
        const int shown = m_lastVisibleRow - m_firstVisibleRow + 1;
        if (rowCount - 1 - m_lastVisibleRow < shown) {
            m_firstVisibleRow = rowCount - shown;
            m_currentRow = rowCount - 1;
            m_lastVisibleRow = rowCount - 1;
        } else {
            m_firstVisibleRow += shown;
            m_lastVisibleRow = std::min(m_lastVisibleRow + shown, rowCount - 1);
            m_currentRow += shown;
        }
    } else if (!m_bound || m_rows.empty() || !m_recordset->SetBookmark(m_rows.back().bookmark)) {
        return;
    } else {
        for (int read = 0; read < PageCapacity() && m_recordset->MoveNext(); ++read) {
            std::optional<GridRow> row = RecordRow();
            if (!row) {
                break;
            }
            m_rows.push_back(std::move(*row));
            m_rows.erase(m_rows.begin());
        }
    }
    RepaintBody();
}

// Home and End reload a bound grid's page, so what was typed is written before it goes.
void CQORGridCtrl::KeyHome() {
    CommitCurrentCell();
    if (m_bound) {
        if (!m_recordset->MoveFirst()) {
            return;
        }
        m_rows.clear();
        FillPage(PageCapacity());
    }
    m_firstVisibleRow = 0;
    m_currentRow = 0;
    RepaintBody();
}

void CQORGridCtrl::KeyEnd() {
    CommitCurrentCell();
    if (!m_bound) {
        m_firstVisibleRow = std::max(0, static_cast<int>(m_rows.size()) - PageCapacity() + 1);
        RepaintBody();
        m_currentRow = m_lastVisibleRow;
        return;
    }
    if (!m_recordset->MoveLast()) {
        return;
    }
    std::vector<GridRow> page;
    const int capacity = PageCapacity();
    while (static_cast<int>(page.size()) < capacity) {
        std::optional<GridRow> row = RecordRow();
        if (!row) {
            break;
        }
        page.insert(page.begin(), std::move(*row));
        if (static_cast<int>(page.size()) < capacity && !m_recordset->MovePrevious()) {
            break;
        }
    }
    if (page.empty() && capacity > 0) {
        return;
    }
    m_rows = std::move(page);
    m_firstVisibleRow = 0;
    m_currentRow = static_cast<int>(m_rows.size()) - 1;
    RepaintBody();
}

void CQORGridCtrl::TabForward() {
    CommitCurrentCell();
    const auto takes = [this](int c) {
        const GridColumn& column = m_columns[static_cast<std::size_t>(c)];
        return column.visible && column.editable;
    };
    const int count = static_cast<int>(m_columns.size());
    for (int c = m_currentColumn + 1; c < count; ++c) {
        if (takes(c)) {
            EnterFoundCell(m_currentRow, c);
            return;
        }
    }
    for (int c = 0; c < count && m_currentRow < m_lastVisibleRow; ++c) {
        if (takes(c)) {
            EnterFoundCell(m_currentRow + 1, c);
            return;
        }
    }
    int first = 0;
    if (m_lastColumnClipped && FirstColumnToShow(m_lastVisibleColumn, first)) {
        m_firstVisibleColumn = first;
        m_currentColumn = m_lastVisibleColumn;
        Invalidate();
        UpdateWindow();
        return;
    }
    FocusNextTabItem();
}

void CQORGridCtrl::TabBackward() {
    CommitCurrentCell();
    const auto takes = [this](int c) {
        const GridColumn& column = m_columns[static_cast<std::size_t>(c)];
        return column.visible && column.editable;
    };
    for (int c = std::min(m_currentColumn, static_cast<int>(m_columns.size())) - 1; c >= 0; --c) {
        if (takes(c)) {
            EnterFoundCell(m_currentRow, c);
            return;
        }
    }
    for (int c = static_cast<int>(m_columns.size()) - 1; c >= 0 && m_currentRow > 0; --c) {
        if (takes(c)) {
            EnterFoundCell(m_currentRow - 1, c);
            return;
        }
    }
    FocusNextTabItem(true);
}

void CQORGridCtrl::EnterFoundCell(int row, int col) {
    PaintCurrentCell(false);
    m_currentColumn = col;
    m_currentRow = row;
    int first = 0;
    if (col < m_firstVisibleColumn || col > m_lastVisibleColumn) {
        m_firstVisibleColumn = col;
        Invalidate();
    } else if (col == m_lastVisibleColumn && m_lastColumnClipped && FirstColumnToShow(col, first)) {
        m_firstVisibleColumn = first;
        Invalidate();
    }
    SyncItemIndex();
    PaintCurrentCell(true);
}

void CQORGridCtrl::SyncItemIndex() {
    if (static_cast<std::size_t>(m_currentColumn) >= m_columns.size() || !IsRow(m_currentRow)) {
        return;
    }
    GridColumn& column = m_columns[static_cast<std::size_t>(m_currentColumn)];
    const GridRow& row = m_rows[static_cast<std::size_t>(m_currentRow)];
    if (column.editStyle != EditStyle::List ||
        static_cast<std::size_t>(m_currentColumn) >= row.cells.size()) {
        return;
    }
    const std::string& text = row.cells[static_cast<std::size_t>(m_currentColumn)].text;
    const auto item = std::find_if(column.items.begin(), column.items.end(),
                                   [&](const std::string& i) { return EqualsNoCase(i, text); });
    column.itemIndex =
        item == column.items.end() ? -1 : static_cast<int>(item - column.items.begin());
}

void CQORGridCtrl::OnLButtonDown(UINT /*flags*/, POINT point) {
    ClickCell(point);
}

void CQORGridCtrl::OnLButtonDblClk(UINT /*flags*/, POINT point) {
    ClickCell(point);
}

void CQORGridCtrl::ClickCell(POINT point) {
    UpdateLayout();
    int row = 0;
    int col = 0;
    if (!HitTest(point, row, col)) {
        SetFocus();
        return;
    }
    CommitCurrentCell();
    int first = 0;
    if (col == m_lastVisibleColumn && m_lastColumnClipped && FirstColumnToShow(col, first)) {
        m_firstVisibleColumn = first;
        m_currentRow = row;
        m_currentColumn = col;
        SyncItemIndex();
        Invalidate();
        PaintCurrentCell(true);
        return;
    }
    PaintCurrentCell(false);
    m_currentRow = row;
    m_currentColumn = col;
    SyncItemIndex();
    const GridColumn& column = m_columns[static_cast<std::size_t>(col)];
    GridRow& clicked = m_rows[static_cast<std::size_t>(row)];
    if (column.editStyle == EditStyle::CheckBox &&
        static_cast<std::size_t>(col) < clicked.cells.size()) {
        const std::string checked = column.items.empty() ? "" : column.items[0];
        const std::string unchecked = column.items.size() < 2 ? "" : column.items[1];
        std::string& text = clicked.cells[static_cast<std::size_t>(col)].text;
        text = EqualsNoCase(text, checked) ? unchecked : checked;
        // A toggle changes the row as typing does: a host that saves only a modified grid must
        // not lose it.
        clicked.modified = true;
    }
    PaintCurrentCell(true);
    SetFocus();
}

void CQORGridCtrl::OnChar(UINT ch, UINT /*repeat*/, UINT /*flags*/) {
    UpdateLayout();
    if (m_visibleColumnCount > 0 && CurrentCellEditable()) {
        TypeIntoCurrentCell(ch);
    }
}

void CQORGridCtrl::TypeIntoCurrentCell(UINT ch) {
    GridColumn& column = m_columns[static_cast<std::size_t>(m_currentColumn)];
    GridRow& row = m_rows[static_cast<std::size_t>(m_currentRow)];
    std::string& text = row.cells[static_cast<std::size_t>(m_currentColumn)].text;
    const std::string before = text;
    if (column.editStyle == EditStyle::List) {
        const auto item =
            std::find_if(column.items.begin(), column.items.end(), [ch](const std::string& i) {
                return IsAsciiAlnum(ch) && !i.empty() &&
                       std::tolower(static_cast<unsigned char>(i[0])) ==
                           std::tolower(static_cast<int>(ch));
            });
        if (item != column.items.end()) {
            text = *item;
            column.itemIndex = static_cast<int>(item - column.items.begin());
        }
    } else {
        const NumericDigits digits = DigitsOfNumericMask(column.editMask);
        const TypingParameters how{ControlTypingRule(CodeOf(column.editStyle)), column.maxSize,
                                   column.editMask, digits.whole, digits.decimals};
        TypeIntoText(text, how, ch);
    }
    if (text != before) {
        // A host that saves only a modified grid must not lose what was typed.
        row.modified = true;
        PaintCurrentCell(true);
    }
}
