// The report bound to the host's connection through the layout's own query, and Print, which
// prints one detail band per record of it.
#include "controls/common/column_field.h"
#include "controls/common/field_text.h"
#include "controls/report/report_ctrl.h"
#include "platform/com/com_ptr.h"

namespace {

constexpr const char* kReadErrorCaption = "Error reading the report's records";

}  // namespace

std::int32_t CQORReportCtrl::BindReportToDatabase(IDispatch* adoConn) {
    if (!m_loaded) {
        return 0;
    }
    CComPtr<_Connection> connection;
    if (!QueryHostConnection(adoConn, connection)) {
        return 0;
    }
    m_connection.Attach(std::move(connection));
    m_bound = true;
    CloseRecordset();
    m_recordset = std::make_unique<CDataRecordset>(m_connection);
    m_sqlText = std::string(TrimWhiteSpace(m_sqlText));
    if (m_sqlText.empty() || !m_recordset->Open(m_sqlText)) {
        return 0;
    }
    m_recordsetOpen = true;
    return 1;
}

void CQORReportCtrl::CloseRecordset() {
    if (m_recordsetOpen) {
        m_recordset->Close();
    }
    m_recordset.reset();
    m_recordsetOpen = false;
}

void CQORReportCtrl::Print() {
    if (!m_loaded) {
        return;
    }
    if (!m_bound || !m_recordsetOpen) {
        PrintRecord();
        return;
    }
    if (!m_recordset->MoveFirst()) {
        if (m_recordset->MoveFailed()) {
            AbandonJob();
        }
        return;
    }
    do {
        if (!FillColumns()) {
            AbandonJob();
            return;
        }
        if (!PrintRecord()) {
            break;
        }
    } while (m_recordset->MoveNext());
    if (m_recordset->MoveFailed()) {
        AbandonJob();
        return;
    }
    m_recordset->MoveFirst();
}

// Records that could not be read (the server gone, say) would leave the document short, or
// print the texts of the record before: the document is dropped rather than ended as if whole,
// and the user is told why.
void CQORReportCtrl::AbandonJob() {
    if (m_jobOpen) {
        m_printJob->AbortDoc();
        m_printJob.reset();
        m_jobOpen = false;
        m_pageOpen = false;
    }
    std::string error;
    m_recordset->GetLastError(error);
    AfxMessageBox(nullptr, error, kReadErrorCaption, MB_OK);
}

// A date field under a date mask reads in the mask's layout ("03/05/2024"), which the print
// mask then keeps; read as the locale's short date ("3/5/2024") its digits would fall into the
// wrong places. A column whose name no field has keeps its text.
bool CQORReportCtrl::FillColumns() {
    for (std::vector<ReportItem>* list : {&m_pageItems, &m_detailItems}) {
        for (ReportItem& item : *list) {
            if (item.kind != kReportColumn) {
                continue;
            }
            const int field = m_recordset->FieldIndex(item.name);
            const std::string_view mask =
                item.editStyle == kReportMaskStyle ? std::string_view(item.mask) : "";
            if (field < 0) {
                continue;
            }
            std::string text;
            if (!ReadColumnText(*m_recordset, field, mask, text)) {
                return false;
            }
            item.text = std::move(text);
        }
    }
    return true;
}
