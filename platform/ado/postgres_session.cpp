// The PostgreSQL provider over libpq: text-format statements with bound parameters, catalog
// lookups for field attributes, and table access by primary key.
#include <libpq-fe.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <unordered_map>

#include "platform/ado/ado.h"
#include "platform/ado/session.h"
#include "platform/ado/sql_shape.h"
#include "platform/ado/value_convert.h"

namespace {

struct ConnectionCloser {
    void operator()(PGconn* connection) const { PQfinish(connection); }
};
struct ResultClearer {
    void operator()(PGresult* result) const { PQclear(result); }
};
using PgConnection = std::unique_ptr<PGconn, ConnectionCloser>;
using PgResult = std::unique_ptr<PGresult, ResultClearer>;

constexpr Oid kByteaOid = 17;
constexpr Oid kInt8Oid = 20;
constexpr Oid kInt2Oid = 21;
constexpr Oid kInt4Oid = 23;

// libpq's messages end in a line break and may continue on indented lines: one line of text.
std::string Trimmed(std::string_view text) {
    std::string line;
    bool blank = false;
    for (const char c : text) {
        if (c == '\n' || c == '\t' || c == ' ') {
            blank = !line.empty();
            continue;
        }
        if (blank) {
            line += ' ';
            blank = false;
        }
        line += c;
    }
    return line;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// bytea's text output: "\x" and two hex digits a byte.
DbBlob DecodeBytea(std::string_view text) {
    DbBlob blob;
    if (text.substr(0, 2) != "\\x") {
        blob.bytes = std::string(text);
        return blob;
    }
    blob.bytes.reserve((text.size() - 2) / 2);
    for (std::size_t i = 2; i + 1 < text.size(); i += 2) {
        blob.bytes += static_cast<char>(HexDigit(text[i]) * 16 + HexDigit(text[i + 1]));
    }
    return blob;
}

std::string EncodeBytea(const std::string& bytes) {
    constexpr std::string_view kHex = "0123456789abcdef";
    std::string text = "\\x";
    text.reserve(2 + bytes.size() * 2);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        text += kHex[b >> 4];
        text += kHex[b & 0xF];
    }
    return text;
}

std::optional<std::string> ParameterText(const DbValue& value) {
    if (IsNull(value)) {
        return std::nullopt;
    }
    if (const auto* blob = std::get_if<DbBlob>(&value)) {
        return EncodeBytea(blob->bytes);
    }
    return DbValueText(value);
}

DbValue CellValue(const PGresult* result, int row, int column) {
    if (PQgetisnull(result, row, column) != 0) {
        return std::monostate{};
    }
    const std::string_view text(PQgetvalue(result, row, column),
                                static_cast<std::size_t>(PQgetlength(result, row, column)));
    if (PQftype(result, column) == kByteaOid) {
        return DecodeBytea(text);
    }
    return std::string(text);
}

std::int64_t IntegerCell(const PGresult* result, int row, int column) {
    const char* text = PQgetvalue(result, row, column);
    std::int64_t value = 0;
    std::from_chars(text, text + PQgetlength(result, row, column), value);
    return value;
}

// A PostgreSQL array literal of the keys: {1,2,3} or {"a","b\"c"}.
std::string KeyArray(const KeyList& keys, std::size_t first, std::size_t count) {
    std::string text = "{";
    for (std::size_t i = first; i < first + count; ++i) {
        if (i > first) {
            text += ',';
        }
        if (!keys.Textual()) {
            text += std::to_string(keys.Number(i));
            continue;
        }
        text += '"';
        for (const char c : keys.Text(i)) {
            if (c == '"' || c == '\\') {
                text += '\\';
            }
            text += c;
        }
        text += '"';
    }
    return text + "}";
}

struct TableInfo {
    bool valid = false;
    bool isTable = false;
    std::string quotedName;
    std::map<int, std::string> names;  // by attribute number
    std::map<int, bool> notNull;
    std::vector<int> primaryKey;
};

class CPostgresSession;

class CPostgresTable final : public CTableAccess {
  public:
    CPostgresTable(CPostgresSession& session, std::string keyQuery, std::string table,
                   std::string keyColumn, bool textualKey, std::vector<std::string> columns,
                   std::ptrdiff_t keyField)
        : session_(session),
          keyQuery_(std::move(keyQuery)),
          table_(std::move(table)),
          key_(std::move(keyColumn)),
          textualKey_(textualKey),
          columns_(std::move(columns)),
          keyField_(keyField) {}

