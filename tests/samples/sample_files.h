// Helpers of the sample tests: SQLite connections and queries, temporary folders, the builder.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/sample_data.h"
#include "tests/temp_folder.h"

struct SqliteCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using SqliteDb = std::unique_ptr<sqlite3, SqliteCloser>;

struct SqliteFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using SqliteStatement = std::unique_ptr<sqlite3_stmt, SqliteFinalizer>;

// A cell as text (a blob as x'hex'); nothing for NULL.
using Cell = std::optional<std::string>;
using Rows = std::vector<std::vector<Cell>>;

// Read-only, so that no test can change the file the other suites read.
inline SqliteDb OpenReadOnly(const std::string& path) {
    sqlite3* opened = nullptr;
    const int status = sqlite3_open_v2(path.c_str(), &opened, SQLITE_OPEN_READONLY, nullptr);
    SqliteDb db(opened);
    if (status != SQLITE_OK) {
        ADD_FAILURE() << path << ": " << (db ? sqlite3_errmsg(db.get()) : "cannot open");
        return nullptr;
    }
    return db;
}

inline SqliteStatement Prepare(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db);
    }
    return SqliteStatement(statement);
}

inline std::string Hex(const unsigned char* bytes, int size) {
    constexpr std::string_view kDigits = "0123456789abcdef";
    std::string hex;
    for (int i = 0; i < size; ++i) {
        hex += kDigits[bytes[i] >> 4U];
        hex += kDigits[bytes[i] & 0x0FU];
    }
    return hex;
}

inline Cell CellOf(sqlite3_stmt* statement, int column) {
    switch (sqlite3_column_type(statement, column)) {
        case SQLITE_NULL:
            return {};
        case SQLITE_BLOB:
            return "x'" +
                   Hex(static_cast<const unsigned char*>(sqlite3_column_blob(statement, column)),
                       sqlite3_column_bytes(statement, column)) +
                   "'";
        default:
            return reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    }
}

// Every row of the query with each value as SQLite's text of it.
inline Rows QueryRows(sqlite3* db, const std::string& sql,
                      const std::vector<std::string>& args = {}) {
    Rows rows;
    const SqliteStatement statement = Prepare(db, sql);
    if (!statement) {
        return rows;
    }
    for (std::size_t i = 0; i < args.size(); ++i) {
        sqlite3_bind_text(statement.get(), static_cast<int>(i + 1), args[i].c_str(), -1,
                          SQLITE_TRANSIENT);
    }
    const int columns = sqlite3_column_count(statement.get());
    while (sqlite3_step(statement.get()) == SQLITE_ROW) {
        std::vector<Cell> row;
        row.reserve(static_cast<std::size_t>(columns));
        for (int column = 0; column < columns; ++column) {
            row.push_back(CellOf(statement.get(), column));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

inline std::int64_t QueryInt(sqlite3* db, const std::string& sql,
                             const std::vector<std::string>& args = {}) {
    const Rows rows = QueryRows(db, sql, args);
    if (rows.empty() || rows.front().empty() || !rows.front().front()) {
        ADD_FAILURE() << sql << ": no value";
        return -1;
    }
    return std::stoll(*rows.front().front());
}

struct SqliteColumn {
    std::string name;
    std::string type;
    bool notNull = false;
    bool key = false;
};

inline std::vector<SqliteColumn> TableColumns(sqlite3* db, const std::string& table) {
    std::vector<SqliteColumn> columns;
    for (const auto& row :
         QueryRows(db, "SELECT name, type, \"notnull\", pk FROM pragma_table_info(?)", {table})) {
        columns.push_back({*row[0], *row[1], *row[2] == "1", *row[3] != "0"});
    }
    return columns;
}

inline const std::vector<std::string>& SampleTables() {
    static const std::vector<std::string> tables = {"customers", "products", "orders",
                                                    "order_lines"};
    return tables;
}

// Runs the sample builder with the arguments (each quoted for the shell); its exit status.
inline int RunBuilder(const std::vector<std::string>& arguments) {
    std::string command = "'" QOR_SAMPLES_PROGRAM "'";
    for (const std::string& argument : arguments) {
        command += " '" + argument + "'";
    }
    const int status = std::system((command + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
