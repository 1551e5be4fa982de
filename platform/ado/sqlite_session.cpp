// The SQLite provider: a database file opened through the sqlite3 C API, and statements with
// bound parameters.
#include "platform/ado/sqlite_session.h"

#include <charconv>
#include <vector>

#include "platform/com/ansi_string.h"

namespace sqlite_provider {

namespace {

// SQLite keeps currency and numeric values as numbers: an integer when whole, else a real.
int BindDecimal(sqlite3_stmt* statement, int index, const std::string& text) {
    std::int64_t integer = 0;
    const char* end = text.data() + text.size();
    auto parsed = std::from_chars(text.data(), end, integer);
    if (parsed.ec == std::errc() && parsed.ptr == end) {
        return sqlite3_bind_int64(statement, index, integer);
    }
    double real = 0;
    const auto asReal = std::from_chars(text.data(), end, real);
    if (asReal.ec == std::errc() && asReal.ptr == end) {
        return sqlite3_bind_double(statement, index, real);
    }
    return sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()),
                             SQLITE_TRANSIENT);
}

// SQLite names no file for an in-memory (":memory:", "file::memory:", "?mode=memory") or
// temporary ("") database, and the memdb VFS keeps the one it names in memory.
bool InFile(sqlite3* db) {
    const char* file = sqlite3_db_filename(db, "main");
    sqlite3_vfs* vfs = nullptr;
    sqlite3_file_control(db, "main", SQLITE_FCNTL_VFS_POINTER, static_cast<void*>(&vfs));
    return file != nullptr && *file != '\0' &&
           (vfs == nullptr || std::string_view(vfs->zName) != "memdb");
}

}  // namespace

DbValue ColumnValue(sqlite3_stmt* statement, int column) {
    switch (sqlite3_column_type(statement, column)) {
        case SQLITE_INTEGER:
            return static_cast<std::int64_t>(sqlite3_column_int64(statement, column));
        case SQLITE_FLOAT:
            return sqlite3_column_double(statement, column);
        case SQLITE_TEXT: {
            const auto* text =
                reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
            return std::string(text,
                               static_cast<std::size_t>(sqlite3_column_bytes(statement, column)));
        }
        case SQLITE_BLOB: {
            const auto* data = static_cast<const char*>(sqlite3_column_blob(statement, column));
            const auto size = static_cast<std::size_t>(sqlite3_column_bytes(statement, column));
            return DbBlob{data != nullptr ? std::string(data, size) : std::string()};
        }
        default:
            return std::monostate{};
    }
}

int Bind(sqlite3_stmt* statement, int index, const DbValue& value) {
    if (const auto* integer = std::get_if<std::int64_t>(&value)) {
        return sqlite3_bind_int64(statement, index, *integer);
    }
    if (const auto* real = std::get_if<double>(&value)) {
        return sqlite3_bind_double(statement, index, *real);
    }
    if (const auto* text = std::get_if<std::string>(&value)) {
        return sqlite3_bind_text(statement, index, text->data(), static_cast<int>(text->size()),
                                 SQLITE_TRANSIENT);
    }
    if (const auto* blob = std::get_if<DbBlob>(&value)) {
        return sqlite3_bind_blob(statement, index, blob->bytes.data(),
                                 static_cast<int>(blob->bytes.size()), SQLITE_TRANSIENT);
    }
    if (const auto* decimal = std::get_if<DbDecimal>(&value)) {
        return BindDecimal(statement, index, decimal->text);
    }
    return sqlite3_bind_null(statement, index);
}

namespace {

bool OnlySpaceOrComments(const char* tail) {
    std::vector<SqlToken> tokens;
    return tail == nullptr || (TokenizeSql(tail, tokens) &&
                               (tokens.empty() || (tokens.size() == 1 && tokens[0].text == ";")));
}

}  // namespace

bool CSqliteSession::Fail(int code) {
    error_ = {adErrProviderFailed, Describe(code), kSQLiteProviderSource, code, ""};
    return false;
}

// SQLite's own words, except where they leave the user guessing which file is meant and why.
std::string CSqliteSession::Describe(int code) const {
    if (code == SQLITE_READONLY_DBMOVED) {
        return MovedText();
    }
    if (code == SQLITE_READONLY_DIRECTORY) {
        return "The folder of the database file '" + FileName() +
               "' is read-only, so its journal cannot be written; the change was not saved.";
    }
    const char* message = sqlite3_errmsg(db_.get());
    return message != nullptr ? message : sqlite3_errstr(code);
}

std::string CSqliteSession::FileName() const {
    const char* file = sqlite3_db_filename(db_.get(), "main");
    return file != nullptr ? file : "";
}

std::string CSqliteSession::MovedText() const {
    return "The database file '" + FileName() +
           "' was moved or deleted while it was open; the change was not saved.";
}

