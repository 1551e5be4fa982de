// The grid bound to a query: binding, the pages of records it loads, deleting a record and
// ordering the whole result by a column.
#include <algorithm>
#include <utility>

#include "controls/common/column_field.h"
#include "controls/grid/grid_ctrl.h"
#include "platform/ado/sql_shape.h"
#include "platform/com/ansi_string.h"
#include "platform/com/com_ptr.h"
#include "platform/dialogs/dialog_service.h"

namespace {

constexpr int kPageRowsWithoutWindow = 20;

// The query ordered by one field: an ORDER BY of its own gives way, a trailing LIMIT stays.
// Only the quoted field name is added, so the query keeps the single-table shape a keyset
// cursor serves and stays editable.
std::string OrderedQuery(const std::string& sql, const std::string& field, bool descending) {
    std::vector<SqlToken> tokens;
    if (!TokenizeSql(sql, tokens)) {
        return {};
    }
    while (!tokens.empty() && tokens.back().kind == SqlTokenKind::Symbol &&
           tokens.back().text == ";") {
        tokens.pop_back();
    }
    std::size_t end = tokens.empty() ? 0 : tokens.back().end;
    std::size_t cut = end;
    std::size_t limit = end;
    int depth = 0;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const SqlToken& token = tokens[i];
        if (token.kind == SqlTokenKind::Symbol) {
            depth += token.text == "(" ? 1 : token.text == ")" ? -1 : 0;
        } else if (depth == 0 && token.kind == SqlTokenKind::Word) {
            if (EqualsNoCase(token.text, "ORDER") && cut == end) {
                cut = token.begin;
            } else if (EqualsNoCase(token.text, "LIMIT") && limit == end) {
                limit = token.begin;
            }
        }
    }
    cut = std::min(cut, limit);
    std::string ordered = sql.substr(0, cut);
    ordered += " ORDER BY " + QuoteIdentifier(field) + (descending ? " DESC" : "");
    if (limit < end) {
        ordered += ' ';
        ordered.append(sql, limit, end - limit);
    }
    return ordered;
}

}  // namespace

CQORGridCtrl::CQORGridCtrl() : COleControl(ClassInfo(), DispatchTable()) {
    SetDoubleClicks(true);
}

CQORGridCtrl::~CQORGridCtrl() {
    CloseRecordset();
}

void CQORGridCtrl::CloseRecordset() {
    if (m_recordset) {
        m_recordset->Close();
    }
    m_recordset.reset();
    m_bound = false;
}

bool CQORGridCtrl::BindToDatabase(IDispatch* adoConn, std::string_view strSQL) {
    CComPtr<_Connection> connection;
    if (!QueryHostConnection(adoConn, connection)) {
        return false;
    }
    // What the user changed under the old binding is kept before the binding goes.
    if (m_bound) {
        m_connection.CommitTrans();
        CloseRecordset();
    }
    m_connection.Attach(std::move(connection));
    m_sql = strSQL;
    if (!OpenQuery(m_sql)) {
        return false;
    }
    m_bound = true;
    m_sortColumn = -1;
    m_firstVisibleRow = 0;
    m_currentRow = 0;
    m_currentColumn = 0;
    if (!m_columns.empty()) {
        DiscardRows();
        FillPage(PageCapacity());
    }
    ShowCurrentCell();
    return true;
}

bool CQORGridCtrl::OpenQuery(const std::string& sql) {
    auto recordset = std::make_unique<CDataRecordset>(m_connection);
    if (!recordset->Open(sql) || !recordset->MoveFirst()) {
        return false;
    }
    CloseRecordset();
    m_recordset = std::move(recordset);
    return true;
}

void CQORGridCtrl::ShowCurrentCell() {
    if (HasWindow()) {
        Invalidate();
        PaintCurrentCell(true);
    }
}

std::optional<GridRow> CQORGridCtrl::RecordRow() {
    GridRow row = NewRow();
    m_recordset->GetBookmark(row.bookmark);
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        const int field = m_recordset->FieldIndex(m_columns[i].name);
        if (field >= 0 &&
            !ReadColumnText(*m_recordset, field, m_columns[i].editMask, row.cells[i].text)) {
            return std::nullopt;
        }
    }
    return row;
}

