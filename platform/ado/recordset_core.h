// The working part of a recordset: opening a cursor on a connection, the current record,
// moves and bookmarks, field values, edits, and Find. The Recordset, Fields and Field objects
// share it and report through it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/ado/connection.h"
#include "platform/ado/cursor.h"
#include "platform/ado/field_type.h"

struct FieldDescription {
    std::string name;
    FieldType type;
    LONG attributes = 0;
    bool nullable = true;
    bool updatable = false;
};

struct OpenRequest {
    std::string source;
    CComPtr<CConnection> connection;
    LONG cursorType = adOpenForwardOnly;
    LONG lockType = adLockReadOnly;
    LONG commandType = adCmdUnknown;
    // The connection was opened for this recordset alone and closes with it.
    bool ownsConnection = false;
};

class CRecordsetCore final : public CConnectionListener {
  public:
    CRecordsetCore() = default;
    ~CRecordsetCore();
    CRecordsetCore(const CRecordsetCore&) = delete;
    CRecordsetCore& operator=(const CRecordsetCore&) = delete;

    HRESULT Open(const OpenRequest& request);
    // Opens on the rows a statement already gave, as a static cursor.
    HRESULT Adopt(CComPtr<CConnection> connection, std::string sql, StatementResult result);
    HRESULT Close();
    bool IsOpen() const { return cursor_ != nullptr; }
    // Changes at every open and close, so that Field objects of an earlier opening know.
    std::uint64_t Generation() const { return generation_; }
    CConnection* Connection() const { return connection_.Get(); }
    LONG CursorType() const { return cursorType_; }
    LONG LockType() const { return lockType_; }

    HRESULT MoveFirst();
    HRESULT MoveLast();
    HRESULT MoveNext();
    HRESULT MovePrevious();
    HRESULT Move(LONG records, const VARIANT& start);
    HRESULT AtBof(bool& bof);
    HRESULT AtEof(bool& eof);
    HRESULT GetBookmark(CComVariant& bookmark);
    HRESULT SetBookmark(const VARIANT& bookmark);
    HRESULT RecordCount(LONG& count);
    HRESULT AbsolutePosition(LONG& position);
    HRESULT SetAbsolutePosition(LONG position);
    HRESULT Supports(LONG options, bool& supported);
    HRESULT Requery();

    LONG EditMode() const { return edit_.mode; }
    HRESULT AddNew(const VARIANT& fields, const VARIANT& values);
    HRESULT Update(const VARIANT& fields, const VARIANT& values);
    HRESULT CancelUpdate();
    HRESULT Delete(LONG affect);
    HRESULT Find(std::string_view criteria, LONG skip, LONG direction, const VARIANT& start);

    std::size_t FieldCount() const { return fields_.size(); }
    const FieldDescription& Field(std::size_t index) const { return fields_[index]; }
    // The field a Fields.Item index names (position or name); adErrItemNotFound otherwise.
    HRESULT FieldIndex(const VARIANT& index, std::size_t& field);
    HRESULT FieldValue(std::size_t field, CComVariant& value);
    HRESULT PutFieldValue(std::size_t field, const VARIANT& value);

    // Failures, into the connection's Errors (when there is one) and the thread's error object.
    HRESULT Fail(HRESULT number, std::string description, const char* source = kAdoRecordsetSource);
    HRESULT RequireOpen();

    void TransactionCommitted(int level) override;
    void TransactionRolledBack(int level) override;
    void ConnectionClosing() override;

  private:
    enum class Place { Bof, Record, Eof };

    struct PendingEdit {
        LONG mode = adEditNone;
        DbRow values;
        std::vector<bool> changed;
        // Where the recordset was when AddNew began, for CancelUpdate.
        Place place = Place::Bof;
        std::size_t position = 0;
    };

    HRESULT OpenCursor(const OpenRequest& request, const std::string& sql);
    void SetFields(const std::vector<ColumnInfo>& columns);
    HRESULT ProviderFailure();
    HRESULT NoCurrentRecord();
    HRESULT NotUpdatable();
    CKeysetCursor* Keyset() const;
    bool Updatable() const;
    // The first record not deleted from position on (forward) or back from it; false when
    // there is none.
    // How a move tells that a record exists: by reading its row, or, for a single step, by its
    // key alone, so that a walk that reads no field reads no row.
    enum class Check { Row, Key };
    HRESULT Exists(std::size_t position, Check check, bool& present);
    HRESULT NextPresent(std::size_t from, bool& found, std::size_t& position,
                        Check check = Check::Row);
    HRESULT PreviousPresent(std::size_t from, bool& found, std::size_t& position,
                            Check check = Check::Row);
    HRESULT CurrentRow(const DbRow*& row);
    HRESULT StartOf(const VARIANT& start, bool forward, Place& place, std::size_t& position);
    HRESULT BookmarkPosition(const VARIANT& bookmark, std::size_t& position);
    HRESULT PutValues(const VARIANT& fields, const VARIANT& values);
    HRESULT StorePending();
    HRESULT BeforeMove();
    void ResetEdit();

    CComPtr<CConnection> connection_;
    bool ownsConnection_ = false;
    std::unique_ptr<CCursor> cursor_;
    std::vector<FieldDescription> fields_;
    LONG cursorType_ = adOpenForwardOnly;
    LONG lockType_ = adLockReadOnly;
    Place place_ = Place::Bof;
    std::size_t position_ = 0;
    PendingEdit edit_;
    std::uint64_t generation_ = 0;
};