// SQLite refuses writes to a moved file in rollback-journal mode itself, but in WAL mode it
// writes on into the removed file, and the change is lost when the connection closes.
bool CSqliteSession::FileInPlace() {
    int moved = 0;
    if (sqlite3_file_control(db_.get(), "main", SQLITE_FCNTL_HAS_MOVED, &moved) == SQLITE_OK &&
        moved != 0) {
        error_ = {adErrProviderFailed, MovedText(), kSQLiteProviderSource, SQLITE_READONLY_DBMOVED,
                  ""};
        return false;
    }
    return true;
}

bool CSqliteSession::Fail(HRESULT number, std::string description) {
    error_ = {number, std::move(description), kSQLiteProviderSource, 0, ""};
    return false;
}

Statement CSqliteSession::Prepare(std::string_view sql, bool single) {
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    const int rc =
        sqlite3_prepare_v2(db_.get(), sql.data(), static_cast<int>(sql.size()), &raw, &tail);
    Statement statement(raw);
    if (rc != SQLITE_OK) {
        Fail(rc);
        return nullptr;
    }
    if (statement == nullptr) {
        Fail(adErrInvalidArgument, "The command text holds no statement.");
        return nullptr;
    }
    const std::string rest(tail, sql.data() + sql.size());
    if (single && !OnlySpaceOrComments(rest.c_str())) {
        Fail(adErrInvalidArgument, "The command text holds more than one statement.");
        return nullptr;
    }
    return statement;
}

bool CSqliteSession::Step(sqlite3_stmt* statement, bool& row) {
    row = false;
    if (sqlite3_stmt_readonly(statement) == 0 && sqlite3_stmt_busy(statement) == 0 &&
        !FileInPlace()) {
        return false;
    }
    const int rc = sqlite3_step(statement);
    row = rc == SQLITE_ROW;
    return rc == SQLITE_ROW || rc == SQLITE_DONE || Fail(rc);
}

bool CSqliteSession::Run(const std::string& sql) {
    const Statement statement = Prepare(sql);
    bool row = false;
    return statement != nullptr && Step(statement.get(), row);
}

std::vector<ColumnInfo> CSqliteSession::Describe(sqlite3_stmt* statement) {
    std::vector<ColumnInfo> columns(static_cast<std::size_t>(sqlite3_column_count(statement)));
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const int c = static_cast<int>(i);
        ColumnInfo& column = columns[i];
        column.name = sqlite3_column_name(statement, c);
        const char* declared = sqlite3_column_decltype(statement, c);
        column.typeFromValue = declared == nullptr;
        column.type = FieldTypeFromDeclaration(declared != nullptr ? declared : "");
        const char* table = sqlite3_column_table_name(statement, c);
        const char* origin = sqlite3_column_origin_name(statement, c);
        if (table == nullptr || origin == nullptr) {
            continue;
        }
        column.baseColumn = origin;
        int notNull = 0;
        int primaryKey = 0;
        if (sqlite3_table_column_metadata(db_.get(), sqlite3_column_database_name(statement, c),
                                          table, origin, nullptr, nullptr, &notNull, &primaryKey,
                                          nullptr) == SQLITE_OK) {
            column.nullable = notNull == 0 && primaryKey == 0;
            column.key = primaryKey != 0;
        }
    }
    return columns;
}

bool CSqliteSession::Execute(std::string_view sql, bool rowsOnly, StatementResult& result) {
    result = StatementResult{};
    const Statement statement = Prepare(sql);
    if (statement == nullptr) {
        return false;
    }
    result.returnsRows = sqlite3_column_count(statement.get()) > 0;
    if (rowsOnly && !result.returnsRows) {
        return Fail(adErrInvalidArgument,
                    "The command returns no records, so it cannot be "
                    "opened as a recordset.");
    }
    result.columns = Describe(statement.get());
    const int width = static_cast<int>(result.columns.size());
    bool row = true;
    while (true) {
        if (!Step(statement.get(), row)) {
            return false;
        }
        if (!row) {
            break;
        }
        DbRow values(result.columns.size());
        for (int c = 0; c < width; ++c) {
            values[static_cast<std::size_t>(c)] = ColumnValue(statement.get(), c);
        }
        result.rows.push_back(std::move(values));
    }
    if (!result.returnsRows) {
        result.affected = sqlite3_changes(db_.get());
    }
    for (std::size_t c = 0; c < result.columns.size(); ++c) {
        ColumnInfo& column = result.columns[c];
        if (!column.typeFromValue) {
            continue;
        }
        for (const DbRow& values : result.rows) {
            if (!IsNull(values[c])) {
                column.type = FieldTypeFromValue(values[c]);
                break;
            }
        }
    }
    return true;
}

