// The grid's model: columns, rows, cell texts, drop-down and check-box items, deleted rows and
// the ordering of the loaded rows.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <utility>

#include "controls/common/date_mask.h"
#include "controls/common/field_text.h"
#include "controls/grid/grid_ctrl.h"
#include "platform/com/ansi_string.h"

namespace {

bool LessNoCase(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) <
               std::tolower(static_cast<unsigned char>(y));
    });
}

EditStyle StoredEditStyle(std::int32_t code) {
    return code >= CodeOf(EditStyle::Text) && code <= CodeOf(EditStyle::Date)
               ? static_cast<EditStyle>(code)
               : EditStyle::Text;
}

// The value a cell's text is ordered by in its column: check boxes by state, numbers by value,
// dates by day, other texts by letters without regard to case. Texts a number or date column
// cannot read come after those it can.
struct SortKey {
    int group = 0;
    double value = 0;
    std::string text;
};

SortKey KeyOf(const GridColumn& column, const std::string& text) {
    switch (column.editStyle) {
        case EditStyle::CheckBox: {
            const bool checked = !column.items.empty() && EqualsNoCase(text, column.items[0]);
            return {checked ? 0 : 1, 0, {}};
        }
        case EditStyle::Numeric: {
            const std::string trimmed(TrimWhiteSpace(text));
            char* end = nullptr;
            const double value = std::strtod(trimmed.c_str(), &end);
            if (!trimmed.empty() && end != nullptr && *end == '\0') {
                return {0, value, {}};
            }
            return {1, 0, trimmed};
        }
        case EditStyle::Date: {
            const auto layout = DateLayoutOfMask(
                column.editMask.empty() ? std::string_view(kDateMask) : column.editMask,
                GetUserDefaultLCID());
            const auto day = layout ? ParseMaskedDate(text, *layout) : std::nullopt;
            if (day) {
                return {0, *day, {}};
            }
            return {1, 0, text};
        }
        default:
            return {0, 0, text};
    }
}

bool KeyLess(const SortKey& a, const SortKey& b) {
    if (a.group != b.group) {
        return a.group < b.group;
    }
    if (a.value != b.value) {
        return a.value < b.value;
    }
    return LessNoCase(a.text, b.text);
}

}  // namespace

