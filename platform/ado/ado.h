// The data-access object model: Connection, Recordset, Fields, Field, Errors and Error as
// dispatch interfaces, ADO's constants with ADO's values, and the registration of the classes.
#pragma once

#include "platform/com/bstr.h"
#include "platform/com/dispatch.h"
#include "platform/com/hresult.h"
#include "platform/com/variant.h"

// Every member returns an HRESULT and never throws; results come through out-pointers, which
// the caller owns afterwards (BSTRs to free, interfaces to release, VARIANTs to clear). A
// failing member also sets the thread's error object (description and source, see
// platform/com/error_info.h) and appends an Error to its connection's Errors.
//
// Providers and connection strings (keys without regard to case, values optionally quoted with
// '...' or "..." in which a doubled quote stands for itself):
//   Provider=SQLite;Data Source=FILE[;Mode=Create|ReadWrite|Read]
//       The default provider. A missing file is an error unless Mode=Create; Mode=Read opens
//       the file read-only. An in-memory or temporary database (":memory:", "file::memory:")
//       needs Mode=Create too. No value may hold a NUL character.
//   Provider=PostgreSQL;Host=H;Port=P;Database=D;User ID=U;Password=W[;Connect Timeout=S]
//       S seconds to connect (default 5). Open's user and password arguments, when not empty,
//       replace User ID and Password.
//   DSN=NAME[;more keys]
//       The data source NAME from the data-source file, whose keys the string's other keys
//       override. The file is $QOR_DATASOURCES, else $XDG_CONFIG_HOME/qor/datasources, else
//       ~/.config/qor/datasources:
//           # comment (also ;)
//           [Sales]
//           Provider=SQLite
//           Data Source=/srv/data/sales.db
//       Section names compare without regard to case; a relative Data Source is taken from the
//       folder of the data-source file.
//
// Field types (DataTypeEnum) from declared column types:
//   INTEGER, INT, MEDIUMINT        adInteger, VT_I4 (a stored value beyond 32 bits: VT_DECIMAL)
//   SMALLINT, INT2                 adSmallInt, VT_I2
//   BIGINT, INT8                   adBigInt, VT_DECIMAL (exact, and shown by every text
//                                  conversion of the controls)
//   REAL, DOUBLE, FLOAT (float8)   adDouble, VT_R8; PostgreSQL real (float4) adSingle, VT_R4
//   CURRENCY, MONEY                adCurrency, VT_CY; PostgreSQL numeric(19,4) also
//   NUMERIC(p,s), DECIMAL(p,s)     adNumeric, VT_DECIMAL
//   DATE, DATETIME, TIMESTAMP      adDate, VT_DATE (adDate rather than adDBDate, so that the
//                                  controls describe the field as a date)
//   BOOLEAN, BOOL, BIT             adBoolean, VT_BOOL
//   VARCHAR(n), NVARCHAR(n)        adVarChar, DefinedSize n, VT_BSTR
//   CHAR(n), CHARACTER(n)          adChar, DefinedSize n, adFldFixed
//   TEXT, CLOB, VARCHAR            adLongVarChar, DefinedSize 2147483647, adFldLong
//   BINARY(n)                      adBinary, DefinedSize n, VT_ARRAY | VT_UI1
//   BLOB, BYTEA, VARBINARY         adLongVarBinary, adFldLong
//   no declared type (expressions) from the first value: integer adInteger, real adDouble,
//                                  text adVarChar (255), blob adLongVarBinary
// NULL is VT_NULL. Text stored where a date, number or boolean is declared and that is none
// comes back as VT_BSTR rather than failing the read.
//
// Cursors: a query of the shape SELECT * | columns FROM one-table [WHERE ...] [ORDER BY ...]
// over a table with a key (SQLite: a rowid table, whose INTEGER PRIMARY KEY is the rowid;
// PostgreSQL: a single-column primary key) opens as a keyset cursor: the keys are read at
// open, rows are fetched in blocks on demand, and with a lock other than adLockReadOnly the
// recordset adds, updates and deletes by key. adOpenDynamic is served as adOpenKeyset,
// adLockPessimistic and adLockBatchOptimistic as adLockOptimistic (writes are immediate);
// adOpenForwardOnly with an updating lock is served as a keyset cursor. Every other request or
// query opens as a read-only static cursor (adOpenStatic, adLockReadOnly). CursorType and
// LockType tell what was given after Open. Bookmarks are VT_R8 values, stable across moves,
// updates, adds and deletes. A deleted record stays current until the next move, which skips
// it.
//
// Find criteria: FIELD OP VALUE, OP one of = <> < > <= >= LIKE, FIELD a field name (or
// [name]), VALUE 'text' (a quote inside doubled), a number (with '.'), #date# (month/day/year
// or year-month-day), or NULL (with = and <>). Text compares without regard to case; LIKE takes
// * or % as a wildcard at either end. The value is never put into SQL text.

