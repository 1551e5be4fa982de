// The query list's binding and state: opening the query, marking every record or none, the
// walk through the marks and the field values of the record reached.
#include "controls/query/query_ctrl.h"

#include "platform/com/com_ptr.h"

CQORQueryCtrl::CQORQueryCtrl() : COleControl(ClassInfo(), DispatchTable()) {}

CQORQueryCtrl::~CQORQueryCtrl() {
    CloseRecordset();
    if (m_scrollBar) {
        m_scrollBar->DestroyWindow();
    }
}

void CQORQueryCtrl::CloseRecordset() {
    if (m_recordset) {
        m_recordset->Close();
    }
    m_recordset.reset();
    m_bound = false;
}

void CQORQueryCtrl::DiscardRows() {
    m_selectedRows.Clear();
    m_visibleRows.clear();
    m_visibleRowCount = 0;
    m_selectionCursor = 0;
    m_currentSlot = 0;
    if (HasWindow()) {
        Invalidate();
    }
}

bool CQORQueryCtrl::BindToDatabase(IDispatch* adoConn, std::string_view sSql) {
    CComPtr<_Connection> connection;
    if (!QueryHostConnection(adoConn, connection)) {
        return false;
    }
    m_connection.Attach(std::move(connection));
    CloseRecordset();
    DiscardRows();
    m_topBookmark.Clear();
    m_bottomBookmark.Clear();
    m_currentBookmark.Clear();
    m_recordset = std::make_unique<CDataRecordset>(m_connection);
    if (!m_recordset->Open(sSql)) {
        return false;
    }
    if (!m_recordset->MoveFirst()) {
        m_recordset->Close();
        return false;
    }
    m_recordset->GetBookmark(m_topBookmark);
    m_currentBookmark = m_topBookmark;
    m_visibleRowCount = 0;
    m_selectionCursor = 0;
    m_currentSlot = 0;
    m_bound = true;
    if (HasWindow()) {
        Invalidate();
    }
    return true;
}

void CQORQueryCtrl::SelectAll(bool bSelect) {
    if (!m_bound) {
        return;
    }
    m_selectedRows.Clear();
    if (bSelect) {
        LONG count = 0;
        // Room for every record at once: the marks grow nothing while the walk runs.
        if (m_recordset->GetRecordCount(count) && count > 0) {
            m_selectedRows.Reserve(static_cast<std::size_t>(count));
        }
        bool more = m_recordset->MoveFirst();
        // Every record's bookmark at the end of the marks, indexed in one pass.
        static_cast<void>(m_selectedRows.AppendAll([&](CComVariant& bookmark) {
            const bool taken = more && m_recordset->GetBookmark(bookmark);
            more = taken && m_recordset->MoveNext();
            return taken;
        }));
    }
    if (HasWindow()) {
        Invalidate();
    }
}

bool CQORQueryCtrl::MoveToFirstSelected() {
    if (!m_bound || m_selectedRows.Empty()) {
        return false;
    }
    m_selectionCursor = 0;
    return m_recordset->SetBookmark(m_selectedRows.BookmarkAt(0));
}

bool CQORQueryCtrl::MoveToNextSelected() {
    if (!m_bound || m_selectedRows.Empty()) {
        return false;
    }
    const int last = static_cast<int>(m_selectedRows.Count()) - 1;
    m_selectionCursor = m_selectionCursor >= last ? 0 : m_selectionCursor + 1;
    return m_recordset->SetBookmark(
        m_selectedRows.BookmarkAt(static_cast<std::size_t>(m_selectionCursor)));
}

bool CQORQueryCtrl::GetFieldValue(std::string_view colName, std::string& value) {
    if (!m_bound) {
        return false;
    }
    std::string text;
    if (!m_recordset->GetFieldText(colName, text)) {
        return false;
    }
    value = std::move(text);
    return true;
}
