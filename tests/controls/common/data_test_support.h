// Shared pieces of the data layer tests: the locale for a test, the databases of both providers
// and a table of the test's own with known rows.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/common/data_connection.h"
#include "controls/common/data_recordset.h"
#include "platform/ado/ado.h"
#include "platform/com/bstr.h"
#include "platform/com/class_factory.h"
#include "platform/com/com_variant.h"

// Sets LC_ALL for the life of the object, so that the user's default locale is the one named.
class ScopedLocale {
  public:
    explicit ScopedLocale(const char* name) {
        if (const char* old = std::getenv("LC_ALL")) {  // NOLINT(concurrency-mt-unsafe)
            saved_ = old;
        }
        setenv("LC_ALL", name, 1);  // NOLINT(concurrency-mt-unsafe)
    }
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;
    ~ScopedLocale() {
        if (saved_) {
            setenv("LC_ALL", saved_->c_str(), 1);  // NOLINT(concurrency-mt-unsafe)
        } else {
            unsetenv("LC_ALL");  // NOLINT(concurrency-mt-unsafe)
        }
    }

  private:
    std::optional<std::string> saved_;
};

enum class Provider { SQLite, PostgreSQL };

inline std::string ProviderName(const ::testing::TestParamInfo<Provider>& info) {
    return info.param == Provider::SQLite ? "SQLite" : "PostgreSQL";
}

inline std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);  // NOLINT(concurrency-mt-unsafe)
    return value != nullptr ? value : "";
}

// The sample database: QOR_SAMPLE_DB when set, else the one this build made.
inline std::string SampleDatabase() {
    const std::string path = EnvironmentValue("QOR_SAMPLE_DB");
    return path.empty() ? QOR_SAMPLE_DB_BUILT : path;
}

// A copy of the sample database in a temporary file, removed at the end.
class SampleCopy {
  public:
    SampleCopy() {
        static std::atomic<int> counter{0};
        path_ = std::filesystem::temp_directory_path() / ("qor_common_" + std::to_string(getpid()) +
                                                          "_" + std::to_string(++counter) + ".db");
        std::filesystem::copy_file(SampleDatabase(), path_,
                                   std::filesystem::copy_options::overwrite_existing);
    }
    SampleCopy(const SampleCopy&) = delete;
    SampleCopy& operator=(const SampleCopy&) = delete;
    ~SampleCopy() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    std::string ConnectionString() const { return "Provider=SQLite;Data Source=" + path_.string(); }

  private:
    std::filesystem::path path_;
};

inline constexpr const char* kNoPostgresServer =
    "QOR_TEST_PG is not set: scripts/pg-test-server start, then "
    "eval \"$(scripts/pg-test-server env)\"";

// The database a test runs on for the provider: a copy of the sample database for SQLite, kept
// in `sample`, or the private PostgreSQL server; empty when that server is not set.
inline std::string TestDatabase(Provider provider, std::unique_ptr<SampleCopy>& sample) {
    if (provider == Provider::PostgreSQL) {
        return EnvironmentValue("QOR_TEST_PG");
    }
    sample = std::make_unique<SampleCopy>();
    return sample->ConnectionString();
}

// Runs a statement on the holder's connection; the provider's message on failure.
inline ::testing::AssertionResult Execute(CDataConnection& connection, const std::string& sql) {
    const CComBSTR text(sql);
    const HRESULT hr = connection.GetConnection()->Execute(
        text.Get(), nullptr, LONG{adCmdText} | LONG{adExecuteNoRecords}, nullptr);
    if (SUCCEEDED(hr)) {
        return ::testing::AssertionSuccess();
    }
    connection.RefreshErrors();
    std::string message;
    connection.GetLastError(message);
    return ::testing::AssertionFailure() << sql << ": " << message;
}