// ObjectStateEnum
enum ObjectStateEnum : LONG {
    adStateClosed = 0,
    adStateOpen = 1,
    adStateConnecting = 2,
    adStateExecuting = 4,
    adStateFetching = 8,
};

// CursorTypeEnum
enum CursorTypeEnum : LONG {
    adOpenUnspecified = -1,
    adOpenForwardOnly = 0,
    adOpenKeyset = 1,
    adOpenDynamic = 2,
    adOpenStatic = 3,
};

// LockTypeEnum
enum LockTypeEnum : LONG {
    adLockUnspecified = -1,
    adLockReadOnly = 1,
    adLockPessimistic = 2,
    adLockOptimistic = 3,
    adLockBatchOptimistic = 4,
};

// CommandTypeEnum, and ExecuteOptionEnum's flags that may be or-ed into an options argument.
enum CommandTypeEnum : LONG {
    adCmdUnspecified = -1,
    adCmdText = 0x1,
    adCmdTable = 0x2,
    adCmdStoredProc = 0x4,
    adCmdUnknown = 0x8,
    adCmdFile = 0x100,
    adCmdTableDirect = 0x200,
};
enum ExecuteOptionEnum : LONG {
    adOptionUnspecified = -1,
    adAsyncExecute = 0x10,
    adAsyncFetch = 0x20,
    adAsyncFetchNonBlocking = 0x40,
    adExecuteNoRecords = 0x80,
};

// ConnectOptionEnum
enum ConnectOptionEnum : LONG {
    adConnectUnspecified = -1,
    adAsyncConnect = 0x10,
};

// CursorOptionEnum: what Recordset.Supports is asked.
enum CursorOptionEnum : LONG {
    adHoldRecords = 0x100,
    adMovePrevious = 0x200,
    adAddNew = 0x1000400,
    adDelete = 0x1000800,
    adUpdate = 0x1008000,
    adBookmark = 0x2000,
    adApproxPosition = 0x4000,
    adUpdateBatch = 0x10000,
    adResync = 0x20000,
    adNotify = 0x40000,
    adFind = 0x80000,
    adSeek = 0x400000,
    adIndex = 0x800000,
};

// EditModeEnum
enum EditModeEnum : LONG {
    adEditNone = 0,
    adEditInProgress = 1,
    adEditAdd = 2,
    adEditDelete = 4,
};

// AffectEnum
enum AffectEnum : LONG {
    adAffectCurrent = 1,
    adAffectGroup = 2,
    adAffectAll = 3,
    adAffectAllChapters = 4,
};

// SearchDirectionEnum
enum SearchDirectionEnum : LONG {
    adSearchBackward = -1,
    adSearchForward = 1,
};

// BookmarkEnum: the start of Find and Move may also be one of these.
enum BookmarkEnum : LONG {
    adBookmarkCurrent = 0,
    adBookmarkFirst = 1,
    adBookmarkLast = 2,
};

