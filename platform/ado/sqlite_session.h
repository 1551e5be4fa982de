// Internal to the SQLite provider: the session, its statement handles and the binding and
// reading of values, shared by the session and its table access.
#pragma once

#include <sqlite3.h>

#include <memory>
#include <string>
#include <string_view>

#include "platform/ado/ado.h"
#include "platform/ado/session.h"

namespace sqlite_provider {

struct DatabaseCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Database = std::unique_ptr<sqlite3, DatabaseCloser>;
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// Resets a statement when a use of it ends, however it ends, so that it holds no read lock.
class ResetOnExit {
  public:
    explicit ResetOnExit(sqlite3_stmt* statement) : statement_(statement) {}
    ResetOnExit(const ResetOnExit&) = delete;
    ResetOnExit& operator=(const ResetOnExit&) = delete;
    ~ResetOnExit() {
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
    }

  private:
    sqlite3_stmt* statement_;
};

DbValue ColumnValue(sqlite3_stmt* statement, int column);
int Bind(sqlite3_stmt* statement, int index, const DbValue& value);

class CSqliteSession final : public CSession {
  public:
    explicit CSqliteSession(Database db) : db_(std::move(db)) {}

    const char* ProviderName() const override { return "SQLite"; }
    const char* Source() const override { return kSQLiteProviderSource; }
    const ErrorRecord& LastError() const override { return error_; }

    bool Begin(int level) override {
        return Run(level == 1 ? "BEGIN" : "SAVEPOINT qor_" + std::to_string(level));
    }
    bool Commit(int level) override {
        // Committing the outer transaction writes the file: it must still be the one opened.
        if (level == 1) {
            return FileInPlace() && Run("COMMIT");
        }
        return Run("RELEASE SAVEPOINT qor_" + std::to_string(level));
    }
    bool Rollback(int level) override {
        if (level == 1) {
            // A failed statement may already have ended the transaction.
            return sqlite3_get_autocommit(db_.get()) != 0 || Run("ROLLBACK");
        }
        const std::string name = "qor_" + std::to_string(level);
        return Run("ROLLBACK TO SAVEPOINT " + name) && Run("RELEASE SAVEPOINT " + name);
    }

    bool Execute(std::string_view sql, bool rowsOnly, StatementResult& result) override;
    std::unique_ptr<CTableAccess> OpenTable(std::string_view sql, const SingleTableQuery& shape,
                                            std::vector<ColumnInfo>& columns) override;
    void SetTimeouts(int connectSeconds, int /*commandSeconds*/) override {
        sqlite3_busy_timeout(db_.get(), connectSeconds * 1000);
    }

    // The prepared statement, or null with the error recorded.
    Statement Prepare(std::string_view sql, bool single = true);
    bool Fail(int code);
    bool Fail(HRESULT number, std::string description);
    bool Run(const std::string& sql);
    bool Step(sqlite3_stmt* statement, bool& row);
    sqlite3* Db() const { return db_.get(); }

  private:
    // False, with the error recorded, when the database file was moved or removed since it was
    // opened: writes would go on into a file no one opens again, so they are refused.
    bool FileInPlace();
    std::string Describe(int code) const;
    std::string FileName() const;
    std::string MovedText() const;
    std::vector<ColumnInfo> Describe(sqlite3_stmt* statement);
    int KeyColumnCount(const std::string& schema, const std::string& table);

    Database db_;
    ErrorRecord error_;
};

// A keyset cursor's access to a rowid table.
std::unique_ptr<CTableAccess> MakeSqliteTable(CSqliteSession& session, std::string keyQuery,
                                              std::string table, std::vector<std::string> columns,
                                              std::ptrdiff_t keyField, bool wholeTable);

}  // namespace sqlite_provider
