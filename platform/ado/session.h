// The providers behind a connection: a session runs statements and transactions, and a table
// access reads and writes one table's rows by key for a keyset cursor.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ado/connection_string.h"
#include "platform/ado/db_value.h"
#include "platform/ado/field_type.h"
#include "platform/ado/sql_shape.h"

struct ColumnInfo {
    std::string name;
    FieldType type;
    // The table column the field reads; empty for an expression.
    std::string baseColumn;
    bool nullable = true;
    bool key = false;            // part of the table's primary key
    bool typeFromValue = false;  // no declared type: the first value decides
};

// Everything a statement gave back.
struct StatementResult {
    bool returnsRows = false;
    std::vector<ColumnInfo> columns;
    std::vector<DbRow> rows;
    long affected = -1;  // rows changed, -1 for a query
};

// Called with each row found: its index among the keys asked for, and its values in field order.
using RowSink = std::function<void(std::size_t index, DbRow& row)>;
// Called with one field's value of each row found, by its index among the keys asked for.
using ValueSink = std::function<void(std::size_t index, DbValue& value)>;
// Called with the index, among the keys asked for, of each key that has a row.
using KeySink = std::function<void(std::size_t index)>;

// Methods return false on failure, with the session's LastError telling why.
class CTableAccess {
  public:
    virtual ~CTableAccess() = default;
    CTableAccess() = default;
    CTableAccess(const CTableAccess&) = delete;
    CTableAccess& operator=(const CTableAccess&) = delete;

    // The keys in the order of the query.
    virtual bool ReadKeys(KeyList& keys) = 0;
    // The rows of keys first .. first + count - 1; keys without a row are not reported.
    virtual bool FetchRows(const KeyList& keys, std::size_t first, std::size_t count,
                           const RowSink& sink) = 0;
    // One field of the rows of keys first .. first + count - 1, for scanning many records.
    virtual bool FetchField(const KeyList& keys, std::size_t first, std::size_t count,
                            std::size_t field, const ValueSink& sink) = 0;
    // Which of keys first .. first + count - 1 still have a row, reading the keys alone.
    virtual bool FetchPresent(const KeyList& keys, std::size_t first, std::size_t count,
                              const KeySink& sink) = 0;
    // columns are field indexes; the new row's key comes back.
    virtual bool Insert(const std::vector<std::size_t>& columns, const DbRow& values,
                        DbValue& newKey) = 0;
    // found is false when no row has the key; newKey is the key after the change.
    virtual bool Update(const DbValue& key, const std::vector<std::size_t>& columns,
                        const DbRow& values, bool& found, DbValue& newKey) = 0;
    virtual bool Delete(const DbValue& key, bool& found) = 0;
    // The field that holds the key, when the query selects it: its new value is the new key.
    virtual std::ptrdiff_t KeyField() const = 0;
};

class CSession {
  public:
    virtual ~CSession() = default;
    CSession() = default;
    CSession(const CSession&) = delete;
    CSession& operator=(const CSession&) = delete;

    virtual const char* ProviderName() const = 0;
    virtual const char* Source() const = 0;
    virtual const ErrorRecord& LastError() const = 0;

    // Transactions nest from level 1; deeper levels are savepoints.
    virtual bool Begin(int level) = 0;
    virtual bool Commit(int level) = 0;
    virtual bool Rollback(int level) = 0;

    // Runs one statement. With rowsOnly a statement that returns no rows is refused before it
    // runs.
    virtual bool Execute(std::string_view sql, bool rowsOnly, StatementResult& result) = 0;
    // A table access for a single-table query with a key, and the query's columns; null when
    // the query cannot have one (the error, if any, shows when the query runs as a static one).
    virtual std::unique_ptr<CTableAccess> OpenTable(std::string_view sql,
                                                    const SingleTableQuery& shape,
                                                    std::vector<ColumnInfo>& columns) = 0;
    virtual void SetTimeouts(int connectSeconds, int commandSeconds) = 0;
};

// The session for the settings, or null with error filled.
std::unique_ptr<CSession> OpenSession(const ConnectionSettings& settings, int timeoutSeconds,
                                      ErrorRecord& error);
std::unique_ptr<CSession> OpenSqliteSession(const ConnectionSettings& settings, int timeoutSeconds,
                                            ErrorRecord& error);
std::unique_ptr<CSession> OpenPostgresSession(const ConnectionSettings& settings,
                                              int timeoutSeconds, ErrorRecord& error);
