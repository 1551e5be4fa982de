// Opening recordsets, the current record and its moves, bookmarks, field values and Find.
#include "platform/ado/recordset_core.h"

#include <cmath>
#include <functional>

#include "platform/ado/find_criteria.h"
#include "platform/ado/sql_shape.h"
#include "platform/ado/value_convert.h"
#include "platform/com/ansi_string.h"
#include "platform/com/exception_guard.h"
#include "platform/com/lcid.h"

namespace {

// Rows a keyset cursor reads per statement, and blocks of them it keeps.
constexpr std::size_t kSqliteBlock = 8;
constexpr std::size_t kSqliteBlocks = 256;
constexpr std::size_t kPostgresBlock = 50;
constexpr std::size_t kPostgresBlocks = 20;

constexpr LONG kCommandTypes =
    adCmdText | adCmdTable | adCmdStoredProc | adCmdUnknown | adCmdFile | adCmdTableDirect;

bool WantsKeyset(LONG cursorType, LONG lockType) {
    return cursorType == adOpenKeyset || cursorType == adOpenDynamic ||
           (cursorType == adOpenForwardOnly && lockType != adLockReadOnly);
}

LONG Attributes(const ColumnInfo& column, bool updatable) {
    LONG attributes = column.type.TypeAttributes();
    if (column.nullable) {
        attributes |= adFldIsNullable | adFldMayBeNull;
    }
    if (column.key) {
        attributes |= adFldKeyColumn;
    }
    if (updatable) {
        attributes |= adFldUpdatable;
    }
    return attributes;
}

}  // namespace

CRecordsetCore::~CRecordsetCore() {
    if (IsOpen()) {
        GuardResult("ADO", [&] { return Close(); });
    }
}

HRESULT CRecordsetCore::Fail(HRESULT number, std::string description, const char* source) {
    return Report(connection_ != nullptr ? connection_->ErrorsObject() : nullptr, number,
                  std::move(description), source);
}

HRESULT CRecordsetCore::ProviderFailure() {
    return connection_->FailInSession();
}

HRESULT CRecordsetCore::RequireOpen() {
    return IsOpen()
               ? S_OK
               : Fail(adErrObjectClosed, "Operation is not allowed when the object is closed.");
}

HRESULT CRecordsetCore::NoCurrentRecord() {
    return Fail(adErrNoCurrentRecord,
                "Either BOF or EOF is True, or the current record has been deleted. Requested "
                "operation requires a current record.");
}

HRESULT CRecordsetCore::NotUpdatable() {
    return Fail(adErrFeatureNotAvailable,
                "Current Recordset does not support updating. This may be a limitation of the "
                "provider, or of the selected locktype.");
}

CKeysetCursor* CRecordsetCore::Keyset() const {
    return cursor_ != nullptr && cursor_->Keyset() ? static_cast<CKeysetCursor*>(cursor_.get())
                                                   : nullptr;
}

bool CRecordsetCore::Updatable() const {
    return Keyset() != nullptr && lockType_ != adLockReadOnly;
}

HRESULT CRecordsetCore::Open(const OpenRequest& request) {
    if (IsOpen()) {
        return Fail(adErrObjectOpen, "Operation is not allowed when the object is open.");
    }
    connection_ = request.connection;
    ownsConnection_ = request.ownsConnection;
    if (connection_ == nullptr || !connection_->IsOpen()) {
        return Fail(adErrInvalidConnection,
                    "The connection cannot be used to perform this operation. It is either "
                    "closed or invalid in this context.");
    }
    const std::string_view source = request.source;
    if (source.find_first_not_of(" \t\r\n") == std::string_view::npos) {
        return Fail(adErrInvalidArgument,
                    "The recordset's source is empty: it needs a query or a table name.");
    }
    const LONG commandType = request.commandType == adCmdUnspecified
                                 ? adCmdUnknown
                                 : (request.commandType & kCommandTypes);
    if (commandType == adCmdStoredProc || commandType == adCmdFile) {
        return Fail(adErrFeatureNotAvailable,
                    "Stored procedures and files are not sources this provider opens.");
    }
    const bool table = commandType == adCmdTable || commandType == adCmdTableDirect ||
                       (commandType != adCmdText && IsPlainName(source));
    const std::string sql =
        table ? "SELECT * FROM " + QuoteIdentifier(source) : std::string(source);
    return OpenCursor(request, sql);
}