void CQORGridCtrl::FillPage(int capacity) {
    for (int loaded = 0; loaded < capacity; ++loaded) {
        std::optional<GridRow> row = RecordRow();
        if (!row) {
            break;
        }
        m_rows.push_back(std::move(*row));
        if (!m_recordset->MoveNext()) {
            break;
        }
    }
}

int CQORGridCtrl::PageCapacity() const {
    if (!HasWindow() && !m_createdSize) {
        return kPageRowsWithoutWindow;
    }
    const RECT client = ClientRect();
    return std::max(0, (client.bottom - BodyTop()) / m_rowHeight);
}

void CQORGridCtrl::ReloadPage(const CComVariant& anchor, int count, Reload kind) {
    const bool change = kind == Reload::AfterChange;
    if (count <= 0 || !m_recordset->SetBookmark(anchor)) {
        return;
    }
    int loaded = 0;
    for (std::optional<GridRow> row = RecordRow(); row; row = RecordRow()) {
        m_rows.push_back(std::move(*row));
        if (++loaded == count || !m_recordset->MoveNext()) {
            break;
        }
    }
    if (change) {
        m_currentRow = 0;
    }
    if (loaded < count && m_recordset->SetBookmark(anchor)) {
        for (; loaded < count && m_recordset->MovePrevious(); ++loaded) {
            std::optional<GridRow> row = RecordRow();
            if (!row) {
                break;
            }
            m_rows.insert(m_rows.begin(), std::move(*row));
            m_currentRow += change ? 1 : 0;
        }
    }
    if (change) {
        m_firstVisibleRow = 0;
        m_lastVisibleRow = static_cast<int>(m_rows.size()) - 1;
    }
}

bool CQORGridCtrl::DeleteRecord(std::size_t row) {
    // The reload replaces the loaded rows: a cell typed into on another row is written first.
    if (static_cast<int>(row) != m_currentRow) {
        CommitCurrentCell();
    }
    const CComVariant bookmark = m_rows[row].bookmark;
    if (!m_recordset->SetBookmark(bookmark)) {
        return false;
    }
    CComVariant anchor;
    bool hasAnchor = m_recordset->MoveNext() && m_recordset->GetBookmark(anchor);
    if (!hasAnchor && m_recordset->SetBookmark(bookmark)) {
        hasAnchor = m_recordset->MovePrevious() && m_recordset->GetBookmark(anchor);
    }
    if (!m_recordset->SetBookmark(bookmark) || !m_recordset->Delete()) {
        std::string error;
        m_recordset->GetLastError(error);
        AfxMessageBox(this, error, "Error deleting current row");
        return false;
    }
    GridRow copy;
    copy.cells = m_rows[row].cells;
    m_deletedRows.push_back(std::move(copy));
    m_rows.clear();
    if (hasAnchor) {
        ReloadPage(anchor, PageCapacity(), Reload::AfterChange);
    }
    if (HasWindow()) {
        Invalidate();
    }
    return true;
}

void CQORGridCtrl::SortRecords(std::size_t col) {
    CommitCurrentCell();
    const int field = m_recordset->FieldIndex(m_columns[col].name);
    std::string fieldName;
    if (field < 0 || !m_recordset->GetFieldName(field, fieldName)) {
        return;
    }
    // The current record is found again in the new order by its key, where the table has one.
    int fieldCount = 0;
    m_recordset->GetFieldCount(fieldCount);
    std::string keyName;
    std::string keyText;
    for (int i = 0; i < fieldCount; ++i) {
        FieldInfo info;
        if (m_recordset->GetFieldInfo(i, info) && info.key) {
            keyName = info.name;
        }
    }
    if (!keyName.empty() && IsRow(m_currentRow) &&
        m_recordset->SetBookmark(m_rows[static_cast<std::size_t>(m_currentRow)].bookmark)) {
        m_recordset->GetFieldText(keyName, keyText);
    }
    const std::string ordered = OrderedQuery(m_sql, fieldName, m_sortDescending);
    if (ordered.empty() || !OpenQuery(ordered)) {
        return;
    }
    m_bound = true;
    if (!keyName.empty()) {
        m_recordset->Find(keyName, keyText);
    }
    CComVariant anchor;
    m_recordset->GetBookmark(anchor);
    const int count = std::max(static_cast<int>(m_rows.size()), PageCapacity());
    const int column = m_currentColumn;
    m_rows.clear();
    ReloadPage(anchor, count, Reload::AfterChange);
    m_currentColumn = column;
}