// PositionEnum: AbsolutePosition away from a record.
enum PositionEnum : LONG {
    adPosUnknown = -1,
    adPosBOF = -2,
    adPosEOF = -3,
};

// FieldAttributeEnum
enum FieldAttributeEnum : LONG {
    adFldUnspecified = -1,
    adFldMayDefer = 0x2,
    adFldUpdatable = 0x4,
    adFldUnknownUpdatable = 0x8,
    adFldFixed = 0x10,
    adFldIsNullable = 0x20,
    adFldMayBeNull = 0x40,
    adFldLong = 0x80,
    adFldRowID = 0x100,
    adFldRowVersion = 0x200,
    adFldCacheDeferred = 0x1000,
    adFldIsChapter = 0x2000,
    adFldNegativeScale = 0x4000,
    adFldKeyColumn = 0x8000,
};

// DataTypeEnum
enum DataTypeEnum : LONG {
    adEmpty = 0,
    adSmallInt = 2,
    adInteger = 3,
    adSingle = 4,
    adDouble = 5,
    adCurrency = 6,
    adDate = 7,
    adBSTR = 8,
    adIDispatch = 9,
    adError = 10,
    adBoolean = 11,
    adVariant = 12,
    adIUnknown = 13,
    adDecimal = 14,
    adTinyInt = 16,
    adUnsignedTinyInt = 17,
    adUnsignedSmallInt = 18,
    adUnsignedInt = 19,
    adBigInt = 20,
    adUnsignedBigInt = 21,
    adFileTime = 64,
    adGUID = 72,
    adBinary = 128,
    adChar = 129,
    adWChar = 130,
    adNumeric = 131,
    adUserDefined = 132,
    adDBDate = 133,
    adDBTime = 134,
    adDBTimeStamp = 135,
    adChapter = 136,
    adPropVariant = 138,
    adVarNumeric = 139,
    adVarChar = 200,
    adLongVarChar = 201,
    adVarWChar = 202,
    adLongVarWChar = 203,
    adVarBinary = 204,
    adLongVarBinary = 205,
};

// ConnectModeEnum (the Mode key of a connection string, by name).
enum ConnectModeEnum : LONG {
    adModeUnknown = 0,
    adModeRead = 1,
    adModeWrite = 2,
    adModeReadWrite = 3,
};

// ErrorValueEnum: the failing results of the object model, 0x800A0000 + ADO's error number.
constexpr HRESULT MakeAdoError(int number) {
    return MAKE_HRESULT(1, 0xA, static_cast<unsigned>(number));
}
constexpr HRESULT adErrProviderFailed = MakeAdoError(3000);
constexpr HRESULT adErrInvalidArgument = MakeAdoError(3001);
constexpr HRESULT adErrOpeningFile = MakeAdoError(3002);
constexpr HRESULT adErrNoCurrentRecord = MakeAdoError(3021);
constexpr HRESULT adErrIllegalOperation = MakeAdoError(3219);
constexpr HRESULT adErrInTransaction = MakeAdoError(3246);
constexpr HRESULT adErrFeatureNotAvailable = MakeAdoError(3251);
constexpr HRESULT adErrItemNotFound = MakeAdoError(3265);
constexpr HRESULT adErrObjectNotSet = MakeAdoError(3420);
constexpr HRESULT adErrDataConversion = MakeAdoError(3421);
constexpr HRESULT adErrObjectClosed = MakeAdoError(3704);
constexpr HRESULT adErrObjectOpen = MakeAdoError(3705);
constexpr HRESULT adErrProviderNotFound = MakeAdoError(3706);
constexpr HRESULT adErrInvalidParamInfo = MakeAdoError(3708);
constexpr HRESULT adErrInvalidConnection = MakeAdoError(3709);
constexpr HRESULT adErrInvalidTransaction = MakeAdoError(3714);
// A record to update or delete has no row any more: another user deleted it or changed its key.
constexpr HRESULT DB_E_CONCURRENCYVIOLATION = static_cast<HRESULT>(0x80040E38);

