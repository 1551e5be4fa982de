// CDataRecordset: one query opened on a connection holder, with record movement, bookmarks,
// field texts both ways, adding, updating, deleting and searching records.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "controls/common/data_connection.h"
#include "platform/ado/ado.h"
#include "platform/com/com_ptr.h"
#include "platform/com/com_variant.h"

// A field of the open recordset as the controls describe it.
struct FieldInfo {
    std::string name;
    // "BOOL", "BYTE", "INT", "CURRENCY", "SINGLE", "DOUBLE", "DATE", "BINARY" or "STRING".
    std::string typeName;
    int definedSize = 0;
    bool nullable = false;  // adFldIsNullable
    bool key = false;       // adFldKeyColumn
    bool isLong = false;    // adFldLong
    LONG type = adEmpty;    // the ADO type code, which tells whole numbers and dates apart
};

// The type name of an ADO field type (DataTypeEnum).
std::string_view FieldTypeName(LONG type);

enum class RecordMove { First, Last, Next, Previous };

// How Open opens the query: a keyset cursor with optimistic locking on SQL text for the
// controls; the designer's preview asks for a dynamic cursor, pessimistic locking and a source
// of unknown kind.
struct RecordsetOpenOptions {
    LONG cursorType = adOpenKeyset;
    LONG lockType = adLockOptimistic;
    LONG options = adCmdText;
};

// The current record is the one cursor of every operation; a caller that needs a particular
// record moves to its bookmark first. Every operation but Open is false and does nothing while
// the recordset is not open. No operation throws: refusals and COM failures are false with the
// last error text saying why (the error message of the failing result, while the connection
// holder refreshes its provider messages), and the recordset is closed, if still open, when the
// wrapper goes.
class CDataRecordset {
  public:
    // The holder must outlive the recordset.
    explicit CDataRecordset(CDataConnection& connection) : connection_(connection) {}
    CDataRecordset(const CDataRecordset&) = delete;
    CDataRecordset& operator=(const CDataRecordset&) = delete;
    ~CDataRecordset();

    // Refused while the holder holds no connection or this recordset is open. On success the
    // first record is current and the fields are described.
    bool Open(std::string_view sql, const RecordsetOpenOptions& how = {});
    void Close();
    bool IsOpen() const { return open_; }

    bool MoveFirst();
    bool MoveLast();
    // False when the move ran past the last record; the last record is then current again.
    bool MoveNext();
    // False when the move ran before the first record; the first record is then current again.
    bool MovePrevious();
    // The move as the recordset makes it, stopping at neither end: past the last record or
    // before the first no record is current, and field texts fail, until a move comes back.
    // False only when the move itself fails.
    bool MoveUnbounded(RecordMove move);
    // Whether the last of the moves above answered false because it failed (the connection
    // lost, say) rather than because it met an end: a walk that stops there has not seen every
    // record.
    bool MoveFailed() const { return moveFailed_; }

    // False when the recordset offers no bookmarks.
    bool GetBookmark(CComVariant& bookmark);
    bool SetBookmark(const VARIANT& bookmark);
    // Moves to the last record to count them, then back to the record that was current.
    bool GetRecordCount(LONG& count);

    bool GetFieldCount(int& count) const;
    bool GetFieldName(int index, std::string& name) const;
    // The index of the field of that name, without regard to case; -1 when there is none or the
    // recordset is closed.
    int FieldIndex(std::string_view name) const;
    bool GetFieldInfo(int index, std::string& name, std::string& typeName, int& definedSize) const;
    bool GetFieldInfo(int index, FieldInfo& info) const;

    // The text of the field's value in the current record (see FieldValueText).
    bool GetFieldText(std::string_view name, std::string& text);
    bool GetFieldText(int index, std::string& text);
    // Stores the text, trimmed, as a string; the field converts it to its type.
    bool SetFieldText(std::string_view name, std::string_view text);
    bool SetFieldText(int index, std::string_view text);
    // The field's value in the current record as it is, and a value stored as it is.
    bool GetFieldValue(int index, CComVariant& value);
    bool SetFieldValue(int index, const VARIANT& value);

    // Whether a record started by AddNew is pending.
    bool IsEditingNew();
    // Starts a new record; refused when the recordset cannot add records or one is pending.
    bool AddNew();
    // Stores the pending edit or new record; false when the recordset cannot update.
    bool Update();
    bool CancelUpdate();
    // Deletes the current record at once; refused when the recordset cannot delete or a new
    // record is pending.
    bool Delete();
    // Searches forward from the current record for the first whose field equals the value
    // (the criterion name='value', quotes in the value doubled, so any value is searched for
    // as it is). True exactly when a matching record is current afterwards; without a match the
    // record that was current stays current.
    bool Find(std::string_view fieldName, std::string_view value);

    void GetLastError(std::string& text) const { text = lastErrorText_; }

  private:
    // Runs an operation so that no exception leaves it: one becomes the last error text (in the
    // const operations, which keep no text, just the false result).
    template <class Body>
    auto Guarded(Body&& body) noexcept;
    template <class Body>
    auto Guarded(Body&& body) const noexcept;
    bool OpenRecordset(std::string_view sql, const RecordsetOpenOptions& how);
    bool DescribeFields();
    bool Supports(LONG option, bool& supported);
    bool EditingNew(bool& editingNew);
    bool AtBOF(bool& bof);
    bool AtEOF(bool& eof);
    // The bookmark of the current record, or empty when there is none to take.
    bool TakeBookmarkIfAny(CComVariant& bookmark);
    bool ItemAt(const VARIANT& index, CComPtr<Field>& field);
    bool FieldValue(const VARIANT& index, CComVariant& value);
    bool FieldText(const VARIANT& index, std::string& text);
    bool PutFieldValue(const VARIANT& index, const VARIANT& value);
    // A refusal: the text becomes the last error text. Always false.
    bool Refuse(std::string_view text);
    // A move, guarded, noting whether its false answer came from a failure.
    template <class Body>
    bool Move(Body&& body) noexcept;
    // True for a success; a failure is recorded and false.
    bool Check(HRESULT hr);
    bool IsFieldIndex(int index) const {
        return index >= 0 && static_cast<std::size_t>(index) < fields_.size();
    }
    // The last error text of an exception stopped by the guard.
    void NoteFailure(HRESULT hr) noexcept;

    CDataConnection& connection_;
    std::vector<FieldInfo> fields_;
    CComPtr<_Recordset> recordset_;
    std::string lastErrorText_;
    unsigned failures_ = 0;
    bool moveFailed_ = false;
    bool open_ = false;
};
