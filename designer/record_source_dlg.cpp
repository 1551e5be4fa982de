// The "Record Source" dialog: its template and the exchange of the query text.
#include "designer/record_source_dlg.h"

#include "controls/common/field_text.h"
#include "designer/preview_binding.h"

namespace {

DlgTemplate RecordSourceTemplate() {
    using K = DlgControlKind;
    return DlgTemplate{
        IDD_RECORD_SOURCE,
        "Record Source",
        300,
        74,
        {
            {K::Static, 0, "Data source:", 7, 9, 50, 8, SS_LEFT},
            {K::Static, IDC_DATA_SOURCE, "", 60, 9, 233, 8, SS_LEFT},
            {K::Static, 0, "SQL:", 7, 27, 50, 8, SS_LEFT},
            {K::Edit, IDC_RECORD_SOURCE, "", 60, 25, 233, 12, WS_TABSTOP | ES_AUTOHSCROLL},
            {K::PushButton, IDOK, "OK", 182, 53, 50, 14, WS_TABSTOP | BS_DEFPUSHBUTTON},
            {K::PushButton, IDCANCEL, "Cancel", 243, 53, 50, 14, WS_TABSTOP | BS_PUSHBUTTON},
        }};
}

}  // namespace

void RegisterRecordSourceDialog() {
    RegisterDialogResource(RecordSourceTemplate());
}

CRecordSourceDlg::CRecordSourceDlg(CWnd* parent) : CDialog(IDD_RECORD_SOURCE, parent) {}

bool CRecordSourceDlg::EditRecordSource(std::string& recordSource) {
    m_target = &recordSource;
    return DoModal() == IDOK;
}

void CRecordSourceDlg::DoDataExchange(CDataExchange& dx) {
    DDX_Text(dx, IDC_RECORD_SOURCE, m_recordSource);
}

bool CRecordSourceDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_DATA_SOURCE, std::string(kPreviewDataSourceName));
    m_recordSource = *m_target;
    UpdateData(false);
    return true;
}

void CRecordSourceDlg::OnOK() {
    if (!UpdateData(true)) {
        return;
    }
    *m_target = std::string(TrimWhiteSpace(m_recordSource));
    EndDialog(IDOK);
}
