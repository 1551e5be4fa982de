// The preview's connection, transaction and recordset, and the columns' texts to and from the
// current record.
#include "designer/preview_binding.h"

#include "controls/common/column_field.h"

CPreviewBinding::~CPreviewBinding() {
    Disconnect();
}

bool CPreviewBinding::Connect(std::string_view connectionString, std::string_view recordSource) {
    if (!connection_.Open(connectionString) || !connection_.BeginTrans()) {
        return FailConnect();
    }
    const RecordsetOpenOptions how{adOpenDynamic, adLockPessimistic, adCmdUnknown};
    if (!recordset_.Open(recordSource, how) || !recordset_.MoveUnbounded(RecordMove::First)) {
        return FailConnect();
    }
    connected_ = true;
    return true;
}

void CPreviewBinding::Disconnect() {
    if (!connected_) {
        return;
    }
    connected_ = false;
    connection_.RollbackTrans();
    recordset_.Close();
    connection_.Close();
}

bool CPreviewBinding::Commit() {
    if (connection_.CommitTrans() && connection_.BeginTrans()) {
        return true;
    }
    TakeErrorMessage();
    return false;
}

bool CPreviewBinding::Move(RecordMove move) {
    return recordset_.MoveUnbounded(move);
}

bool CPreviewBinding::HasField(const std::string& name) const {
    return recordset_.FieldIndex(name) >= 0;
}

bool CPreviewBinding::WriteField(DesignItem& column) {
    const int field = recordset_.FieldIndex(column.name);
    return field >= 0 && WriteTypedColumn(recordset_, field, column);
}

bool CPreviewBinding::ReadField(DesignItem& column) {
    const int field = recordset_.FieldIndex(column.name);
    std::string text;
    if (field < 0 || !ReadColumnText(recordset_, field, column.mask, text)) {
        return false;
    }
    column.text = std::move(text);
    return true;
}

bool CPreviewBinding::FailConnect() {
    TakeErrorMessage();
    connection_.RollbackTrans();
    recordset_.Close();
    connection_.Close();
    return false;
}

void CPreviewBinding::TakeErrorMessage() {
    std::string description;
    std::string source;
    connection_.GetLastError(description);
    connection_.GetLastErrorSource(source);
    if (description.empty()) {
        recordset_.GetLastError(description);
    }
    if (!description.empty() && description.back() == '\n') {
        description.pop_back();
    }
    errorMessage_ = description + "\n" + source;
}
