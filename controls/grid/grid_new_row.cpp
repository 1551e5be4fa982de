// Adding a record to a bound grid: the "New Row..." window over the columns, then the record
// added through the recordset and the page reloaded around it.
#include "controls/common/column_field.h"
#include "controls/common/field_text.h"
#include "controls/grid/grid_ctrl.h"
#include "controls/grid/input_dialog_wnd.h"
#include "platform/dialogs/dialog_service.h"

namespace {

constexpr COLORREF kNewRowBack = 0x00C0C0C0;
constexpr COLORREF kNewRowTitle = 0x00800000;
constexpr COLORREF kFieldText = 0x00000000;
constexpr int kFieldWholeDigits = 9;
constexpr int kFieldDecimalDigits = 2;

InputField FieldOf(const GridColumn& column) {
    InputField field;
    field.key = column.title;
    field.value = column.newRowValue;
    field.editMask = column.editMask;
    field.editStyle = column.editStyle;
    field.editable = column.editable;
    field.maxSize = column.maxSize;
    field.wholeDigits = kFieldWholeDigits;
    field.decimalDigits = kFieldDecimalDigits;
    field.width = column.width;
    field.backColor = kNewRowBack;
    field.textColor = kFieldText;
    return field;
}

// The text a new record takes for a column: what was typed, trimmed. A check box, which takes no
// typing, shows unticked when nothing was given, so it stores its unchecked value, the value
// the clerk sees, rather than none.
std::string NewRecordText(const GridColumn& column) {
    const std::string_view typed = TrimWhiteSpace(column.newRowValue);
    if (typed.empty() && column.editStyle == EditStyle::CheckBox && column.items.size() >= 2) {
        return column.items[1];
    }
    return std::string(typed);
}

}  // namespace

bool CQORGridCtrl::AskNewRowValues() {
    CInputDialogWnd window;
    for (const GridColumn& column : m_columns) {
        window.AddField(FieldOf(column));
    }
    window.SetCaption("New Row...");
    window.SetColors(kNewRowBack, kNewRowTitle);
    if (!window.Run(this)) {
        return false;
    }
    for (GridColumn& column : m_columns) {
        window.GetValue(column.title, column.newRowValue);
    }
    return true;
}

bool CQORGridCtrl::StoreNewRecord() {
    if (!m_recordset->AddNew()) {
        return false;
    }
    int fieldCount = 0;
    m_recordset->GetFieldCount(fieldCount);
    std::string error;
    for (int field = 0; error.empty() && field < fieldCount; ++field) {
        std::string name;
        m_recordset->GetFieldName(field, name);
        const int column = FindColumn(name);
        const std::string value =
            column < 0 ? std::string() : NewRecordText(m_columns[static_cast<std::size_t>(column)]);
        if (value.empty()) {
            continue;
        }
        // A value the field cannot take as shown fails the record as a failed update would,
        // instead of storing the record without, or with another value than, what was typed.
        const FieldWriteResult put = PutColumnText(
            *m_recordset, field, m_columns[static_cast<std::size_t>(column)].editMask, value);
        if (put == FieldWriteResult::NotHeld) {
            error = kNotHeldText;
        } else if (put == FieldWriteResult::Refused) {
            m_recordset->GetLastError(error);
        }
    }
    if (error.empty() && m_recordset->Update()) {
        return true;
    }
    if (error.empty()) {
        m_recordset->GetLastError(error);
    }
    m_recordset->CancelUpdate();
    AfxMessageBox(this, error, "Error adding a new row");
    return false;
}

std::int32_t CQORGridCtrl::AddRecord() {
    // The reload after the add replaces the loaded rows: what the clerk typed into the current
    // cell is written first, as leaving the cell for the new row.
    CommitCurrentCell();
    do {
        if (!AskNewRowValues()) {
            return -1;
        }
    } while (!StoreNewRecord());
    CComVariant anchor;
    m_recordset->GetBookmark(anchor);
    m_rows.clear();
    ReloadPage(anchor, PageCapacity(), Reload::AfterChange);
    ShowCurrentCell();
    // The new record's row, current after the reload.
    return m_currentRow;
}
