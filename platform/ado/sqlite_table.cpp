// The SQLite provider's table access: keys by rowid, rows fetched as rowid ranges or lists of
// rowids, and writes by rowid.
#include <algorithm>
#include <map>
#include <utility>

#include "platform/ado/sql_shape.h"
#include "platform/ado/sqlite_session.h"

namespace sqlite_provider {

namespace {

// Keys first .. first + count - 1 in ascending order with few gaps: one range reads them.
bool IsDenseRange(const KeyList& keys, std::size_t first, std::size_t count) {
    for (std::size_t i = first + 1; i < first + count; ++i) {
        if (keys.Number(i) <= keys.Number(i - 1)) {
            return false;
        }
    }
    const auto span =
        static_cast<std::uint64_t>(keys.Number(first + count - 1) - keys.Number(first));
    return span < 2 * count;
}

class CSqliteTable final : public CTableAccess {
  public:
    CSqliteTable(CSqliteSession& session, std::string keyQuery, std::string table,
                 std::vector<std::string> columns, std::ptrdiff_t keyField, bool wholeTable)
        : session_(session),
          keyQuery_(std::move(keyQuery)),
          table_(std::move(table)),
          columns_(std::move(columns)),
          keyField_(keyField),
          wholeTable_(wholeTable),
          allColumns_(AllColumns()) {}

    bool ReadKeys(KeyList& keys) override;
    bool FetchRows(const KeyList& keys, std::size_t first, std::size_t count,
                   const RowSink& sink) override {
        return Fetch(keys, first, count, allColumns_, [&](std::size_t index, sqlite3_stmt* row) {
            DbRow values(columns_.size());
            for (std::size_t c = 0; c < columns_.size(); ++c) {
                values[c] = ColumnValue(row, static_cast<int>(c) + 1);
            }
            sink(index, values);
        });
    }
    bool FetchField(const KeyList& keys, std::size_t first, std::size_t count, std::size_t field,
                    const ValueSink& sink) override {
        return Fetch(keys, first, count, "q.rowid, q." + QuoteIdentifier(columns_[field]),
                     [&](std::size_t index, sqlite3_stmt* row) {
                         DbValue value = ColumnValue(row, 1);
                         sink(index, value);
                     });
    }
    bool FetchPresent(const KeyList& keys, std::size_t first, std::size_t count,
                      const KeySink& sink) override {
        bool all = false;
        if (!AllPresent(keys, first, count, all)) {
            return false;
        }
        for (std::size_t i = 0; all && i < count; ++i) {
            sink(i);
        }
        return all || Fetch(keys, first, count, "q.rowid",
                            [&](std::size_t index, sqlite3_stmt* /*row*/) { sink(index); });
    }
    bool Insert(const std::vector<std::size_t>& columns, const DbRow& values,
                DbValue& newKey) override;
    bool Update(const DbValue& key, const std::vector<std::size_t>& columns, const DbRow& values,
                bool& found, DbValue& newKey) override;
    bool Delete(const DbValue& key, bool& found) override;
    std::ptrdiff_t KeyField() const override { return keyField_; }

  private:
    using RowReader = std::function<void(std::size_t index, sqlite3_stmt* row)>;

    std::string AllColumns() const {
        std::string list = "q.rowid";
        for (const std::string& column : columns_) {
            list += ", q." + QuoteIdentifier(column);
        }
        return list;
    }
    bool ReadDenseRange(KeyList& keys, bool& dense);
    // Whether every one of the keys has a row, told by counting when the keys are consecutive
    // (no other row can then fall in their range); all is false when that does not tell.
    bool AllPresent(const KeyList& keys, std::size_t first, std::size_t count, bool& all);
    bool Fetch(const KeyList& keys, std::size_t first, std::size_t count, const std::string& list,
               const RowReader& reader);
    bool FetchRange(const KeyList& keys, std::size_t first, std::size_t count,
                    const std::string& list, const RowReader& reader);
    bool FetchList(const KeyList& keys, std::size_t first, std::size_t count,
                   const std::string& list, const RowReader& reader);
    // A prepared statement kept for the table's life, by its text.
    sqlite3_stmt* Cached(const std::string& sql);
    bool RunWrite(const std::string& sql, const DbRow& values, const DbValue* key, bool& changed);

