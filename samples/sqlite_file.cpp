// SQLite sample files: the sample script run into a fresh file, and the streamed large table.
#include "samples/sqlite_file.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <string_view>

#include "samples/sql_script.h"

namespace {

struct DatabaseCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using Database = std::unique_ptr<sqlite3, DatabaseCloser>;

struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

using Filler = std::function<bool(sqlite3*, std::string&)>;

bool Execute(sqlite3* db, const std::string& sql, std::string& error) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) == SQLITE_OK) {
        return true;
    }
    error = message != nullptr ? message : sqlite3_errmsg(db);
    sqlite3_free(message);
    return false;
}

// The data reaches the disk before the rename makes it visible; with synchronous writes off
// during the build nothing else would see to that.
bool SyncFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool synced = ::fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
}

bool Publish(const std::string& temporary, const std::string& path, std::string& error) {
    if (!SyncFile(temporary) || std::rename(temporary.c_str(), path.c_str()) != 0) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool FillDatabase(const std::string& temporary, const Filler& fill, std::string& error) {
    sqlite3* opened = nullptr;
    const int status = sqlite3_open_v2(temporary.c_str(), &opened,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    Database db(opened);
    if (status != SQLITE_OK) {
        error = temporary + ": " + (db ? sqlite3_errmsg(db.get()) : sqlite3_errstr(status));
        return false;
    }
    // A file being built from nothing needs no journal: a failed build is thrown away whole.
    if (!Execute(db.get(), "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF;", error) ||
        !fill(db.get(), error)) {
        return false;
    }
    if (sqlite3_close(db.release()) != SQLITE_OK) {
        error = temporary + ": the database did not close cleanly";
        return false;
    }
    return true;
}

bool BuildAtomically(const std::string& path, const Filler& fill, std::string& error) {
    const std::string temporary = path + ".tmp";
    std::remove(temporary.c_str());
    if (FillDatabase(temporary, fill, error) && Publish(temporary, path, error)) {
        return true;
    }
    std::remove(temporary.c_str());
    return false;
}

bool InsertLargeOrders(sqlite3* db, std::int64_t rows, std::string& error) {
    if (!Execute(db, "BEGIN", error) ||
        !Execute(db, CreateTableStatement(SqlDialect::SQLite, LargeOrdersTable()), error)) {
        return false;
    }
    sqlite3_stmt* prepared = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO orders VALUES (?, ?, ?, ?, ?, ?, ?, ?)", -1, &prepared,
                       nullptr);
    const Statement insert(prepared);
    if (!insert) {
        error = sqlite3_errmsg(db);
        return false;
    }
    sqlite3_stmt* const statement = insert.get();
    const auto bindText = [statement](int index, std::string_view text) {
        if (text.empty()) {
            return sqlite3_bind_null(statement, index);
        }
        return sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()),
                                 SQLITE_STATIC);
    };
    LargeOrderGenerator generator;
    for (std::int64_t i = 0; i < rows; ++i) {
        const LargeOrder order = generator.Next();
        sqlite3_bind_int64(statement, 1, order.orderId);
        sqlite3_bind_int64(statement, 2, order.customerId);
        bindText(3, order.orderDate);
        bindText(4, order.shipCity);
        sqlite3_bind_double(statement, 5, static_cast<double>(order.amount.value) / 100.0);
        sqlite3_bind_double(statement, 6, order.weight);
        sqlite3_bind_int(statement, 7, order.paid ? 1 : 0);
        bindText(8, order.note);
        if (sqlite3_step(statement) != SQLITE_DONE) {
            error = sqlite3_errmsg(db);
            return false;
        }
        sqlite3_reset(statement);
    }
    return Execute(db, "COMMIT", error);
}

}  // namespace

bool BuildSampleSqlite(const std::string& path, const SampleDatabase& database,
                       std::string& error) {
    const std::string script = SampleScript(SqlDialect::SQLite, database);
    return BuildAtomically(
        path, [&script](sqlite3* db, std::string& failure) { return Execute(db, script, failure); },
        error);
}

bool BuildLargeOrdersSqlite(const std::string& path, std::int64_t rows, std::string& error) {
    return BuildAtomically(
        path,
        [rows](sqlite3* db, std::string& failure) { return InsertLargeOrders(db, rows, failure); },
        error);
}

bool WriteTextFile(const std::string& path, const std::string& text, std::string& error) {
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        out.close();
        if (!out) {
            error = temporary + ": " + std::strerror(errno);
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (Publish(temporary, path, error)) {
        return true;
    }
    std::remove(temporary.c_str());
    return false;
}