    bool ReadKeys(KeyList& keys) override;
    bool FetchRows(const KeyList& keys, std::size_t first, std::size_t count,
                   const RowSink& sink) override;
    bool FetchField(const KeyList& keys, std::size_t first, std::size_t count, std::size_t field,
                    const ValueSink& sink) override;
    bool FetchPresent(const KeyList& keys, std::size_t first, std::size_t count,
                      const KeySink& sink) override;
    bool Insert(const std::vector<std::size_t>& columns, const DbRow& values,
                DbValue& newKey) override;
    bool Update(const DbValue& key, const std::vector<std::size_t>& columns, const DbRow& values,
                bool& found, DbValue& newKey) override;
    bool Delete(const DbValue& key, bool& found) override;
    std::ptrdiff_t KeyField() const override { return keyField_; }

  private:
    using RowReader = std::function<void(std::size_t index, const PGresult* result, int row)>;

    // The key and list (none when empty) of the rows with keys first .. first + count - 1, one
    // call of reader a row found.
    bool Fetch(const KeyList& keys, std::size_t first, std::size_t count, const std::string& list,
               const RowReader& reader);
    DbValue KeyOf(const PGresult* result, int row) const {
        return textualKey_ ? DbValue(std::string(PQgetvalue(result, row, 0)))
                           : DbValue(IntegerCell(result, row, 0));
    }

    CPostgresSession& session_;
    std::string keyQuery_;
    std::string table_;
    std::string key_;  // quoted
    bool textualKey_;
    std::vector<std::string> columns_;
    std::ptrdiff_t keyField_;
};

class CPostgresSession final : public CSession {
  public:
    explicit CPostgresSession(PgConnection connection) : connection_(std::move(connection)) {}

    const char* ProviderName() const override { return "PostgreSQL"; }
    const char* Source() const override { return kPostgreSQLProviderSource; }
    const ErrorRecord& LastError() const override { return error_; }

    bool Begin(int level) override {
        PgResult result;
        if (!Exec(level == 1 ? "BEGIN" : "SAVEPOINT qor_" + std::to_string(level), {}, result)) {
            return false;
        }
        level_ = level;
        return true;
    }
    bool Commit(int level) override {
        PgResult result;
        const bool done = Exec(
            level == 1 ? "COMMIT" : "RELEASE SAVEPOINT qor_" + std::to_string(level), {}, result);
        level_ = done ? level - 1 : level_;
        return done;
    }
    bool Rollback(int level) override {
        PgResult result;
        const std::string name = "qor_" + std::to_string(level);
        const bool done = level == 1 ? Exec("ROLLBACK", {}, result)
                                     : Exec("ROLLBACK TO SAVEPOINT " + name, {}, result) &&
                                           Exec("RELEASE SAVEPOINT " + name, {}, result);
        level_ = done ? level - 1 : level_;
        return done;
    }

    bool Execute(std::string_view sql, bool rowsOnly, StatementResult& result) override;
    std::unique_ptr<CTableAccess> OpenTable(std::string_view sql, const SingleTableQuery& shape,
                                            std::vector<ColumnInfo>& columns) override;
    void SetTimeouts(int /*connectSeconds*/, int commandSeconds) override {
        PgResult result;
        Exec("SET statement_timeout = " + std::to_string(commandSeconds * 1000), {}, result);
    }

    bool Exec(const std::string& sql, const std::vector<DbValue>& parameters, PgResult& out);
    // As Exec, but inside a transaction a failure does not end the transaction: the statement
    // runs under a savepoint of its own.
    bool Guarded(const std::string& sql, const std::vector<DbValue>& parameters, PgResult& out);
    bool Fail(HRESULT number, std::string description, std::string sqlState = "");

  private:
    bool BeginGuard();
    void EndGuard(bool done);
    bool Alive();
    bool FailResult(const PGresult* result);
    bool PrepareAndDescribe(const std::string& sql, PgResult& description);
    bool ExecutePrepared(PgResult& out);
    std::vector<ColumnInfo> Columns(const PGresult* result);
    const TableInfo& Table(Oid table);