    CSqliteSession& session_;
    std::string keyQuery_;
    std::string table_;  // quoted, with its schema
    std::vector<std::string> columns_;
    std::ptrdiff_t keyField_;
    bool wholeTable_;
    std::string allColumns_;
    std::map<std::string, Statement> statements_;
};

sqlite3_stmt* CSqliteTable::Cached(const std::string& sql) {
    Statement& statement = statements_[sql];
    if (statement == nullptr) {
        statement = session_.Prepare(sql);
    }
    return statement.get();
}

// A whole table whose rowids have no gaps is read as the range alone: its size, not its keys.
bool CSqliteTable::ReadDenseRange(KeyList& keys, bool& dense) {
    const Statement statement = session_.Prepare("SELECT (SELECT min(rowid) FROM " + table_ +
                                                 "), (SELECT max(rowid) FROM " + table_ +
                                                 "), (SELECT count(*) FROM " + table_ + ")");
    bool row = false;
    if (statement == nullptr || !session_.Step(statement.get(), row)) {
        return false;
    }
    const std::int64_t low = sqlite3_column_int64(statement.get(), 0);
    const std::int64_t high = sqlite3_column_int64(statement.get(), 1);
    const std::int64_t count = sqlite3_column_int64(statement.get(), 2);
    dense = count == 0 || high - low + 1 == count;
    if (dense) {
        keys.AssignRange(low, static_cast<std::size_t>(count));
    }
    return true;
}

bool CSqliteTable::ReadKeys(KeyList& keys) {
    bool dense = false;
    if (wholeTable_ && (!ReadDenseRange(keys, dense) || dense)) {
        return dense;
    }
    const Statement statement = session_.Prepare(keyQuery_);
    if (statement == nullptr) {
        return false;
    }
    keys.Clear();
    bool row = true;
    while (session_.Step(statement.get(), row)) {
        if (!row) {
            return true;
        }
        keys.Add(static_cast<std::int64_t>(sqlite3_column_int64(statement.get(), 0)));
    }
    return false;
}

bool CSqliteTable::AllPresent(const KeyList& keys, std::size_t first, std::size_t count,
                              bool& all) {
    all = false;
    if (count == 0) {
        return true;
    }
    for (std::size_t i = 1; i < count; ++i) {
        if (keys.Number(first + i) != keys.Number(first) + static_cast<std::int64_t>(i)) {
            return true;
        }
    }
    sqlite3_stmt* statement =
        Cached("SELECT count(*) FROM " + table_ + " WHERE rowid BETWEEN ?1 AND ?2");
    if (statement == nullptr) {
        return false;
    }
    const ResetOnExit reset(statement);
    sqlite3_bind_int64(statement, 1, keys.Number(first));
    sqlite3_bind_int64(statement, 2, keys.Number(first + count - 1));
    bool row = false;
    if (!session_.Step(statement, row)) {
        return false;
    }
    all = row && static_cast<std::size_t>(sqlite3_column_int64(statement, 0)) == count;
    return true;
}

bool CSqliteTable::Fetch(const KeyList& keys, std::size_t first, std::size_t count,
                         const std::string& list, const RowReader& reader) {
    if (count == 0) {
        return true;
    }
    return IsDenseRange(keys, first, count) ? FetchRange(keys, first, count, list, reader)
                                            : FetchList(keys, first, count, list, reader);
}

bool CSqliteTable::FetchRange(const KeyList& keys, std::size_t first, std::size_t count,
                              const std::string& list, const RowReader& reader) {
    sqlite3_stmt* statement = Cached("SELECT " + list + " FROM " + table_ +
                                     " AS q WHERE q.rowid BETWEEN ?1 AND ?2 ORDER BY q.rowid");
    if (statement == nullptr) {
        return false;
    }
    const ResetOnExit reset(statement);
    sqlite3_bind_int64(statement, 1, keys.Number(first));
    sqlite3_bind_int64(statement, 2, keys.Number(first + count - 1));
    std::size_t next = first;
    bool row = true;
    while (session_.Step(statement, row)) {
        if (!row) {
            return true;
        }
        const std::int64_t key = sqlite3_column_int64(statement, 0);
        while (next < first + count && keys.Number(next) < key) {
            ++next;
        }
        if (next < first + count && keys.Number(next) == key) {
            reader(next - first, statement);
        }
    }
    return false;
}

// Keys in any order, as one statement with a list of bound rowids.
bool CSqliteTable::FetchList(const KeyList& keys, std::size_t first, std::size_t count,
                             const std::string& list, const RowReader& reader) {
    std::string parameters = "?1";
    for (std::size_t i = 2; i <= count; ++i) {
        parameters += ",?" + std::to_string(i);
    }
    sqlite3_stmt* statement = Cached("SELECT " + list + " FROM " + table_ +
                                     " AS q WHERE q.rowid IN (" + parameters + ")");
    if (statement == nullptr) {
        return false;
    }
    const ResetOnExit reset(statement);
    std::vector<std::pair<std::int64_t, std::size_t>> byKey;
    byKey.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        sqlite3_bind_int64(statement, static_cast<int>(i) + 1, keys.Number(first + i));
        byKey.emplace_back(keys.Number(first + i), i);
    }
    std::sort(byKey.begin(), byKey.end());
    bool row = true;
    while (session_.Step(statement, row)) {
        if (!row) {
            return true;
        }
        const std::int64_t key = sqlite3_column_int64(statement, 0);
        const auto found = std::lower_bound(byKey.begin(), byKey.end(),
                                            std::pair<std::int64_t, std::size_t>(key, 0));
        if (found != byKey.end() && found->first == key) {
            reader(found->second, statement);
        }
    }
    return false;
}

bool CSqliteTable::RunWrite(const std::string& sql, const DbRow& values, const DbValue* key,
                            bool& changed) {
    const Statement statement = session_.Prepare(sql);
    if (statement == nullptr) {
        return false;
    }
    for (std::size_t i = 0; i < values.size(); ++i) {
        Bind(statement.get(), static_cast<int>(i) + 1, values[i]);
    }
    if (key != nullptr) {
        Bind(statement.get(), static_cast<int>(values.size()) + 1, *key);
    }
    bool row = false;
    if (!session_.Step(statement.get(), row)) {
        return false;
    }
    changed = sqlite3_changes(session_.Db()) > 0;
    return true;
}

bool CSqliteTable::Insert(const std::vector<std::size_t>& columns, const DbRow& values,
                          DbValue& newKey) {
    std::vector<std::string> names;
    names.reserve(columns.size());
    for (const std::size_t column : columns) {
        names.push_back(columns_[column]);
    }
    const std::string sql = InsertStatement(table_, names, "?");
    bool changed = false;
    if (!RunWrite(sql, values, nullptr, changed)) {
        return false;
    }
    newKey = static_cast<std::int64_t>(sqlite3_last_insert_rowid(session_.Db()));
    return true;
}

bool CSqliteTable::Update(const DbValue& key, const std::vector<std::size_t>& columns,
                          const DbRow& values, bool& found, DbValue& newKey) {
    newKey = key;
    std::string assignments;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        assignments += (i > 0 ? ", " : "") + QuoteIdentifier(columns_[columns[i]]) + " = ?" +
                       std::to_string(i + 1);
        if (static_cast<std::ptrdiff_t>(columns[i]) == keyField_ &&
            std::holds_alternative<std::int64_t>(values[i])) {
            newKey = values[i];
        }
    }
    return RunWrite("UPDATE " + table_ + " SET " + assignments + " WHERE rowid = ?" +
                        std::to_string(columns.size() + 1),
                    values, &key, found);
}

bool CSqliteTable::Delete(const DbValue& key, bool& found) {
    return RunWrite("DELETE FROM " + table_ + " WHERE rowid = ?1", {}, &key, found);
}

}  // namespace

std::unique_ptr<CTableAccess> MakeSqliteTable(CSqliteSession& session, std::string keyQuery,
                                              std::string table, std::vector<std::string> columns,
                                              std::ptrdiff_t keyField, bool wholeTable) {
    return std::make_unique<CSqliteTable>(session, std::move(keyQuery), std::move(table),
                                          std::move(columns), keyField, wholeTable);
}

}  // namespace sqlite_provider