int CSqliteSession::KeyColumnCount(const std::string& schema, const std::string& table) {
    const Statement statement =
        Prepare("SELECT count(*) FROM pragma_table_info(?1, ?2) WHERE pk > 0");
    if (statement == nullptr) {
        return 0;
    }
    Bind(statement.get(), 1, table);
    Bind(statement.get(), 2, schema);
    bool row = false;
    return Step(statement.get(), row) && row ? sqlite3_column_int(statement.get(), 0) : 0;
}

std::unique_ptr<CTableAccess> CSqliteSession::OpenTable(std::string_view sql,
                                                        const SingleTableQuery& shape,
                                                        std::vector<ColumnInfo>& columns) {
    const Statement statement = Prepare(sql);
    if (statement == nullptr || sqlite3_column_count(statement.get()) == 0) {
        return nullptr;
    }
    const std::string schema = shape.schema.empty() ? "main" : shape.schema;
    columns = Describe(statement.get());
    std::vector<std::string> names;
    std::ptrdiff_t keyField = -1;
    for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
        const char* table = sqlite3_column_table_name(statement.get(), c);
        const char* database = sqlite3_column_database_name(statement.get(), c);
        if (table == nullptr || !EqualsNoCase(table, shape.table) || database == nullptr ||
            !EqualsNoCase(database, schema)) {
            return nullptr;
        }
        names.push_back(columns[static_cast<std::size_t>(c)].baseColumn);
    }
    // A rowid table answers for its rowid (a view or a WITHOUT ROWID table does not). A sole
    // INTEGER PRIMARY KEY column is the rowid itself: when selected, it is the key field.
    if (sqlite3_table_column_metadata(db_.get(), schema.c_str(), shape.table.c_str(), "rowid",
                                      nullptr, nullptr, nullptr, nullptr, nullptr) != SQLITE_OK) {
        return nullptr;
    }
    const bool singleKey = KeyColumnCount(schema, shape.table) == 1;
    for (std::size_t c = 0; c < columns.size() && singleKey; ++c) {
        const char* declared = nullptr;
        if (columns[c].key &&
            sqlite3_table_column_metadata(db_.get(), schema.c_str(), shape.table.c_str(),
                                          names[c].c_str(), &declared, nullptr, nullptr, nullptr,
                                          nullptr) == SQLITE_OK &&
            declared != nullptr && EqualsNoCase(declared, "INTEGER")) {
            keyField = static_cast<std::ptrdiff_t>(c);
        }
    }
    std::string keyQuery = "SELECT " + shape.qualifierText + ".rowid " + shape.fromClause;
    if (Prepare(keyQuery) == nullptr) {
        return nullptr;
    }
    return MakeSqliteTable(*this, std::move(keyQuery),
                           QuoteIdentifier(schema) + "." + QuoteIdentifier(shape.table),
                           std::move(names), keyField, shape.wholeTable);
}

}  // namespace sqlite_provider

using sqlite_provider::CSqliteSession;
using sqlite_provider::Database;
using sqlite_provider::InFile;

std::unique_ptr<CSession> OpenSqliteSession(const ConnectionSettings& settings, int timeoutSeconds,
                                            ErrorRecord& error) {
    int flags = SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_EXRESCODE;
    flags |= settings.readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    if (settings.create) {
        flags |= SQLITE_OPEN_CREATE;
    }
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(settings.path.c_str(), &raw, flags, nullptr);
    Database db(raw);
    if (rc != SQLITE_OK) {
        const std::string reason =
            db != nullptr ? sqlite3_errmsg(db.get()) : std::string(sqlite3_errstr(rc));
        error = {adErrProviderFailed,
                 "Unable to open the database file '" + settings.path + "': " + reason +
                     (settings.create ? "." : " (Mode=Create makes a new file)."),
                 kSQLiteProviderSource, rc, ""};
        return nullptr;
    }
    // Without Mode=Create a database that takes writes and loses them at close is a mistake.
    if (!settings.create && !InFile(db.get())) {
        error = {adErrProviderFailed,
                 "Data Source '" + settings.path +
                     "' is no database file: an in-memory or temporary database needs "
                     "Mode=Create.",
                 kSQLiteProviderSource, 0, ""};
        return nullptr;
    }
    sqlite3_extended_result_codes(db.get(), 1);
    auto session = std::make_unique<CSqliteSession>(std::move(db));
    session->SetTimeouts(timeoutSeconds, 0);
    // Opening is lazy: reading the schema tells whether the file is a database at all.
    StatementResult result;
    if (!session->Execute("SELECT count(*) FROM sqlite_master", true, result)) {
        error = session->LastError();
        error.description =
            "Unable to open the database file '" + settings.path + "': " + error.description + ".";
        return nullptr;
    }
    return session;
}
