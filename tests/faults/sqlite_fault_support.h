// What the SQLite fault tests share: a database file in a folder of the test's own, a host's
// connection to it that waits briefly for locks, and the faults themselves (a second writer's
// lock, the file moved or removed, its folder made read-only), each with its undoing.
#pragma once

#include <sqlite3.h>
#include <sys/fsuid.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "controls/common/data_recordset.h"
#include "tests/controls/common/data_test_support.h"
#include "tests/temp_folder.h"

enum class JournalMode { Delete, Wal };
enum class FaultKind { WriteLock, ExclusiveLock, Moved, Removed, ReadOnlyFolder };

struct FaultCase {
    const char* name;
    JournalMode journal;
    FaultKind kind;
    const char* message;  // a part of the error the user is shown
};

inline std::string FaultName(const ::testing::TestParamInfo<FaultCase>& info) {
    return info.param.name;
}

// The faults every data-bound control meets: each fails the write with a message that says why.
inline const std::vector<FaultCase>& FaultCases() {
    static const std::vector<FaultCase> cases = {
        {"LockedByAnotherWriter", JournalMode::Delete, FaultKind::WriteLock, "database is locked"},
        {"LockedExclusively", JournalMode::Delete, FaultKind::ExclusiveLock, "database is locked"},
        {"LockedInWalMode", JournalMode::Wal, FaultKind::WriteLock, "database is locked"},
        {"MovedAway", JournalMode::Delete, FaultKind::Moved, "was moved or deleted"},
        {"MovedAwayInWalMode", JournalMode::Wal, FaultKind::Moved, "was moved or deleted"},
        {"RemovedInWalMode", JournalMode::Wal, FaultKind::Removed, "was moved or deleted"},
        {"FolderMadeReadOnly", JournalMode::Delete, FaultKind::ReadOnlyFolder, "read-only"},
    };
    return cases;
}

// A database file in a folder of its own, so that the folder can be made read-only, in the
// journal mode asked for, with the table entries (id, name, city) of kEntries rows named
// "name 1", "name 2", ... in "city 1", "city 2", ...
inline constexpr int kEntries = 30;

class FaultDatabase {
  public:
    explicit FaultDatabase(JournalMode journal) : m_path(m_folder.File("f.db")) {
        std::string sql = journal == JournalMode::Wal ? "PRAGMA journal_mode=WAL;"
                                                      : "PRAGMA journal_mode=DELETE;";
        sql +=
            "CREATE TABLE entries (id INTEGER PRIMARY KEY, name VARCHAR(40), city "
            "VARCHAR(30));";
        for (int i = 1; i <= kEntries; ++i) {
            const std::string n = std::to_string(i);
            sql += "INSERT INTO entries (name, city) VALUES ('name " + n + "', 'city " + n + "');";
        }
        sqlite3* db = nullptr;
        sqlite3_open(m_path.c_str(), &db);
        m_ready = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
        sqlite3_close(db);
    }

    bool Ready() const { return m_ready; }
    const std::string& Path() const { return m_path; }
    const std::filesystem::path& Folder() const { return m_folder.Path(); }
    std::string ConnectionString() const { return "Provider=SQLite;Data Source=" + m_path; }

    // A host's connection, created through COM, that waits one second for a locked file.
    CComPtr<_Connection> HostConnection() const {
        CComPtr<_Connection> connection = OpenHostConnection(ConnectionString());
        const CComBSTR none;
        if (!connection || FAILED(connection->Close()) ||
            FAILED(connection->put_ConnectionTimeout(1)) ||
            FAILED(
                connection->Open(CComBSTR(ConnectionString()).Get(), none.Get(), none.Get(), 0))) {
            connection.Release();
        }
        return connection;
    }

    // The text of the query's first field, read on a connection of its own; "-" when none.
    std::string Query(const std::string& sql) const {
        CDataConnection connection;
        CDataRecordset recordset(connection);
        std::string text = "-";
        if (connection.Open(ConnectionString()) && recordset.Open(sql)) {
            recordset.GetFieldText(0, text);
        }
        return text;
    }

  private:
    TempFolder m_folder;
    std::string m_path;
    bool m_ready = false;
};

// A fault made on the database and undone, at the latest when the object goes. A removed file
// cannot come back: its fault has no undoing.
class ScopedFault {
  public:
    ScopedFault(const FaultDatabase& database, FaultKind kind) : m_db(database), m_kind(kind) {
        switch (kind) {
            case FaultKind::WriteLock:
            case FaultKind::ExclusiveLock:
                sqlite3_open(m_db.Path().c_str(), &m_holder);
                m_made = sqlite3_exec(
                             m_holder,
                             kind == FaultKind::WriteLock ? "BEGIN IMMEDIATE" : "BEGIN EXCLUSIVE",
                             nullptr, nullptr, nullptr) == SQLITE_OK;
                break;
            case FaultKind::Moved:
                m_made = std::rename(m_db.Path().c_str(), Aside().c_str()) == 0;
                break;
            case FaultKind::Removed:
                m_made = std::filesystem::remove(m_db.Path());
                break;
            case FaultKind::ReadOnlyFolder:
                std::filesystem::permissions(m_db.Folder(), std::filesystem::perms::owner_read |
                                                                std::filesystem::perms::owner_exec);
                // Root passes every permission check: the folder's owner is then a user without
                // rights, who stands in for the writes as far as files go (the file system user
                // id).
                if (geteuid() == 0) {
                    m_made = chown(m_db.Folder().c_str(), kNobody, static_cast<gid_t>(-1)) == 0;
                    setfsuid(kNobody);
                    m_made = m_made && setfsuid(kNobody) == static_cast<int>(kNobody);
                } else {
                    m_made = true;
                }
                break;
        }
    }
    ScopedFault(const ScopedFault&) = delete;
    ScopedFault& operator=(const ScopedFault&) = delete;
    ~ScopedFault() { Undo(); }

    bool Made() const { return m_made; }
    bool CanUndo() const { return m_kind != FaultKind::Removed; }

    void Undo() {
        if (!m_made) {
            return;
        }
        m_made = false;
        switch (m_kind) {
            case FaultKind::WriteLock:
            case FaultKind::ExclusiveLock:
                sqlite3_exec(m_holder, "ROLLBACK", nullptr, nullptr, nullptr);
                sqlite3_close(m_holder);
                m_holder = nullptr;
                break;
            case FaultKind::Moved:
                std::rename(Aside().c_str(), m_db.Path().c_str());
                break;
            case FaultKind::Removed:
                break;
            case FaultKind::ReadOnlyFolder:
                if (geteuid() == 0) {
                    setfsuid(0);
                }
                std::filesystem::permissions(m_db.Folder(), std::filesystem::perms::owner_all);
                break;
        }
    }

  private:
    static constexpr uid_t kNobody = 65534;
    std::string Aside() const { return m_db.Path() + ".aside"; }

    const FaultDatabase& m_db;
    FaultKind m_kind;
    sqlite3* m_holder = nullptr;
    bool m_made = false;
};