    PgConnection connection_;
    ErrorRecord error_;
    int level_ = 0;
    std::map<Oid, TableInfo> tables_;
};

bool CPostgresSession::Fail(HRESULT number, std::string description, std::string sqlState) {
    error_ = {number, std::move(description), kPostgreSQLProviderSource, 0, std::move(sqlState)};
    return false;
}

bool CPostgresSession::Alive() {
    if (PQstatus(connection_.get()) == CONNECTION_OK) {
        return true;
    }
    return Fail(adErrInvalidConnection, "The connection to the PostgreSQL server was lost: " +
                                            Trimmed(PQerrorMessage(connection_.get())));
}

bool CPostgresSession::FailResult(const PGresult* result) {
    if (!Alive()) {
        return false;
    }
    const char* primary =
        result != nullptr ? PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    const char* state = result != nullptr ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    const std::string message =
        primary != nullptr ? primary : Trimmed(PQerrorMessage(connection_.get()));
    return Fail(adErrProviderFailed, message, state != nullptr ? state : "");
}

bool CPostgresSession::Exec(const std::string& sql, const std::vector<DbValue>& parameters,
                            PgResult& out) {
    if (!Alive()) {
        return false;
    }
    std::vector<std::optional<std::string>> texts;
    texts.reserve(parameters.size());
    std::vector<const char*> values;
    values.reserve(parameters.size());
    for (const DbValue& parameter : parameters) {
        texts.push_back(ParameterText(parameter));
    }
    for (const auto& text : texts) {
        values.push_back(text ? text->c_str() : nullptr);
    }
    out.reset(PQexecParams(connection_.get(), sql.c_str(), static_cast<int>(values.size()), nullptr,
                           values.data(), nullptr, nullptr, 0));
    const ExecStatusType status = PQresultStatus(out.get());
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK || FailResult(out.get());
}

bool CPostgresSession::BeginGuard() {
    PgResult ignored;
    return level_ == 0 || Exec("SAVEPOINT qor_statement", {}, ignored);
}

void CPostgresSession::EndGuard(bool done) {
    if (level_ == 0) {
        return;
    }
    const ErrorRecord failure = error_;
    PgResult ignored;
    if (!done) {
        Exec("ROLLBACK TO SAVEPOINT qor_statement", {}, ignored);
    }
    Exec("RELEASE SAVEPOINT qor_statement", {}, ignored);
    error_ = failure;
}

bool CPostgresSession::Guarded(const std::string& sql, const std::vector<DbValue>& parameters,
                               PgResult& out) {
    if (!BeginGuard()) {
        return false;
    }
    const bool done = Exec(sql, parameters, out);
    EndGuard(done);
    return done;
}

bool CPostgresSession::PrepareAndDescribe(const std::string& sql, PgResult& description) {
    if (!Alive()) {
        return false;
    }
    const PgResult prepared(PQprepare(connection_.get(), "", sql.c_str(), 0, nullptr));
    if (PQresultStatus(prepared.get()) != PGRES_COMMAND_OK) {
        return FailResult(prepared.get());
    }
    description.reset(PQdescribePrepared(connection_.get(), ""));
    return PQresultStatus(description.get()) == PGRES_COMMAND_OK || FailResult(description.get());
}

bool CPostgresSession::ExecutePrepared(PgResult& out) {
    out.reset(PQexecPrepared(connection_.get(), "", 0, nullptr, nullptr, nullptr, 0));
    const ExecStatusType status = PQresultStatus(out.get());
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK || FailResult(out.get());
}

const TableInfo& CPostgresSession::Table(Oid table) {
    TableInfo& info = tables_[table];
    if (info.valid) {
        return info;
    }
    const DbValue id = static_cast<std::int64_t>(table);
    PgResult relation;
    if (!Exec("SELECT n.nspname, c.relname, c.relkind FROM pg_class c JOIN pg_namespace n ON "
              "n.oid = c.relnamespace WHERE c.oid = $1",
              {id}, relation) ||
        PQntuples(relation.get()) != 1) {
        return info;
    }
    info.quotedName = QuoteIdentifier(PQgetvalue(relation.get(), 0, 0)) + "." +
                      QuoteIdentifier(PQgetvalue(relation.get(), 0, 1));
    const std::string kind = PQgetvalue(relation.get(), 0, 2);
    info.isTable = kind == "r" || kind == "p";
    PgResult attributes;
    if (!Exec("SELECT a.attnum, a.attname, a.attnotnull, coalesce(a.attnum = ANY(i.indkey), "
              "false) FROM pg_attribute a LEFT JOIN pg_index i ON i.indrelid = a.attrelid AND "
              "i.indisprimary WHERE a.attrelid = $1 AND a.attnum > 0 AND NOT a.attisdropped",
              {id}, attributes)) {
        return info;
    }
    for (int row = 0; row < PQntuples(attributes.get()); ++row) {
        const int number = static_cast<int>(IntegerCell(attributes.get(), row, 0));
        info.names[number] = PQgetvalue(attributes.get(), row, 1);
        info.notNull[number] = PQgetvalue(attributes.get(), row, 2)[0] == 't';
        if (PQgetvalue(attributes.get(), row, 3)[0] == 't') {
            info.primaryKey.push_back(number);
        }
    }
    info.valid = true;
    return info;
}

std::vector<ColumnInfo> CPostgresSession::Columns(const PGresult* result) {
    std::vector<ColumnInfo> columns(static_cast<std::size_t>(PQnfields(result)));
    for (int c = 0; c < PQnfields(result); ++c) {
        ColumnInfo& column = columns[static_cast<std::size_t>(c)];
        column.name = PQfname(result, c);
        column.type = FieldTypeFromPostgres(PQftype(result, c), PQfmod(result, c));
        const Oid table = PQftable(result, c);
        const int number = PQftablecol(result, c);
        if (table == InvalidOid || number <= 0) {
            continue;
        }
        const TableInfo& info = Table(table);
        const auto name = info.names.find(number);
        if (!info.valid || name == info.names.end()) {
            continue;
        }
        column.baseColumn = name->second;
        column.nullable = !info.notNull.at(number);
        column.key = std::find(info.primaryKey.begin(), info.primaryKey.end(), number) !=
                     info.primaryKey.end();
    }
    return columns;
}

bool CPostgresSession::Execute(std::string_view sql, bool rowsOnly, StatementResult& result) {
    result = StatementResult{};
    const std::string text(sql);
    if (!BeginGuard()) {
        return false;
    }
    PgResult description;
    PgResult rows;
    bool done = PrepareAndDescribe(text, description);
    if (done && rowsOnly && PQnfields(description.get()) == 0) {
        done = Fail(adErrInvalidArgument,
                    "The command returns no records, so it cannot be opened as a recordset.");
    }
    done = done && ExecutePrepared(rows);
    EndGuard(done);
    if (!done) {
        return false;
    }
    result.returnsRows = PQnfields(rows.get()) > 0;
    result.columns = Columns(rows.get());
    const int width = PQnfields(rows.get());
    result.rows.reserve(static_cast<std::size_t>(PQntuples(rows.get())));
    for (int row = 0; row < PQntuples(rows.get()); ++row) {
        DbRow values(static_cast<std::size_t>(width));
        for (int c = 0; c < width; ++c) {
            values[static_cast<std::size_t>(c)] = CellValue(rows.get(), row, c);
        }
        result.rows.push_back(std::move(values));
    }
    if (!result.returnsRows) {
        const char* affected = PQcmdTuples(rows.get());
        result.affected = affected[0] != '\0' ? std::atol(affected) : 0;
    }
    return true;
}

std::unique_ptr<CTableAccess> CPostgresSession::OpenTable(std::string_view sql,
                                                          const SingleTableQuery& shape,
                                                          std::vector<ColumnInfo>& columns) {
    if (!BeginGuard()) {
        return nullptr;
    }
    PgResult description;
    const bool described = PrepareAndDescribe(std::string(sql), description);
    EndGuard(described);
    if (!described || PQnfields(description.get()) == 0) {
        return nullptr;
    }
    const Oid table = PQftable(description.get(), 0);
    for (int c = 0; c < PQnfields(description.get()); ++c) {
        if (PQftable(description.get(), c) != table || PQftablecol(description.get(), c) <= 0) {
            return nullptr;
        }
    }
    const TableInfo& info = Table(table);
    if (table == InvalidOid || !info.valid || !info.isTable || info.primaryKey.size() != 1) {
        return nullptr;
    }
    columns = Columns(description.get());
    const int keyNumber = info.primaryKey.front();
    std::vector<std::string> names;
    std::ptrdiff_t keyField = -1;
    for (int c = 0; c < PQnfields(description.get()); ++c) {
        names.push_back(columns[static_cast<std::size_t>(c)].baseColumn);
        if (keyField < 0 && PQftablecol(description.get(), c) == keyNumber) {
            keyField = c;
        }
    }
    const std::string key = QuoteIdentifier(info.names.at(keyNumber));
    std::string keyQuery = "SELECT " + shape.qualifierText + "." + key + " " + shape.fromClause;
    PgResult keyDescription;
    if (!BeginGuard()) {
        return nullptr;
    }
    const bool keyDescribed = PrepareAndDescribe(keyQuery, keyDescription);
    EndGuard(keyDescribed);
    if (!keyDescribed || PQnfields(keyDescription.get()) != 1) {
        return nullptr;
    }
    const Oid keyType = PQftype(keyDescription.get(), 0);
    const bool textual = keyType != kInt2Oid && keyType != kInt4Oid && keyType != kInt8Oid;
    return std::make_unique<CPostgresTable>(*this, std::move(keyQuery), info.quotedName, key,
                                            textual, std::move(names), keyField);
}

bool CPostgresTable::ReadKeys(KeyList& keys) {
    PgResult result;
    if (!session_.Guarded(keyQuery_, {}, result)) {
        return false;
    }
    keys = KeyList(textualKey_);
    const int count = PQntuples(result.get());
    keys.Reserve(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row) {
        if (textualKey_) {
            keys.Add(std::string(PQgetvalue(result.get(), row, 0)));
        } else {
            keys.Add(IntegerCell(result.get(), row, 0));
        }
    }
    return true;
}

bool CPostgresTable::Fetch(const KeyList& keys, std::size_t first, std::size_t count,
                           const std::string& list, const RowReader& reader) {
    PgResult result;
    if (!session_.Exec("SELECT q." + key_ + (list.empty() ? "" : ", " + list) + " FROM " + table_ +
                           " AS q WHERE q." + key_ + " = ANY($1)",
                       {KeyArray(keys, first, count)}, result)) {
        return false;
    }
    std::unordered_map<std::string, std::size_t> byText;
    std::unordered_map<std::int64_t, std::size_t> byNumber;
    for (std::size_t i = first; i < first + count; ++i) {
        if (keys.Textual()) {
            byText.emplace(keys.Text(i), i - first);
        } else {
            byNumber.emplace(keys.Number(i), i - first);
        }
    }
    for (int row = 0; row < PQntuples(result.get()); ++row) {
        if (keys.Textual()) {
            const auto found = byText.find(PQgetvalue(result.get(), row, 0));
            if (found != byText.end()) {
                reader(found->second, result.get(), row);
            }
        } else {
            const auto found = byNumber.find(IntegerCell(result.get(), row, 0));
            if (found != byNumber.end()) {
                reader(found->second, result.get(), row);
            }
        }
    }
    return true;
}

bool CPostgresTable::FetchRows(const KeyList& keys, std::size_t first, std::size_t count,
                               const RowSink& sink) {
    std::string list;
    for (const std::string& column : columns_) {
        list += (list.empty() ? "q." : ", q.") + QuoteIdentifier(column);
    }
    return Fetch(keys, first, count, list, [&](std::size_t index, const PGresult* result, int row) {
        DbRow values(columns_.size());
        for (std::size_t c = 0; c < columns_.size(); ++c) {
            values[c] = CellValue(result, row, static_cast<int>(c) + 1);
        }
        sink(index, values);
    });
}

bool CPostgresTable::FetchField(const KeyList& keys, std::size_t first, std::size_t count,
                                std::size_t field, const ValueSink& sink) {
    return Fetch(keys, first, count, "q." + QuoteIdentifier(columns_[field]),
                 [&](std::size_t index, const PGresult* result, int row) {
                     DbValue value = CellValue(result, row, 1);
                     sink(index, value);
                 });
}

bool CPostgresTable::FetchPresent(const KeyList& keys, std::size_t first, std::size_t count,
                                  const KeySink& sink) {
    return Fetch(keys, first, count, "",
                 [&](std::size_t index, const PGresult* /*result*/, int /*row*/) { sink(index); });
}

bool CPostgresTable::Insert(const std::vector<std::size_t>& columns, const DbRow& values,
                            DbValue& newKey) {
    std::vector<std::string> names;
    names.reserve(columns.size());
    for (const std::size_t column : columns) {
        names.push_back(columns_[column]);
    }
    const std::string sql = InsertStatement(table_, names, "$");
    PgResult result;
    if (!session_.Guarded(sql + " RETURNING " + key_, values, result)) {
        return false;
    }
    newKey = KeyOf(result.get(), 0);
    return true;
}

bool CPostgresTable::Update(const DbValue& key, const std::vector<std::size_t>& columns,
                            const DbRow& values, bool& found, DbValue& newKey) {
    std::string assignments;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        assignments += (i > 0 ? ", " : "") + QuoteIdentifier(columns_[columns[i]]) + " = $" +
                       std::to_string(i + 1);
    }
    DbRow parameters = values;
    parameters.push_back(key);
    PgResult result;
    if (!session_.Guarded("UPDATE " + table_ + " SET " + assignments + " WHERE " + key_ + " = $" +
                              std::to_string(columns.size() + 1) + " RETURNING " + key_,
                          parameters, result)) {
        return false;
    }
    found = PQntuples(result.get()) > 0;
    newKey = found ? KeyOf(result.get(), 0) : key;
    return true;
}