// Source texts of the errors.
inline constexpr const char* kAdoConnectionSource = "ADODB.Connection";
inline constexpr const char* kAdoRecordsetSource = "ADODB.Recordset";
inline constexpr const char* kAdoFieldSource = "ADODB.Field";
inline constexpr const char* kSQLiteProviderSource = "QOR SQLite Provider";
inline constexpr const char* kPostgreSQLProviderSource = "QOR PostgreSQL Provider";

struct Error : IDispatch {
    static constexpr IID iid = MakeGuid("{2AF38CE5-E6DE-4B12-A612-7338FE94C3DF}");
    using InterfaceBase = IDispatch;

    // The failing HRESULT.
    virtual HRESULT get_Number(LONG* number) = 0;
    virtual HRESULT get_Source(BSTR* source) = 0;
    virtual HRESULT get_Description(BSTR* description) = 0;
    // The provider's own code (SQLite result code; 0 for PostgreSQL) and SQL state ("" when
    // the provider gave none).
    virtual HRESULT get_NativeError(LONG* nativeError) = 0;
    virtual HRESULT get_SQLState(BSTR* sqlState) = 0;

  protected:
    ~Error() = default;
};

struct Errors : IDispatch {
    static constexpr IID iid = MakeGuid("{12E76239-0E83-4D09-B477-1143575CA3EA}");
    using InterfaceBase = IDispatch;

    virtual HRESULT get_Count(LONG* count) = 0;
    // index: a position from 0 (any integer variant); adErrItemNotFound beyond the count.
    virtual HRESULT get_Item(VARIANT index, Error** error) = 0;
    virtual HRESULT Clear() = 0;

  protected:
    ~Errors() = default;
};

struct Field : IDispatch {
    static constexpr IID iid = MakeGuid("{A7548EC5-E816-48AA-A49C-6E74C6B426BD}");
    using InterfaceBase = IDispatch;

    virtual HRESULT get_Name(BSTR* name) = 0;
    // A DataTypeEnum value.
    virtual HRESULT get_Type(LONG* type) = 0;
    virtual HRESULT get_DefinedSize(LONG* size) = 0;
    // FieldAttributeEnum bits.
    virtual HRESULT get_Attributes(LONG* attributes) = 0;
    virtual HRESULT get_Precision(BYTE* precision) = 0;
    virtual HRESULT get_NumericScale(BYTE* scale) = 0;
    // The length of the current value: bytes of text or binary, the type's size otherwise.
    virtual HRESULT get_ActualSize(LONG* size) = 0;
    // The value of the current record (or of the record being added); adErrNoCurrentRecord at
    // BOF, at EOF and on a deleted record.
    virtual HRESULT get_Value(VARIANT* value) = 0;
    // Converts the value to the field's type (text under the user's locale) and starts or
    // continues the edit of the current record; VT_NULL and VT_EMPTY store NULL.
    // DISP_E_TYPEMISMATCH, DISP_E_OVERFLOW or adErrDataConversion for a value the type
    // cannot hold; adErrFeatureNotAvailable on a read-only recordset or field.
    virtual HRESULT put_Value(VARIANT value) = 0;

  protected:
    ~Field() = default;
};

struct Fields : IDispatch {
    static constexpr IID iid = MakeGuid("{A87FE014-3978-4F8D-BB6D-F8208EB4ED40}");
    using InterfaceBase = IDispatch;

    virtual HRESULT get_Count(LONG* count) = 0;
    // index: a position from 0 (VT_I2, VT_I4 or another integer variant) or a name (VT_BSTR,
    // without regard to case); adErrItemNotFound when there is no such field.
    virtual HRESULT get_Item(VARIANT index, Field** field) = 0;

  protected:
    ~Fields() = default;
};

struct _Recordset;  // NOLINT(bugprone-reserved-identifier): the object model's own name