HRESULT CRecordsetCore::OpenCursor(const OpenRequest& request, const std::string& sql) {
    CSession& session = connection_->Session();
    const bool postgres = std::string_view(session.ProviderName()) == "PostgreSQL";
    std::vector<ColumnInfo> columns;
    SingleTableQuery shape;
    if (WantsKeyset(request.cursorType, request.lockType) && ParseSingleTableQuery(sql, shape) &&
        !shape.orderByNeedsSelectList) {
        std::unique_ptr<CTableAccess> table = session.OpenTable(sql, shape, columns);
        if (table != nullptr) {
            auto keyset =
                std::make_unique<CKeysetCursor>(std::move(table), false, connection_->Transaction(),
                                                postgres ? kPostgresBlock : kSqliteBlock,
                                                postgres ? kPostgresBlocks : kSqliteBlocks);
            if (!keyset->Open()) {
                return ProviderFailure();
            }
            cursor_ = std::move(keyset);
            cursorType_ = adOpenKeyset;
            lockType_ = request.lockType == adLockReadOnly ? adLockReadOnly : adLockOptimistic;
        }
    }
    if (cursor_ == nullptr) {
        auto snapshot = std::make_unique<CStaticCursor>(session, sql, connection_->Transaction());
        if (!snapshot->Open(columns)) {
            return ProviderFailure();
        }
        cursor_ = std::move(snapshot);
        cursorType_ = adOpenStatic;
        lockType_ = adLockReadOnly;
    }
    SetFields(columns);
    connection_->AddListener(this);
    ++generation_;
    return MoveFirst();
}

HRESULT CRecordsetCore::Adopt(CComPtr<CConnection> connection, std::string sql,
                              StatementResult result) {
    connection_ = std::move(connection);
    auto snapshot = std::make_unique<CStaticCursor>(connection_->Session(), std::move(sql),
                                                    connection_->Transaction());
    std::vector<ColumnInfo> columns = std::move(result.columns);
    snapshot->Adopt(std::move(result.rows));
    cursor_ = std::move(snapshot);
    cursorType_ = adOpenStatic;
    lockType_ = adLockReadOnly;
    SetFields(columns);
    connection_->AddListener(this);
    ++generation_;
    return MoveFirst();
}

void CRecordsetCore::SetFields(const std::vector<ColumnInfo>& columns) {
    const bool updatable = Updatable();
    fields_.clear();
    for (const ColumnInfo& column : columns) {
        const bool writable = updatable && !column.baseColumn.empty();
        fields_.push_back(
            {column.name, column.type, Attributes(column, writable), column.nullable, writable});
    }
}

HRESULT CRecordsetCore::Close() {
    if (!IsOpen()) {
        return Fail(adErrObjectClosed, "Operation is not allowed when the object is closed.");
    }
    ResetEdit();
    cursor_.reset();
    fields_.clear();
    place_ = Place::Bof;
    ++generation_;
    connection_->RemoveListener(this);
    if (ownsConnection_) {
        ownsConnection_ = false;
        connection_->Close();
        connection_.Release();
    }
    return S_OK;
}

void CRecordsetCore::ResetEdit() {
    edit_ = PendingEdit{};
}

HRESULT CRecordsetCore::Exists(std::size_t position, Check check, bool& present) {
    present = false;
    if (cursor_->IsKnownDeleted(position)) {
        return S_OK;
    }
    const DbRow* row = nullptr;
    const bool read =
        check == Check::Key ? cursor_->Present(position, present) : cursor_->Row(position, row);
    present = present || row != nullptr;
    return read ? S_OK : ProviderFailure();
}

HRESULT CRecordsetCore::NextPresent(std::size_t from, bool& found, std::size_t& position,
                                    Check check) {
    for (position = from; position < cursor_->Size(); ++position) {
        bool present = false;
        const HRESULT hr = Exists(position, check, present);
        if (FAILED(hr)) {
            return hr;
        }
        if (present) {
            found = true;
            return S_OK;
        }
    }
    found = false;
    return S_OK;
}

HRESULT CRecordsetCore::PreviousPresent(std::size_t from, bool& found, std::size_t& position,
                                        Check check) {
    for (std::size_t p = std::min(from + 1, cursor_->Size()); p > 0; --p) {
        bool present = false;
        const HRESULT hr = Exists(p - 1, check, present);
        if (FAILED(hr)) {
            return hr;
        }
        if (present) {
            found = true;
            position = p - 1;
            return S_OK;
        }
    }
    found = false;
    return S_OK;
}

HRESULT CRecordsetCore::BeforeMove() {
    HRESULT hr = RequireOpen();
    if (SUCCEEDED(hr) && edit_.mode != adEditNone) {
        hr = StorePending();
    }
    return hr;
}