int CQORGridCtrl::FindColumn(std::string_view name) const {
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        if (EqualsNoCase(m_columns[i].name, name)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool CQORGridCtrl::IsRow(std::int32_t row) const {
    return row >= 0 && static_cast<std::size_t>(row) < m_rows.size();
}

bool CQORGridCtrl::IsCell(std::int32_t row, std::int32_t col) const {
    return IsRow(row) && col >= 0 && static_cast<std::size_t>(col) < m_columns.size() &&
           static_cast<std::size_t>(col) < m_rows[static_cast<std::size_t>(row)].cells.size();
}

GridRow CQORGridCtrl::NewRow() const {
    GridRow row;
    row.cells.resize(m_columns.size());
    return row;
}

void CQORGridCtrl::DiscardRows() {
    m_rows.clear();
    m_deletedRows.clear();
    m_currentColumn = 0;
    m_currentRow = 0;
    m_firstVisibleRow = 0;
    m_lastVisibleRow = 0;
}

std::int32_t CQORGridCtrl::InsertColumn(std::string_view columnName, std::string_view columnTitle,
                                        std::int32_t columnWidth, std::int32_t columnEditStyle,
                                        std::int32_t columnMaxSize, std::string_view columnEditMask,
                                        bool columnEditable, bool columnVisible,
                                        COLORREF columnTextColor, COLORREF columnBkColor) {
    GridColumn column;
    column.name = columnName;
    column.title = columnTitle;
    column.width = columnVisible ? columnWidth : 0;
    column.maxSize = columnMaxSize;
    column.textColor = columnTextColor;
    column.backColor = columnBkColor;
    column.visible = columnVisible;
    column.editable = columnEditable;
    column.editStyle = StoredEditStyle(columnEditStyle);
    column.editMask = columnEditMask;
    if (columnVisible) {
        m_columns.insert(m_columns.begin() + m_visibleColumnCount, std::move(column));
        ++m_visibleColumnCount;
    } else {
        m_columns.push_back(std::move(column));
    }
    return static_cast<std::int32_t>(m_columns.size()) - 1;
}

std::int32_t CQORGridCtrl::AddRow(std::int32_t nInsertBefore) {
    if (m_columns.empty()) {
        return -1;
    }
    if (m_bound) {
        return AddRecord();
    }
    if (IsRow(nInsertBefore)) {
        m_rows.insert(m_rows.begin() + nInsertBefore, NewRow());
        return nInsertBefore;
    }
    m_rows.push_back(NewRow());
    return static_cast<std::int32_t>(m_rows.size()) - 1;
}

std::int32_t CQORGridCtrl::SetItem(std::int32_t row, std::int32_t col, std::string_view strValue) {
    if (!IsCell(row, col)) {
        return -1;
    }
    GridRow& target = m_rows[static_cast<std::size_t>(row)];
    std::string& text = target.cells[static_cast<std::size_t>(col)].text;
    if (!EqualsNoCase(text, strValue)) {
        text = strValue;
        target.modified = true;
    }
    return col;
}

std::int32_t CQORGridCtrl::SetItemByName(std::int32_t row, std::string_view colName,
                                         std::string_view strValue) {
    return SetItem(row, FindColumn(colName), strValue) < 0 ? -1 : 1;
}

std::int32_t CQORGridCtrl::GetItem(std::int32_t row, std::int32_t col,
                                   std::string& newValue) const {
    if (!IsCell(row, col)) {
        return -1;
    }
    newValue = m_rows[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(col)].text;
    return 1;
}

std::int32_t CQORGridCtrl::GetItemByName(std::int32_t row, std::string_view colName,
                                         std::string& newValue) const {
    return GetItem(row, FindColumn(colName), newValue);
}

std::int32_t CQORGridCtrl::GetCurrentRow() const {
    return IsRow(m_currentRow) ? m_currentRow : -1;
}

bool CQORGridCtrl::DeleteCurrentRow() {
    return DeleteRow(m_currentRow);
}

bool CQORGridCtrl::DeleteRow(std::int32_t row) {
    if (!IsRow(row) || m_columns.empty()) {
        return false;
    }
    if (m_bound) {
        return DeleteRecord(static_cast<std::size_t>(row));
    }
    const auto index = static_cast<std::size_t>(row);
    GridRow copy;
    copy.cells = m_rows[index].cells;
    m_deletedRows.push_back(std::move(copy));
    const int countBefore = static_cast<int>(m_rows.size());
    m_rows.erase(m_rows.begin() + row);
    const int capacity = PageCapacity();
    if (row >= m_firstVisibleRow && row <= m_lastVisibleRow &&
        m_firstVisibleRow + capacity - 1 > countBefore - 1) {
        m_firstVisibleRow = countBefore > capacity ? countBefore - capacity : 0;
    }
    if (HasWindow()) {
        Invalidate();
    }
    return true;
}

bool CQORGridCtrl::FindRow(std::string_view colName, std::string_view filterValue,
                           bool bScrollToRow) {
    const int col = FindColumn(colName);
    if (col < 0) {
        return false;
    }
    for (const GridRow& row : m_rows) {
        if (static_cast<std::size_t>(col) < row.cells.size() &&
            EqualsNoCase(row.cells[static_cast<std::size_t>(col)].text, filterValue)) {
            return true;
        }
    }
    if (!m_bound ||
        !m_recordset->Find(m_columns[static_cast<std::size_t>(col)].name, filterValue)) {
        return false;
    }
    if (bScrollToRow) {
        CComVariant anchor;
        m_recordset->GetBookmark(anchor);
        // The reload replaces the loaded rows: what was typed into the current cell goes first.
        CommitCurrentCell();
        const int count = static_cast<int>(m_rows.size());
        m_rows.clear();
        ReloadPage(anchor, count, Reload::AfterFind);
        if (HasWindow()) {
            Invalidate();
        }
    }
    return true;
}

bool CQORGridCtrl::ClearGrid() {
    DiscardRows();
    if (HasWindow()) {
        Invalidate();
    }
    return true;
}

std::int32_t CQORGridCtrl::AddDropDownItem(std::int32_t col, std::string_view strValue) {
    if (col < 0 || static_cast<std::size_t>(col) >= m_columns.size()) {
        return -1;
    }
    std::vector<std::string>& items = m_columns[static_cast<std::size_t>(col)].items;
    const std::string value(TrimWhiteSpace(strValue));
    const auto greater = std::find_if(items.begin(), items.end(), [&](const std::string& item) {
        return LessNoCase(value, item);
    });
    items.insert(greater, value);
    return col;
}

std::int32_t CQORGridCtrl::AddDropDownItemByName(std::string_view colName,
                                                 std::string_view strValue) {
    return AddDropDownItem(FindColumn(colName), strValue);
}

std::int32_t CQORGridCtrl::ClearDropDown(std::int32_t col) {
    if (col < 0 || static_cast<std::size_t>(col) >= m_columns.size()) {
        return -1;
    }
    m_columns[static_cast<std::size_t>(col)].items.clear();
    return col;
}

std::int32_t CQORGridCtrl::ClearDropDownByName(std::string_view colName) {
    return ClearDropDown(FindColumn(colName));
}

std::int32_t CQORGridCtrl::SetCheckBoxCheckedValue(std::int32_t col, std::string_view strValue) {
    if (col < 0 || static_cast<std::size_t>(col) >= m_columns.size()) {
        return -1;
    }
    std::vector<std::string>& items = m_columns[static_cast<std::size_t>(col)].items;
    if (items.empty()) {
        items.emplace_back(strValue);
    } else {
        items[0] = strValue;
    }
    return col;
}

std::int32_t CQORGridCtrl::SetCheckBoxCheckedValueByName(std::string_view colName,
                                                         std::string_view strValue) {
    return SetCheckBoxCheckedValue(FindColumn(colName), strValue);
}

std::int32_t CQORGridCtrl::SetCheckBoxUnCheckedValue(std::int32_t col, std::string_view strValue) {
    if (col < 0 || static_cast<std::size_t>(col) >= m_columns.size()) {
        return -1;
    }
    std::vector<std::string>& items = m_columns[static_cast<std::size_t>(col)].items;
    if (items.empty()) {
        items.emplace_back("Y");
    }
    if (items.size() == 1) {
        items.emplace_back(strValue);
    } else {
        items[1] = strValue;
    }
    return col;
}

std::int32_t CQORGridCtrl::SetCheckBoxUnCheckedValueByName(std::string_view colName,
                                                           std::string_view strValue) {
    return SetCheckBoxUnCheckedValue(FindColumn(colName), strValue);
}

void CQORGridCtrl::Sort(std::int32_t colNo) {
    if (colNo < 0 || static_cast<std::size_t>(colNo) >= m_columns.size()) {
        return;
    }
    m_sortDescending = colNo == m_sortColumn && !m_sortDescending;
    m_sortColumn = colNo;
    if (m_bound) {
        SortRecords(static_cast<std::size_t>(colNo));
    } else {
        SortLoadedRows(static_cast<std::size_t>(colNo));
    }
    if (HasWindow()) {
        Invalidate();
    }
}

void CQORGridCtrl::SortLoadedRows(std::size_t col) {
    const GridColumn& column = m_columns[col];
    std::vector<std::pair<SortKey, GridRow>> keyed;
    keyed.reserve(m_rows.size());
    for (GridRow& row : m_rows) {
        const std::string empty;
        const std::string& text = col < row.cells.size() ? row.cells[col].text : empty;
        keyed.emplace_back(KeyOf(column, text), std::move(row));
    }
    const bool descending = m_sortDescending;
    std::stable_sort(keyed.begin(), keyed.end(), [descending](const auto& a, const auto& b) {
        return descending ? KeyLess(b.first, a.first) : KeyLess(a.first, b.first);
    });
    m_rows.clear();
    for (auto& [key, row] : keyed) {
        m_rows.push_back(std::move(row));
    }
}

bool CQORGridCtrl::GetRowCount(std::int32_t& rowCount) {
    if (!m_bound) {
        rowCount = static_cast<std::int32_t>(m_rows.size());
        return true;
    }
    LONG count = 0;
    m_recordset->MoveLast();
    m_recordset->GetRecordCount(count);
    rowCount = count;
    return true;
}

bool CQORGridCtrl::IsModified() const {
    return !m_deletedRows.empty() || std::any_of(m_rows.begin(), m_rows.end(),
                                                 [](const GridRow& row) { return row.modified; });
}

bool CQORGridCtrl::IsRowNew(std::int32_t row) const {
    return IsRow(row) && m_rows[static_cast<std::size_t>(row)].isNew;
}

bool CQORGridCtrl::GetDeletedRowsCount(std::int32_t& deletedRowCount) const {
    deletedRowCount = static_cast<std::int32_t>(m_deletedRows.size());
    return true;
}

bool CQORGridCtrl::GetDeletedRowValue(std::int32_t deletedRow, std::string_view columnName,
                                      std::string& columnValue) const {
    if (deletedRow < 0 || static_cast<std::size_t>(deletedRow) >= m_deletedRows.size()) {
        return false;
    }
    const int col = FindColumn(columnName);
    const std::vector<GridCell>& cells = m_deletedRows[static_cast<std::size_t>(deletedRow)].cells;
    if (col < 0 || static_cast<std::size_t>(col) >= cells.size()) {
        return false;
    }
    columnValue = cells[static_cast<std::size_t>(col)].text;
    return true;
}