struct _Connection : IDispatch {  // NOLINT(bugprone-reserved-identifier): ADO's interface name
    static constexpr IID iid = MakeGuid("{087EA44F-0195-49E6-B3C4-974F08CD9F03}");
    using InterfaceBase = IDispatch;

    virtual HRESULT get_ConnectionString(BSTR* connectionString) = 0;
    // adErrObjectOpen while open.
    virtual HRESULT put_ConnectionString(BSTR connectionString) = 0;
    // Seconds to wait for a server (default 5), and for a locked SQLite file (default 5).
    virtual HRESULT get_ConnectionTimeout(LONG* seconds) = 0;
    virtual HRESULT put_ConnectionTimeout(LONG seconds) = 0;
    virtual HRESULT get_CommandTimeout(LONG* seconds) = 0;
    virtual HRESULT put_CommandTimeout(LONG seconds) = 0;
    // "SQLite" or "PostgreSQL" once open; the provider of the connection string before.
    virtual HRESULT get_Provider(BSTR* provider) = 0;
    // ObjectStateEnum.
    virtual HRESULT get_State(LONG* state) = 0;
    virtual HRESULT get_Errors(Errors** errors) = 0;
    // An empty connectionString uses the ConnectionString property. adErrObjectOpen when open.
    virtual HRESULT Open(BSTR connectionString, BSTR userID, BSTR password, LONG options) = 0;
    // Rolls back a transaction still running; closes the recordsets open on it.
    virtual HRESULT Close() = 0;
    // Transactions nest: level is 1 for the outermost one.
    virtual HRESULT BeginTrans(LONG* level) = 0;
    virtual HRESULT CommitTrans() = 0;
    virtual HRESULT RollbackTrans() = 0;
    // Runs a statement; a query gives an open static recordset, other statements a closed
    // one (or none with adExecuteNoRecords). recordsAffected and recordset may be null.
    virtual HRESULT Execute(BSTR commandText, VARIANT* recordsAffected, LONG options,
                            _Recordset** recordset) = 0;

  protected:
    ~_Connection() = default;
};

struct _Recordset : IDispatch {
    static constexpr IID iid = MakeGuid("{4D84279C-E009-4159-9ADF-75CCB550B61C}");
    using InterfaceBase = IDispatch;

    // Requested before Open, given after it.
    virtual HRESULT get_CursorType(LONG* cursorType) = 0;
    virtual HRESULT put_CursorType(LONG cursorType) = 0;
    virtual HRESULT get_LockType(LONG* lockType) = 0;
    virtual HRESULT put_LockType(LONG lockType) = 0;
    // The query text, or the Source given before Open.
    virtual HRESULT get_Source(BSTR* source) = 0;
    // The connection as VT_DISPATCH, VT_EMPTY when none.
    virtual HRESULT get_ActiveConnection(VARIANT* connection) = 0;

    // source: SQL text or a table name (VT_BSTR); a missing argument takes the Source and
    // ActiveConnection properties. activeConnection: a Connection as VT_DISPATCH or VT_UNKNOWN,
    // or a connection string (the recordset then owns that connection). cursorType and
    // lockType adOpenUnspecified / adLockUnspecified take the properties. options: a
    // CommandTypeEnum value (adCmdUnknown: a single name is a table, anything else SQL text).
    // On success the first record is current (or BOF and EOF are both true).
    virtual HRESULT Open(VARIANT source, VARIANT activeConnection, LONG cursorType, LONG lockType,
                         LONG options) = 0;
    virtual HRESULT Close() = 0;
    virtual HRESULT get_State(LONG* state) = 0;

