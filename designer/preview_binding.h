// CPreviewBinding: the preview's own connection to the designer's data source, its transaction
// and the recordset of the record source, through which the columns show and write records.
#pragma once

#include <string>
#include <string_view>

#include "controls/common/data_connection.h"
#include "controls/common/data_recordset.h"
#include "controls/common/design.h"

// The data source the preview connects to: an entry of the data-source file, so that a user
// points the preview at any database by editing that file.
inline constexpr std::string_view kPreviewDataSourceName = "qorform";

// No operation throws; failures are results, and the ones a user is told of leave their
// message in ErrorMessage.
class CPreviewBinding {
  public:
    CPreviewBinding() = default;
    CPreviewBinding(const CPreviewBinding&) = delete;
    CPreviewBinding& operator=(const CPreviewBinding&) = delete;
    // Ends an open binding as Disconnect does, so that closing the window undoes what was not
    // committed.
    ~CPreviewBinding();

    // While not connected: opens the connection, begins a transaction, opens the record source
    // with a dynamic cursor and pessimistic locking and moves to the first record. On a failure
    // nothing stays open and the result is false.
    bool Connect(std::string_view connectionString, std::string_view recordSource);
    // Rolls the transaction back and closes the recordset and the connection; how that goes is
    // not reported. Nothing happens when not connected.
    void Disconnect();
    bool IsConnected() const { return connected_; }

    // Commits the transaction and begins the next one; false when either fails.
    bool Commit();
    // False when the move fails (moving on from beyond either end does).
    bool Move(RecordMove move);
    // Whether the current record source has a field of the name, ignoring case.
    bool HasField(const std::string& name) const;
    // Stores the column's typed text into the field named as the column and updates the record
    // (see WriteTypedColumn); true when the text waits on screen unwritten. A column without
    // such a field keeps its text on its own.
    bool WriteField(DesignItem& column);
    // Gives the column the current record's value of its field again; false when there is no
    // such field or it cannot be read.
    bool ReadField(DesignItem& column);

    // The description and the source of the last reported failure joined by a line break.
    const std::string& ErrorMessage() const { return errorMessage_; }

  private:
    // Takes the failure's message and closes whatever the failed Connect opened. Always false.
    bool FailConnect();
    void TakeErrorMessage();

    CDataConnection connection_;
    CDataRecordset recordset_{connection_};
    bool connected_ = false;
    std::string errorMessage_;
};