HRESULT CRecordsetCore::MoveFirst() {
    HRESULT hr = BeforeMove();
    bool found = false;
    if (SUCCEEDED(hr)) {
        hr = NextPresent(0, found, position_);
    }
    if (SUCCEEDED(hr)) {
        place_ = found ? Place::Record : Place::Eof;
    }
    return hr;
}

HRESULT CRecordsetCore::MoveLast() {
    HRESULT hr = BeforeMove();
    bool found = false;
    if (SUCCEEDED(hr) && cursor_->Size() > 0) {
        hr = PreviousPresent(cursor_->Size() - 1, found, position_);
    }
    if (SUCCEEDED(hr)) {
        place_ = found ? Place::Record : Place::Bof;
    }
    return hr;
}

HRESULT CRecordsetCore::MoveNext() {
    HRESULT hr = BeforeMove();
    if (SUCCEEDED(hr) && place_ == Place::Eof) {
        return NoCurrentRecord();
    }
    bool found = false;
    if (SUCCEEDED(hr)) {
        hr = NextPresent(place_ == Place::Bof ? 0 : position_ + 1, found, position_, Check::Key);
    }
    if (SUCCEEDED(hr)) {
        place_ = found ? Place::Record : Place::Eof;
    }
    return hr;
}

HRESULT CRecordsetCore::MovePrevious() {
    HRESULT hr = BeforeMove();
    if (SUCCEEDED(hr) && place_ == Place::Bof) {
        return NoCurrentRecord();
    }
    bool found = false;
    if (SUCCEEDED(hr)) {
        const std::size_t from = place_ == Place::Eof ? cursor_->Size() : position_;
        if (from > 0) {
            hr = PreviousPresent(from - 1, found, position_, Check::Key);
        }
    }
    if (SUCCEEDED(hr)) {
        place_ = found ? Place::Record : Place::Bof;
    }
    return hr;
}

HRESULT CRecordsetCore::Move(LONG records, const VARIANT& start) {
    HRESULT hr = BeforeMove();
    Place place = place_;
    std::size_t position = position_;
    if (SUCCEEDED(hr)) {
        hr = StartOf(start, records >= 0, place, position);
    }
    if (FAILED(hr)) {
        return hr;
    }
    if ((records > 0 && place == Place::Eof) || (records < 0 && place == Place::Bof)) {
        return NoCurrentRecord();
    }
    place_ = place;
    position_ = position;
    const bool forward = records > 0;
    // Widened first: the LONG minimum has no positive LONG.
    const std::int64_t steps = std::abs(static_cast<std::int64_t>(records));
    for (std::int64_t step = 0;
         step < steps && SUCCEEDED(hr) && place_ != (forward ? Place::Eof : Place::Bof); ++step) {
        hr = forward ? MoveNext() : MovePrevious();
    }
    return hr;
}

HRESULT CRecordsetCore::AtBof(bool& bof) {
    const HRESULT hr = RequireOpen();
    const bool empty = IsOpen() && cursor_->Size() == cursor_->DeletedCount() &&
                       place_ != Place::Record && edit_.mode != adEditAdd;
    bof = SUCCEEDED(hr) && (place_ == Place::Bof || empty);
    return hr;
}

HRESULT CRecordsetCore::AtEof(bool& eof) {
    const HRESULT hr = RequireOpen();
    const bool empty = IsOpen() && cursor_->Size() == cursor_->DeletedCount() &&
                       place_ != Place::Record && edit_.mode != adEditAdd;
    eof = SUCCEEDED(hr) && (place_ == Place::Eof || empty);
    return hr;
}

HRESULT CRecordsetCore::GetBookmark(CComVariant& bookmark) {
    HRESULT hr = RequireOpen();
    if (SUCCEEDED(hr) && (place_ != Place::Record || edit_.mode == adEditAdd)) {
        hr = NoCurrentRecord();
    }
    if (SUCCEEDED(hr)) {
        bookmark = CComVariant(static_cast<double>(position_ + 1));
    }
    return hr;
}

HRESULT CRecordsetCore::BookmarkPosition(const VARIANT& bookmark, std::size_t& position) {
    CComVariant number;
    if (FAILED(VariantChangeType(&number, &bookmark, 0, VT_R8)) || number.dblVal < 1 ||
        number.dblVal > static_cast<double>(cursor_->Size()) ||
        number.dblVal != std::floor(number.dblVal)) {
        return Fail(adErrInvalidArgument, "The bookmark is not one of this recordset's.");
    }
    position = static_cast<std::size_t>(number.dblVal) - 1;
    return S_OK;
}