    // A pending edit is stored before every move (failing the move when it cannot be).
    virtual HRESULT MoveFirst() = 0;
    virtual HRESULT MoveLast() = 0;
    // adErrNoCurrentRecord when already at EOF (MoveNext) or BOF (MovePrevious).
    virtual HRESULT MoveNext() = 0;
    virtual HRESULT MovePrevious() = 0;
    // numRecords from the current record, or from start (a bookmark or a BookmarkEnum value).
    virtual HRESULT Move(LONG numRecords, VARIANT start) = 0;
    virtual HRESULT get_BOF(VARIANT_BOOL* bof) = 0;
    virtual HRESULT get_EOF(VARIANT_BOOL* eof) = 0;
    virtual HRESULT get_Bookmark(VARIANT* bookmark) = 0;
    // adErrInvalidArgument for a bookmark this recordset did not give; a deleted record's
    // bookmark makes it current, as a deleted record.
    virtual HRESULT put_Bookmark(VARIANT bookmark) = 0;
    // Records not deleted.
    virtual HRESULT get_RecordCount(LONG* count) = 0;
    // 1-based position among the records not deleted, or a PositionEnum value.
    virtual HRESULT get_AbsolutePosition(LONG* position) = 0;
    virtual HRESULT put_AbsolutePosition(LONG position) = 0;
    // CursorOptionEnum bits, all of which must be offered.
    virtual HRESULT Supports(LONG cursorOptions, VARIANT_BOOL* supported) = 0;

    virtual HRESULT get_EditMode(LONG* editMode) = 0;
    // Starts a new record (fields NULL); with fieldList and values (a name or position, or
    // arrays of them, and the values) it is stored at once. Arguments may be missing.
    virtual HRESULT AddNew(VARIANT fieldList, VARIANT values) = 0;
    // Stores the pending edit or new record; fields and values as for AddNew are put first.
    virtual HRESULT Update(VARIANT fields, VARIANT values) = 0;
    virtual HRESULT CancelUpdate() = 0;
    // adAffectCurrent only: deletes the current record at once.
    virtual HRESULT Delete(LONG affectRecords) = 0;
    // Writes are immediate, so this stores a pending edit, if any, and is otherwise done.
    virtual HRESULT UpdateBatch(LONG affectRecords) = 0;
    // See the criteria above. start: missing for the current record, a bookmark, or a
    // BookmarkEnum value. No match leaves the recordset at EOF (forward) or BOF (backward).
    virtual HRESULT Find(BSTR criteria, LONG skipRecords, LONG searchDirection, VARIANT start) = 0;
    // Reads the records again: the keys of a keyset cursor, all rows of a static one.
    virtual HRESULT Requery(LONG options) = 0;

    virtual HRESULT get_Fields(Fields** fields) = 0;

  protected:
    ~_Recordset() = default;
};

// Interface identifiers under the platform's names.
inline constexpr const IID& IID_Error = Error::iid;
inline constexpr const IID& IID_Errors = Errors::iid;
inline constexpr const IID& IID_Field = Field::iid;
inline constexpr const IID& IID_Fields = Fields::iid;
// NOLINTNEXTLINE(bugprone-reserved-identifier): ADO's identifier names
inline constexpr const IID& IID__Connection = _Connection::iid;
// NOLINTNEXTLINE(bugprone-reserved-identifier): ADO's identifier names
inline constexpr const IID& IID__Recordset = _Recordset::iid;

// The classes, created by CoCreateInstance (after RegisterAdoClasses) by id or by ProgID.
inline constexpr CLSID CLSID_Connection = MakeGuid("{0A14C758-A0FC-4E03-B127-471D6BEACD4A}");
inline constexpr CLSID CLSID_Recordset = MakeGuid("{BCA00C77-9CBF-4929-97ED-DFDB702FD616}");
inline constexpr const char* kConnectionProgID = "ADODB.Connection";
inline constexpr const char* kRecordsetProgID = "ADODB.Recordset";

// Registers the Connection and Recordset classes and their ProgIDs in this process. The first
// call registers, later calls (from any thread) return its result; call it before creating
// the objects by CoCreateInstance.
HRESULT RegisterAdoClasses();