// A table of the test's own, dropped at the end. Its rows, with the keys the table gives them:
//   id 1: name "O'Brien", amount 1234.5, paid true,  day 2024-03-05, stamp 2024-03-05 17:45:00,
//         code 00 01 02 03, note "  padded text  "
//   id 2: name "Müller",  amount 0.25,   paid false, day 1999-12-31, stamp 1999-12-31 23:59:59,
//         code NULL, note NULL
//   id 3: name "Plain",   amount 99,     paid true,  day 2000-02-29, stamp 2000-02-29 00:00:00,
//         code 0A 0B 0C 0D, note "x"
class OwnTable {
  public:
    OwnTable(CDataConnection& connection, Provider provider) : connection_(connection) {
        static std::atomic<int> counter{0};
        name_ = "qor_common_" + std::to_string(getpid()) + "_" + std::to_string(++counter);
        const bool pg = provider == Provider::PostgreSQL;
        created_ = Execute(connection_, "CREATE TABLE " + name_ + " (id " +
                                            (pg ? "integer GENERATED BY DEFAULT AS IDENTITY "
                                                  "PRIMARY KEY"
                                                : "INTEGER PRIMARY KEY") +
                                            ", name VARCHAR(40), amount " +
                                            (pg ? "numeric(19,4)" : "CURRENCY") +
                                            ", paid BOOLEAN, day DATE, stamp TIMESTAMP, code " +
                                            (pg ? "bytea" : "BINARY(4)") + ", note TEXT)");
        const std::string code1 = pg ? "'\\x00010203'::bytea" : "X'00010203'";
        const std::string code3 = pg ? "'\\x0a0b0c0d'::bytea" : "X'0A0B0C0D'";
        const std::vector<std::string> rows = {
            "'O''Brien', 1234.5, TRUE, '2024-03-05', '2024-03-05 17:45:00', " + code1 +
                ", '  padded text  '",
            "'Müller', 0.25, FALSE, '1999-12-31', '1999-12-31 23:59:59', NULL, NULL",
            "'Plain', 99, TRUE, '2000-02-29', '2000-02-29 00:00:00', " + code3 + ", 'x'",
        };
        for (const std::string& row : rows) {
            created_ = created_ && Execute(connection_, "INSERT INTO " + name_ +
                                                            " (name, amount, paid, day, stamp, "
                                                            "code, note) VALUES (" +
                                                            row + ")");
        }
    }
    OwnTable(const OwnTable&) = delete;
    OwnTable& operator=(const OwnTable&) = delete;
    ~OwnTable() { static_cast<void>(Execute(connection_, "DROP TABLE " + name_)); }

    const std::string& Name() const { return name_; }
    std::string SelectAll() const { return "SELECT * FROM " + name_ + " ORDER BY id"; }
    bool Created() const { return created_; }

  private:
    CDataConnection& connection_;
    std::string name_;
    bool created_ = false;
};

// An object that fails the interface query for a connection otherwise than by having none.
class CFailingConnection : public CUnknownImpl<IDispatch> {
  public:
    HRESULT QueryInterface(const IID& riid, void** object) override {
        if (riid == _Connection::iid) {
            *object = nullptr;
            return E_FAIL;
        }
        return CUnknownImpl<IDispatch>::QueryInterface(riid, object);
    }
    HRESULT GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(const IID&, const LPCOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT Invoke(DISPID, const IID&, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                   UINT*) override {
        return E_NOTIMPL;
    }
};

// A connection as a host makes one: created through COM and opened; null on failure.
inline CComPtr<_Connection> OpenHostConnection(const std::string& connectionString) {
    CComPtr<_Connection> connection;
    void* raw = nullptr;
    if (FAILED(RegisterAdoClasses()) ||
        FAILED(CoCreateInstance(CLSID_Connection, nullptr, CLSCTX_ALL, IID__Connection, &raw))) {
        return connection;
    }
    connection.Attach(static_cast<_Connection*>(raw));
    const CComBSTR text(connectionString);
    const CComBSTR none;
    if (FAILED(connection->Open(text.Get(), none.Get(), none.Get(), 0))) {
        connection.Release();
    }
    return connection;
}

inline VARIANT Position(int index) {
    VARIANT position;
    position.vt = VT_I4;
    position.lVal = index;
    return position;
}

inline LONG StateOf(_Connection* connection) {
    LONG state = -1;
    connection->get_State(&state);
    return state;
}

inline std::string LastErrorOf(const CDataConnection& connection) {
    std::string text;
    connection.GetLastError(text);
    return text;
}

// The texts of one field over all records of a query, read through the data layer the controls
// read through, in record order.
inline std::vector<std::string> FieldTexts(const std::string& connectionString,
                                           const std::string& sql, const std::string& field) {
    CDataConnection connection;
    CDataRecordset recordset(connection);
    std::vector<std::string> texts;
    if (!connection.Open(connectionString) || !recordset.Open(sql)) {
        return texts;
    }
    std::string text;
    for (bool more = recordset.MoveFirst(); more; more = recordset.MoveNext()) {
        recordset.GetFieldText(field, text);
        texts.push_back(text);
    }
    return texts;
}