HRESULT CRecordsetCore::SetBookmark(const VARIANT& bookmark) {
    HRESULT hr = BeforeMove();
    std::size_t position = 0;
    if (SUCCEEDED(hr)) {
        hr = BookmarkPosition(bookmark, position);
    }
    if (SUCCEEDED(hr)) {
        place_ = Place::Record;
        position_ = position;
    }
    return hr;
}

HRESULT CRecordsetCore::StartOf(const VARIANT& start, bool forward, Place& place,
                                std::size_t& position) {
    const CComVariant given(start);
    if (given.IsMissing() || given.vt == VT_EMPTY) {
        return S_OK;
    }
    if (given.vt == VT_I2 || given.vt == VT_I4) {
        const LONG which = given.vt == VT_I2 ? given.iVal : given.lVal;
        bool found = false;
        HRESULT hr = S_OK;
        if (which == adBookmarkFirst) {
            hr = NextPresent(0, found, position);
        } else if (which == adBookmarkLast && cursor_->Size() > 0) {
            hr = PreviousPresent(cursor_->Size() - 1, found, position);
        } else if (which != adBookmarkCurrent) {
            return Fail(adErrInvalidArgument, "The start is not a bookmark of this recordset.");
        } else {
            return S_OK;
        }
        place = found ? Place::Record : (forward ? Place::Eof : Place::Bof);
        return hr;
    }
    place = Place::Record;
    return BookmarkPosition(start, position);
}

HRESULT CRecordsetCore::RecordCount(LONG& count) {
    const HRESULT hr = RequireOpen();
    count = SUCCEEDED(hr) ? static_cast<LONG>(cursor_->Size() - cursor_->DeletedCount()) : -1;
    return hr;
}

HRESULT CRecordsetCore::AbsolutePosition(LONG& position) {
    const HRESULT hr = RequireOpen();
    if (FAILED(hr)) {
        return hr;
    }
    if (place_ != Place::Record) {
        position = place_ == Place::Bof ? adPosBOF : adPosEOF;
        return S_OK;
    }
    std::size_t deletedBefore = 0;
    for (std::size_t p = 0; p < position_ && cursor_->DeletedCount() > 0; ++p) {
        deletedBefore += cursor_->IsKnownDeleted(p) ? 1 : 0;
    }
    position = static_cast<LONG>(position_ - deletedBefore + 1);
    return S_OK;
}

HRESULT CRecordsetCore::SetAbsolutePosition(LONG position) {
    HRESULT hr = BeforeMove();
    if (FAILED(hr)) {
        return hr;
    }
    if (position < 1) {
        return Fail(adErrInvalidArgument, "The position is beyond the records.");
    }
    // Counted over the deletions known so far (none: straight to it); a record found deleted
    // on the way moves the count on, so the result is the position-th record that exists.
    const bool noneDeleted = cursor_->DeletedCount() == 0;
    std::size_t p = noneDeleted ? std::min<std::size_t>(position - 1, cursor_->Size()) : 0;
    for (LONG seen = noneDeleted ? position - 1 : 0; p < cursor_->Size(); ++p) {
        if (cursor_->IsKnownDeleted(p) || ++seen < position) {
            continue;
        }
        const DbRow* row = nullptr;
        if (!cursor_->Row(p, row)) {
            return ProviderFailure();
        }
        if (row != nullptr) {
            break;
        }
        --seen;
    }
    if (p >= cursor_->Size()) {
        return Fail(adErrInvalidArgument, "The position is beyond the records.");
    }
    place_ = Place::Record;
    position_ = p;
    return S_OK;
}

HRESULT CRecordsetCore::Supports(LONG options, bool& supported) {
    const HRESULT hr = RequireOpen();
    LONG offered = adBookmark | adFind | adMovePrevious | adHoldRecords | adApproxPosition;
    if (SUCCEEDED(hr) && Updatable()) {
        offered |= adAddNew | adDelete | adUpdate | adUpdateBatch;
    }
    supported = SUCCEEDED(hr) && (offered & options) == options;
    return hr;
}

HRESULT CRecordsetCore::Requery() {
    HRESULT hr = BeforeMove();
    if (SUCCEEDED(hr) && !cursor_->Requery()) {
        hr = ProviderFailure();
    }
    return SUCCEEDED(hr) ? MoveFirst() : hr;
}

HRESULT CRecordsetCore::CurrentRow(const DbRow*& row) {
    row = nullptr;
    if (place_ != Place::Record) {
        return NoCurrentRecord();
    }
    if (!cursor_->Row(position_, row)) {
        return ProviderFailure();
    }
    return row != nullptr ? S_OK : NoCurrentRecord();
}

