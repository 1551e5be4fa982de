// The "Record Source" dialog: the query text that preview mode opens on its data source.
#pragma once

#include <string>

#include "platform/dialogs/dialog.h"

constexpr UINT IDD_RECORD_SOURCE = 131;
constexpr UINT IDC_DATA_SOURCE = 1030;
constexpr UINT IDC_RECORD_SOURCE = 1031;

// Puts the dialog's template into the resource table.
void RegisterRecordSourceDialog();

class CRecordSourceDlg : public CDialog {
  public:
    explicit CRecordSourceDlg(CWnd* parent = nullptr);

    // Edits the text in place, showing the data source it is opened on; true exactly when the
    // dialog ended with OK, and only then is the text changed.
    bool EditRecordSource(std::string& recordSource);

    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange& dx) override;

  private:
    std::string* m_target = nullptr;
    std::string m_recordSource;
};
