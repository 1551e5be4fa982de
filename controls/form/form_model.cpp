// The form's model: opening a design and its query, filling the columns from the current
// record, and reading and writing fields by name.
#include <optional>
#include <utility>

#include "controls/common/column_field.h"
#include "controls/common/design.h"
#include "controls/common/edit_style.h"
#include "controls/form/form_ctrl.h"
#include "platform/ado/ado.h"
#include "platform/com/ansi_string.h"
#include "platform/com/com_ptr.h"

namespace {

// Design files carry the designer's edit styles; the form edits by the controls' codes, with a
// date typed through a mask. Text and mask keep their codes, any unknown code stays unknown.
void UseControlEditStyle(DesignItem& item) {
    switch (static_cast<DesignerEditStyle>(item.editStyle)) {
        case DesignerEditStyle::Date:
            item.editStyle = CodeOf(EditStyle::Mask);
            item.mask = kDateMask;
            break;
        case DesignerEditStyle::Numeric:
            item.editStyle = CodeOf(EditStyle::Numeric);
            break;
        case DesignerEditStyle::CheckBox:
            item.editStyle = CodeOf(EditStyle::CheckBox);
            break;
        case DesignerEditStyle::List:
            item.editStyle = CodeOf(EditStyle::List);
            break;
        default:
            break;
    }
}

}  // namespace

CQORFormCtrl::CQORFormCtrl() : COleControl(ClassInfo(), DispatchTable()) {}

CQORFormCtrl::~CQORFormCtrl() {
    CloseRecordset();
}

bool CQORFormCtrl::OpenForm(IDispatch* adoConn, std::string_view ls_sql,
                            const std::string& sFormFileName) {
    if (!ReadForm(sFormFileName)) {
        return false;
    }
    CloseRecordset();
    if (!BindQuery(adoConn, ls_sql)) {
        return false;
    }
    m_formLoaded = true;
    RedrawForm();
    return true;
}

bool CQORFormCtrl::ReadForm(const std::string& path) {
    std::optional<Design> design = ReadDesignFile(path);
    if (!design) {
        return false;
    }
    m_formLoaded = false;
    m_items.clear();
    RedrawForm();
    m_items = std::move(design->Items());
    for (DesignItem& item : m_items) {
        UseControlEditStyle(item);
    }
    return true;
}

bool CQORFormCtrl::BindQuery(IDispatch* adoConn, std::string_view sql) {
    CComPtr<_Connection> connection;
    if (!QueryHostConnection(adoConn, connection)) {
        return false;
    }
    m_connection.Attach(std::move(connection));

    auto recordset = std::make_unique<CDataRecordset>(m_connection);
    if (!recordset->Open(sql)) {
        return true;
    }
    m_recordset = std::move(recordset);
    m_recordsetOpen = true;
    if (m_recordset->MoveFirst()) {
        TakeBookmark();
        m_formLoaded = true;
        LoadColumnValues();
    }
    return true;
}

void CQORFormCtrl::CloseRecordset() {
    if (m_recordsetOpen) {
        m_recordset->Close();
    }
    m_recordset.reset();
    m_recordsetOpen = false;
    m_bookmarkValid = false;
}

void CQORFormCtrl::TakeBookmark() {
    m_bookmarkValid = m_recordset->GetBookmark(m_bookmark);
}

void CQORFormCtrl::LoadColumnValues() {
    if (!m_formLoaded || !m_recordsetOpen) {
        return;
    }
    // Columns take the record's values also while the control has no window, so that the form
    // shows the current record once a container opens it. The changed columns are drawn
    // together: drawing each as it is filled would redraw every item over it, the square of
    // their number for items piled on one another.
    m_textUnwritten = false;
    RECT changed{};
    for (DesignItem& item : m_items) {
        const int field = item.kind == kColumn ? m_recordset->FieldIndex(item.name) : -1;
        if (field >= 0) {
            ReadColumnText(*m_recordset, field, item.mask, item.text);
            UnionRect(changed, changed, item.rect);
        }
    }
    if (!IsRectEmpty(changed) && HasWindow()) {
        CClientDC dc(this);
        DrawItems(*dc, changed);
        if (IsColumnIndex(m_currentField)) {
            HighlightField(*dc, static_cast<std::size_t>(m_currentField));
        }
    }
}

void CQORFormCtrl::RestoreUnwrittenText() {
    if (!std::exchange(m_textUnwritten, false) || !IsColumnIndex(m_currentField)) {
        return;
    }
    DesignItem& column = m_items[static_cast<std::size_t>(m_currentField)];
    const int field = RecordFieldOf(column);
    if (field >= 0) {
        ReadColumnText(*m_recordset, field, column.mask, column.text);
    }
}

int CQORFormCtrl::RecordFieldOf(const DesignItem& column) {
    if (!m_recordsetOpen || !m_bookmarkValid || !m_recordset->SetBookmark(m_bookmark)) {
        return -1;
    }
    return m_recordset->FieldIndex(column.name);
}

const DesignItem* CQORFormCtrl::FindColumn(std::string_view name) const {
    for (const DesignItem& item : m_items) {
        if (item.kind == kColumn && EqualsNoCase(item.name, name)) {
            return &item;
        }
    }
    return nullptr;
}

bool CQORFormCtrl::IsColumnIndex(std::int32_t index) const {
    return index >= 0 && static_cast<std::size_t>(index) < m_items.size() &&
           m_items[static_cast<std::size_t>(index)].kind == kColumn;
}

bool CQORFormCtrl::GetItem(std::string_view ItemName, std::string& itemText) {
    if (!m_formLoaded || !m_recordsetOpen || FindColumn(ItemName) == nullptr) {
        return false;
    }
    std::string text;
    if (!m_recordset->GetFieldText(ItemName, text)) {
        return false;
    }
    itemText = std::move(text);
    return true;
}

bool CQORFormCtrl::SetItem(std::string_view ItemName, std::string_view itemText) {
    if (!m_formLoaded || !m_recordsetOpen || FindColumn(ItemName) == nullptr) {
        return false;
    }
    return m_recordset->SetFieldText(ItemName, itemText);
}