bool CPostgresTable::Delete(const DbValue& key, bool& found) {
    PgResult result;
    if (!session_.Guarded("DELETE FROM " + table_ + " WHERE " + key_ + " = $1", {key}, result)) {
        return false;
    }
    found = std::atol(PQcmdTuples(result.get())) > 0;
    return true;
}

void IgnoreNotice(void* /*arg*/, const char* /*message*/) {}

}  // namespace

std::unique_ptr<CSession> OpenPostgresSession(const ConnectionSettings& settings,
                                              int timeoutSeconds, ErrorRecord& error) {
    const std::string timeout = std::to_string(std::max(1, settings.connectTimeoutSeconds));
    std::vector<std::pair<const char*, std::string>> parameters = {
        {"host", settings.host},
        {"port", settings.port},
        {"dbname", settings.database},
        {"user", settings.user},
        {"password", settings.password},
        {"connect_timeout", timeout},
        {"client_encoding", "UTF8"},
        {"application_name", "QOR"},
        {"gssencmode", "disable"},
        {"keepalives", "1"},
        {"keepalives_idle", "10"},
        {"keepalives_interval", "3"},
        {"keepalives_count", "3"},
        {"tcp_user_timeout", "15000"},
        {"options", "-c DateStyle=ISO,MDY -c extra_float_digits=3"},
    };
    std::vector<const char*> keywords;
    std::vector<const char*> values;
    for (const auto& [keyword, value] : parameters) {
        if (!value.empty()) {
            keywords.push_back(keyword);
            values.push_back(value.c_str());
        }
    }
    keywords.push_back(nullptr);
    values.push_back(nullptr);
    PgConnection connection(PQconnectdbParams(keywords.data(), values.data(), 0));
    if (connection == nullptr || PQstatus(connection.get()) != CONNECTION_OK) {
        const std::string reason = connection != nullptr ? Trimmed(PQerrorMessage(connection.get()))
                                                         : std::string("out of memory");
        error = {adErrProviderFailed,
                 "Unable to connect to the PostgreSQL server at " + settings.host +
                     (settings.port.empty() ? "" : ":" + settings.port) + ": " + reason,
                 kPostgreSQLProviderSource, 0, ""};
        return nullptr;
    }
    PQsetNoticeProcessor(connection.get(), IgnoreNotice, nullptr);
    auto session = std::make_unique<CPostgresSession>(std::move(connection));
    session->SetTimeouts(timeoutSeconds, 30);
    return session;
}