HRESULT CRecordsetCore::FieldIndex(const VARIANT& index, std::size_t& field) {
    HRESULT hr = RequireOpen();
    if (FAILED(hr)) {
        return hr;
    }
    // The controls read every field of every row they show by its ordinal: it needs no copy.
    if (index.vt == VT_I4 && index.lVal >= 0 &&
        static_cast<std::size_t>(index.lVal) < fields_.size()) {
        field = static_cast<std::size_t>(index.lVal);
        return S_OK;
    }
    CComVariant given;
    VariantCopyInd(&given, &index);
    if (given.vt == VT_BSTR) {
        // The name as the field spells it is the common case, and cheaper than folding.
        const auto named = [&](const auto& equal) {
            for (field = 0; field < fields_.size(); ++field) {
                if (equal(fields_[field].name, given.Text())) {
                    return true;
                }
            }
            return false;
        };
        if (named(std::equal_to<std::string_view>()) || named(EqualsNoCase)) {
            return S_OK;
        }
    } else if (SUCCEEDED(VariantChangeType(&given, &given, 0, VT_I4)) && given.lVal >= 0 &&
               static_cast<std::size_t>(given.lVal) < fields_.size()) {
        field = static_cast<std::size_t>(given.lVal);
        return S_OK;
    }
    return Fail(adErrItemNotFound,
                "Item cannot be found in the collection corresponding to the requested name or "
                "ordinal.");
}

HRESULT CRecordsetCore::FieldValue(std::size_t field, CComVariant& value) {
    HRESULT hr = RequireOpen();
    if (FAILED(hr)) {
        return hr;
    }
    const FieldDescription& info = fields_[field];
    if (edit_.mode != adEditNone && edit_.changed[field]) {
        return DbToVariant(info.type, edit_.values[field], value);
    }
    if (edit_.mode == adEditAdd) {
        value = CComVariant::Null();
        return S_OK;
    }
    const DbRow* row = nullptr;
    hr = CurrentRow(row);
    return SUCCEEDED(hr) ? DbToVariant(info.type, (*row)[field], value) : hr;
}

HRESULT CRecordsetCore::Find(std::string_view criteria, LONG skip, LONG direction,
                             const VARIANT& start) {
    HRESULT hr = BeforeMove();
    if (FAILED(hr)) {
        return hr;
    }
    FindCriterion criterion;
    if (!ParseFindCriterion(criteria, criterion)) {
        return Fail(adErrInvalidArgument, "The Find criterion '" + std::string(criteria) +
                                              "' is not of the form field = value.");
    }
    std::size_t field = 0;
    hr = FieldIndex(CComVariant(criterion.field), field);
    if (FAILED(hr)) {
        return Fail(adErrInvalidArgument, "The Find criterion names '" + criterion.field +
                                              "', which is no field of "
                                              "the recordset.");
    }
    CFindMatcher matcher;
    if (!matcher.Prepare(fields_[field].type, criterion, GetUserDefaultLCID())) {
        return Fail(DISP_E_TYPEMISMATCH, "The value '" + criterion.text +
                                             "' of the Find criterion does not fit the type of "
                                             "field '" +
                                             fields_[field].name + "'.");
    }
    const bool forward = direction != adSearchBackward;
    Place place = place_;
    std::size_t position = position_;
    hr = StartOf(start, forward, place, position);
    if (FAILED(hr)) {
        return hr;
    }
    // From BOF forward the scan starts at the first record, from EOF backward at the last.
    const auto size = static_cast<std::int64_t>(cursor_->Size());
    std::int64_t at = static_cast<std::int64_t>(position);
    if (place != Place::Record) {
        at = forward ? (place == Place::Bof ? 0 : size) : (place == Place::Eof ? size - 1 : -1);
    }
    at += forward ? skip : -static_cast<std::int64_t>(skip);
    bool found = false;
    if (at >= 0 && at < size &&
        !cursor_->Scan(
            static_cast<std::size_t>(at), forward, field,
            [&](const DbValue& value) { return matcher.Matches(value); }, found, position)) {
        return ProviderFailure();
    }
    place_ = found ? Place::Record : (forward ? Place::Eof : Place::Bof);
    position_ = found ? position : position_;
    return S_OK;
}

void CRecordsetCore::TransactionCommitted(int level) {
    cursor_->AfterCommit(level);
}

void CRecordsetCore::TransactionRolledBack(int level) {
    if (!cursor_->AfterRollback(level)) {
        ProviderFailure();
    }
}

void CRecordsetCore::ConnectionClosing() {
    ownsConnection_ = false;
    Close();
}
