// Opening connections on SQLite: by connection string and by data-source name, every way of
// failing, the Errors collection, class creation by ProgID, and dispatch by name.
#include <gmock/gmock.h>

#include "platform/com/dispatch_call.h"
#include "tests/platform/ado/ado_test_support.h"

using ::testing::HasSubstr;
using namespace std::string_literals;

namespace {

class ConnectionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(std::filesystem::exists(SampleDatabase())) << kNoSampleDatabase;
        path_ = CopySample(folder_);
    }

    TempFolder folder_;
    std::string path_;
};

TEST_F(ConnectionTest, OpensByStringWithKeysInAnyCaseAndQuotedValues) {
    for (const std::string& text :
         {SqliteString(path_), "provider=sqlite; data source='" + path_ + "'",
          "PROVIDER=SQLite;DATA SOURCE=\"" + path_ + "\";"}) {
        const CComPtr<_Connection> connection = NewConnection();
        ASSERT_HRESULT_SUCCEEDED(OpenConnection(connection, text)) << ErrorTexts(connection);
        LONG state = adStateClosed;
        connection->get_State(&state);
        EXPECT_EQ(state, adStateOpen);
        EXPECT_EQ(Scalar(connection, "SELECT count(*) FROM customers"), 200);
        EXPECT_HRESULT_SUCCEEDED(connection->Close());
        connection->get_State(&state);
        EXPECT_EQ(state, adStateClosed);
    }
}

TEST_F(ConnectionTest, OpensADataSourceNamedInTheDataSourceFile) {
    const std::string file = folder_.File("datasources");
    std::ofstream(file) << "# sample sources\n[Other]\nProvider=PostgreSQL\nHost=nowhere\n\n"
                        << "[ Sales ]\nProvider = SQLite\nData Source = sample.db\n";
    setenv("QOR_DATASOURCES", file.c_str(), 1);
    const CComPtr<_Connection> connection = NewConnection();
    const HRESULT hr = OpenConnection(connection, "DSN=sales");
    unsetenv("QOR_DATASOURCES");
    ASSERT_HRESULT_SUCCEEDED(hr) << ErrorTexts(connection);
    EXPECT_EQ(Scalar(connection, "SELECT count(*) FROM orders"), 300);
}

TEST_F(ConnectionTest, ConnectionStringPropertyIsUsedWhenOpenGetsNone) {
    const CComPtr<_Connection> connection = NewConnection();
    const CComBSTR text(SqliteString(path_));
    ASSERT_HRESULT_SUCCEEDED(connection->put_ConnectionString(text.Get()));
    ASSERT_HRESULT_SUCCEEDED(connection->Open(nullptr, nullptr, nullptr, adConnectUnspecified));
    CComBSTR provider;
    connection->get_Provider(provider.ReleaseAndGetAddressOf());
    EXPECT_EQ(provider, "SQLite");
    CComBSTR shown;
    connection->get_ConnectionString(shown.ReleaseAndGetAddressOf());
    EXPECT_EQ(shown.ToString(), "provider=SQLite;data source=" + path_);
    EXPECT_EQ(connection->put_ConnectionString(text.Get()), adErrObjectOpen);
    EXPECT_EQ(connection->Open(text.Get(), nullptr, nullptr, 0), adErrObjectOpen);
}

struct FailureCase {
    std::string name;
    std::string connectionString;
    HRESULT number;
    std::string description;
    std::string source;
};

// Named by its case, so that test listings stay readable.
void PrintTo(const FailureCase& failure, std::ostream* out) {
    *out << failure.name;
}

class ConnectionFailureTest : public ConnectionTest,
                              public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ConnectionFailureTest, FailsWithAnErrorInErrorsAndTheErrorObject) {
    const FailureCase& failure = GetParam();
    const std::string datasources = folder_.File("datasources");
    std::ofstream(datasources) << "[Known]\nProvider=SQLite\nData Source=/nonexistent/x.db\n"
                               << "[Nul]\nData Source="
                               << "sample.db\0junk"s
                               << "\n";
    setenv("QOR_DATASOURCES", datasources.c_str(), 1);
    std::string text = failure.connectionString;
    const std::size_t marker = text.find("FOLDER");
    if (marker != std::string::npos) {
        text.replace(marker, 6, folder_.File(""));
    }
    const CComPtr<_Connection> connection = NewConnection();
    const HRESULT hr = OpenConnection(connection, text);
    unsetenv("QOR_DATASOURCES");
    EXPECT_EQ(hr, failure.number) << ErrorTexts(connection);
    EXPECT_THAT(ErrorTexts(connection), HasSubstr(failure.description));
    EXPECT_EQ(ErrorSource(connection), failure.source);
    const std::optional<ComErrorTexts> thread = TakeComErrorTexts();
    ASSERT_TRUE(thread.has_value());
    EXPECT_THAT(thread->description, HasSubstr(failure.description));
    LONG state = adStateOpen;
    connection->get_State(&state);
    EXPECT_EQ(state, adStateClosed);
}

INSTANTIATE_TEST_SUITE_P(
    EachWay, ConnectionFailureTest,
    ::testing::Values(
        FailureCase{"MissingFile", "Provider=SQLite;Data Source=FOLDERmissing.db",
                    adErrProviderFailed, "Unable to open the database file", kSQLiteProviderSource},
        FailureCase{"NotADatabase", "Provider=SQLite;Data Source=FOLDERdatasources",
                    adErrProviderFailed, "not a database", kSQLiteProviderSource},
        FailureCase{"NoKeyValue", "Provider=SQLite;garbage", adErrInvalidArgument,
                    "entry 2 (entries are separated by ';') is not key=value",
                    kAdoConnectionSource},
        FailureCase{"UnclosedQuote", "Provider=SQLite;Data Source='x.db", adErrInvalidArgument,
                    "no closing quote", kAdoConnectionSource},
        FailureCase{"UnknownProvider", "Provider=Oracle;Data Source=x", adErrProviderNotFound,
                    "Provider cannot be found: 'Oracle'", kAdoConnectionSource},
        FailureCase{"UnknownDsn", "DSN=Unknown", adErrProviderNotFound,
                    "Data source name 'Unknown' not found", kAdoConnectionSource},
        FailureCase{"DsnWithMissingFile", "DSN=known", adErrProviderFailed, "/nonexistent/x.db",
                    kSQLiteProviderSource},
        FailureCase{"NoDataSource", "Provider=SQLite", adErrInvalidArgument, "no Data Source",
                    kAdoConnectionSource},
        FailureCase{"BadMode", "Provider=SQLite;Data Source=x.db;Mode=Sideways",
                    adErrInvalidArgument, "Mode 'Sideways'", kAdoConnectionSource},
        FailureCase{"Empty", "", adErrInvalidConnection, "empty", kAdoConnectionSource},
        FailureCase{"NulInDataSource", "Provider=SQLite;Data Source=FOLDERsample.db\0junk"s,
                    adErrInvalidArgument, "a value holds a NUL character", kAdoConnectionSource},
        FailureCase{"NulStartsDataSource", "Provider=SQLite;Data Source=\0"s, adErrInvalidArgument,
                    "a value holds a NUL character", kAdoConnectionSource},
        FailureCase{"NulInPassword", "Provider=PostgreSQL;Host=127.0.0.1;Port=1;Password=p\0q"s,
                    adErrInvalidArgument, "a value holds a NUL character", kAdoConnectionSource},
        FailureCase{"NulInDataSourceFile", "DSN=nul", adErrInvalidArgument,
                    "line 5 in [nul], 'Data Source=***': a value holds a NUL character",
                    kAdoConnectionSource},
        FailureCase{"UnreachableServer",
                    "Provider=PostgreSQL;Host=127.0.0.1;Port=1;Database=x;User ID=u;Password=p",
                    adErrProviderFailed, "Unable to connect to the PostgreSQL server",
                    kPostgreSQLProviderSource}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

class InMemoryTest : public ConnectionTest, public ::testing::WithParamInterface<const char*> {};

// Such a database takes writes and loses them at close, so it is only had by asking for it.
TEST_P(InMemoryTest, NeedsModeCreate) {
    const std::string text = std::string("Provider=SQLite;Data Source=") + GetParam();
    for (const char* mode : {"", ";Mode=ReadWrite", ";Mode=Read"}) {
        const CComPtr<_Connection> refused = NewConnection();
        EXPECT_EQ(OpenConnection(refused, text + mode), adErrProviderFailed) << mode;
        EXPECT_THAT(ErrorTexts(refused), HasSubstr("is no database file: an in-memory or "
                                                   "temporary database needs Mode=Create"))
            << mode;
    }
    const CComPtr<_Connection> created = Connect(text + ";Mode=Create");
    EXPECT_HRESULT_SUCCEEDED(Execute(created, "CREATE TABLE t (id INTEGER PRIMARY KEY)"));
}

INSTANTIATE_TEST_SUITE_P(EachName, InMemoryTest,
                         ::testing::Values(":memory:", "file::memory:", "file:x?mode=memory",
                                           "file:/x?vfs=memdb",
                                           "file:", "file::memory:?cache=shared"));

struct SecretCase {
    std::string name;
    std::string dataSource;  // the [s] section of the data-source file
    std::string connectionString;
    std::string shown;
};

void PrintTo(const SecretCase& secret, std::ostream* out) {
    *out << secret.name;
}

class SecretTest : public ConnectionTest, public ::testing::WithParamInterface<SecretCase> {};

// Every case holds the password "se;cret" or "secret" somewhere the parser refuses.
TEST_P(SecretTest, ErrorsNeverShowAPassword) {
    const SecretCase& secret = GetParam();
    const std::string datasources = folder_.File("datasources");
    std::ofstream(datasources) << "[s]\nProvider=PostgreSQL\nHost=h\n" << secret.dataSource << "\n";
    setenv("QOR_DATASOURCES", datasources.c_str(), 1);
    const CComPtr<_Connection> connection = NewConnection();
    const HRESULT hr = OpenConnection(connection, secret.connectionString);
    unsetenv("QOR_DATASOURCES");
    EXPECT_EQ(hr, adErrInvalidArgument);
    const std::optional<ComErrorTexts> thread = TakeComErrorTexts();
    ASSERT_TRUE(thread.has_value());
    for (const std::string& text : {ErrorTexts(connection), thread->description}) {
        EXPECT_THAT(text, HasSubstr(secret.shown));
        EXPECT_THAT(text, ::testing::Not(HasSubstr("cret")));
    }
}

INSTANTIATE_TEST_SUITE_P(
    EachPlace, SecretTest,
    ::testing::Values(
        SecretCase{"FileUnclosedQuote", "Password='se;cret", "DSN=s",
                   "line 4 in [s], 'Password=***': a quoted value has no closing quote"},
        SecretCase{"FileTextAfterQuote", "PWD='se;cret' x", "DSN=s", "'PWD=***'"},
        SecretCase{"FileBehindAnotherValue", "User ID='u'Password=secret", "DSN=s",
                   "'User ID=***'"},
        SecretCase{"FileNotKeyValue", "Password: secret", "DSN=s",
                   "line 4 in [s]: it is not key=value"},
        SecretCase{"StringCutAtASemicolon", "", "Provider=PostgreSQL;Host=h;Password=se;cret",
                   "entry 4 (entries are separated by ';') is not key=value"},
        SecretCase{"StringNotKeyValue", "", "Provider=PostgreSQL;Host=h;Password: secret",
                   "entry 3 (entries are separated by ';') is not key=value"}),
    [](const ::testing::TestParamInfo<SecretCase>& info) { return info.param.name; });

TEST_F(ConnectionTest, OpenConnectionShowsNoPassword) {
    const CComPtr<_Connection> connection = NewConnection();
    const CComBSTR text(SqliteString(path_) + ";Password='se;cret'");
    ASSERT_HRESULT_SUCCEEDED(connection->put_ConnectionString(text.Get()));
    ASSERT_HRESULT_SUCCEEDED(connection->Open(nullptr, nullptr, nullptr, adConnectUnspecified));
    CComBSTR shown;
    connection->get_ConnectionString(shown.ReleaseAndGetAddressOf());
    EXPECT_EQ(shown.ToString().find("cret"), std::string::npos) << shown.ToString();
}

TEST_F(ConnectionTest, MissingFileIsCreatedOnlyWithModeCreate) {
    const std::string fresh = folder_.File("fresh.db");
    const CComPtr<_Connection> refused = NewConnection();
    EXPECT_HRESULT_FAILED(OpenConnection(refused, SqliteString(fresh)));
    EXPECT_FALSE(std::filesystem::exists(fresh));
    const CComPtr<_Connection> created = Connect(SqliteString(fresh) + ";Mode=Create");
    EXPECT_HRESULT_SUCCEEDED(Execute(created, "CREATE TABLE t (id INTEGER PRIMARY KEY)"));
    EXPECT_TRUE(std::filesystem::exists(fresh));
}

TEST_F(ConnectionTest, ReadModeRefusesWrites) {
    const CComPtr<_Connection> connection = Connect(SqliteString(path_) + ";Mode=Read");
    EXPECT_HRESULT_FAILED(Execute(connection, "DELETE FROM customers"));
    EXPECT_THAT(ErrorTexts(connection), HasSubstr("readonly"));
    EXPECT_EQ(Scalar(connection, "SELECT count(*) FROM customers"), 200);
}

TEST_F(ConnectionTest, ErrorsHoldTheLastFailureOnlyAndClear) {
    const CComPtr<_Connection> connection = Connect(SqliteString(path_));
    EXPECT_HRESULT_FAILED(Execute(connection, "SELECT * FROM no_such_table"));
    EXPECT_HRESULT_FAILED(Execute(connection, "SELEKT 1"));
    CComPtr<Errors> errors;
    ASSERT_HRESULT_SUCCEEDED(connection->get_Errors(errors.ReleaseAndGetAddressOf()));
    LONG count = 0;
    errors->get_Count(&count);
    EXPECT_EQ(count, 1);
    EXPECT_THAT(ErrorTexts(connection), HasSubstr("syntax error"));
    CComPtr<Error> error;
    EXPECT_EQ(errors->get_Item(CComVariant(1), error.ReleaseAndGetAddressOf()), adErrItemNotFound);
    ASSERT_HRESULT_SUCCEEDED(errors->get_Item(CComVariant(0), error.ReleaseAndGetAddressOf()));
    LONG number = 0;
    error->get_Number(&number);
    EXPECT_EQ(number, adErrProviderFailed);
    EXPECT_HRESULT_SUCCEEDED(errors->Clear());
    errors->get_Count(&count);
    EXPECT_EQ(count, 0);
}

TEST_F(ConnectionTest, OnlyOneStatementRunsPerCommand) {
    const CComPtr<_Connection> connection = Connect(SqliteString(path_));
    EXPECT_HRESULT_FAILED(Execute(connection, "SELECT 1; DELETE FROM customers"));
    EXPECT_THAT(ErrorTexts(connection), HasSubstr("more than one statement"));
    EXPECT_EQ(Scalar(connection, "SELECT count(*) FROM customers"), 200);
}

TEST_F(ConnectionTest, ExecuteReportsAffectedRowsAndGivesQueriesAsStaticRecordsets) {
    const CComPtr<_Connection> connection = Connect(SqliteString(path_));
    CComVariant affected;
    const CComBSTR update("UPDATE customers SET city = 'Cork' WHERE customer_id <= 3");
    ASSERT_HRESULT_SUCCEEDED(connection->Execute(update.Get(), &affected, adCmdText, nullptr));
    EXPECT_EQ(affected.vt, VT_I4);
    EXPECT_EQ(affected.lVal, 3);
    CComPtr<_Recordset> rows;
    const CComBSTR query("SELECT city FROM customers WHERE customer_id = 2");
    ASSERT_HRESULT_SUCCEEDED(
        connection->Execute(query.Get(), nullptr, adCmdText, rows.ReleaseAndGetAddressOf()));
    EXPECT_EQ(Text(rows, "city"), "Cork");
    LONG cursorType = 0;
    rows->get_CursorType(&cursorType);
    EXPECT_EQ(cursorType, adOpenStatic);
}

TEST_F(ConnectionTest, TransactionsNestAndNeedOneToEnd) {
    const CComPtr<_Connection> connection = Connect(SqliteString(path_));
    EXPECT_EQ(connection->CommitTrans(), adErrInvalidTransaction);
    EXPECT_EQ(connection->RollbackTrans(), adErrInvalidTransaction);
    LONG level = 0;
    ASSERT_HRESULT_SUCCEEDED(connection->BeginTrans(&level));
    EXPECT_EQ(level, 1);
    ASSERT_HRESULT_SUCCEEDED(Execute(connection, "DELETE FROM order_lines"));
    ASSERT_HRESULT_SUCCEEDED(connection->BeginTrans(&level));
    EXPECT_EQ(level, 2);
    ASSERT_HRESULT_SUCCEEDED(Execute(connection, "DELETE FROM orders"));
    ASSERT_HRESULT_SUCCEEDED(connection->RollbackTrans());
    EXPECT_EQ(Scalar(connection, "SELECT count(*) FROM orders"), 300);
    EXPECT_EQ(Scalar(connection, "SELECT count(*) FROM order_lines"), 0);
    ASSERT_HRESULT_SUCCEEDED(connection->RollbackTrans());
    EXPECT_EQ(Scalar(connection, "SELECT count(*) FROM order_lines"), 877);
}

TEST_F(ConnectionTest, ClosingRollsBackAndClosesItsRecordsets) {
    const CComPtr<_Connection> connection = Connect(SqliteString(path_));
    const CComPtr<_Recordset> recordset = Query(connection, "SELECT * FROM products");
    ASSERT_HRESULT_SUCCEEDED(connection->BeginTrans(nullptr));
    ASSERT_HRESULT_SUCCEEDED(Execute(connection, "DELETE FROM products"));
    ASSERT_HRESULT_SUCCEEDED(connection->Close());
    LONG state = adStateOpen;
    recordset->get_State(&state);
    EXPECT_EQ(state, adStateClosed);
    EXPECT_EQ(recordset->MoveNext(), adErrObjectClosed);
    EXPECT_EQ(connection->Close(), adErrObjectClosed);
    EXPECT_EQ(Scalar(Connect(SqliteString(path_)), "SELECT count(*) FROM products"), 60);
}

TEST_F(ConnectionTest, ClassesAreCreatedByProgIdAndAnsweringOnlyTheirInterfaces) {
    ASSERT_HRESULT_SUCCEEDED(RegisterAdoClasses());
    ASSERT_HRESULT_SUCCEEDED(RegisterAdoClasses());
    CLSID clsid{};
    ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID("adodb.connection", &clsid));
    EXPECT_EQ(clsid, CLSID_Connection);
    ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID("ADODB.Recordset", &clsid));
    EXPECT_EQ(clsid, CLSID_Recordset);

    CComPtr<IUnknown> unknown;
    ASSERT_HRESULT_SUCCEEDED(
        CoCreateInstance(CLSID_Connection, nullptr, CLSCTX_ALL, IID_IUnknown,
                         reinterpret_cast<void**>(unknown.ReleaseAndGetAddressOf())));
    ASSERT_HRESULT_SUCCEEDED(OleRun(unknown.Get()));
    CComPtr<IDispatch> handedOver;
    ASSERT_HRESULT_SUCCEEDED(unknown.QueryInterface(handedOver));
    CComPtr<_Connection> connection;
    EXPECT_HRESULT_SUCCEEDED(handedOver.QueryInterface(connection));
    EXPECT_TRUE(connection.IsEqualObject(unknown));

    const CComPtr<_Recordset> recordset = NewRecordset();
    CComPtr<IDispatch> other;
    ASSERT_HRESULT_SUCCEEDED(recordset.QueryInterface(other));
    CComPtr<_Connection> notAConnection;
    EXPECT_EQ(other.QueryInterface(notAConnection), E_NOINTERFACE);
}

TEST_F(ConnectionTest, EveryObjectGoesWithItsLastReference) {
    ASSERT_HRESULT_SUCCEEDED(RegisterAdoClasses());
    SetErrorInfo(0, nullptr);
    const std::int64_t before = LiveComObjectCount();
    {
        const CComPtr<_Connection> connection = Connect(SqliteString(path_));
        const CComPtr<_Recordset> recordset = Query(connection, "SELECT * FROM customers");
        const CComPtr<Field> field = FieldOf(recordset, CComVariant("name"));
        CComPtr<Errors> errors;
        connection->get_Errors(errors.ReleaseAndGetAddressOf());
        EXPECT_HRESULT_FAILED(Execute(connection, "SELECT nothing FROM nowhere"));
        CComPtr<Error> error;
        errors->get_Item(CComVariant(0), error.ReleaseAndGetAddressOf());
        CComPtr<_Recordset> executed;
        const CComBSTR query("SELECT 1");
        connection->Execute(query.Get(), nullptr, adCmdText, executed.ReleaseAndGetAddressOf());
        EXPECT_GT(LiveComObjectCount(), before);
    }
    SetErrorInfo(0, nullptr);  // the thread's error object is not one of ours
    EXPECT_EQ(LiveComObjectCount(), before);
}

TEST_F(ConnectionTest, ScriptHostDrivesConnectionAndRecordsetByName) {
    CComPtr<IDispatch> connection;
    ASSERT_HRESULT_SUCCEEDED(RegisterAdoClasses());
    CLSID clsid{};
    ASSERT_HRESULT_SUCCEEDED(CLSIDFromString("ADODB.Connection", &clsid));
    ASSERT_HRESULT_SUCCEEDED(
        CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IDispatch,
                         reinterpret_cast<void**>(connection.ReleaseAndGetAddressOf())));
    ASSERT_HRESULT_SUCCEEDED(InvokeByName(connection.Get(), "open", DISPATCH_METHOD,
                                          {CComVariant(SqliteString(path_))}));

    CComPtr<IDispatch> recordset;
    ASSERT_HRESULT_SUCCEEDED(
        CoCreateInstance(CLSID_Recordset, nullptr, CLSCTX_ALL, IID_IDispatch,
                         reinterpret_cast<void**>(recordset.ReleaseAndGetAddressOf())));
    ASSERT_HRESULT_SUCCEEDED(InvokeByName(
        recordset.Get(), "Open", DISPATCH_METHOD,
        {CComVariant("SELECT name FROM customers ORDER BY customer_id"),
         CComVariant(connection.Get()), CComVariant(adOpenKeyset), CComVariant(adLockOptimistic)}));
    ASSERT_HRESULT_SUCCEEDED(InvokeByName(recordset.Get(), "MoveNext", DISPATCH_METHOD, {}));

    CComVariant fields;
    ASSERT_HRESULT_SUCCEEDED(GetPropertyByName(recordset.Get(), "Fields", &fields));
    CComVariant field;
    ASSERT_HRESULT_SUCCEEDED(
        InvokeByName(fields.pdispVal, "Item", DISPATCH_PROPERTYGET, {CComVariant("NAME")}, &field));
    CComVariant value;
    ASSERT_HRESULT_SUCCEEDED(GetPropertyByName(field.pdispVal, "Value", &value));
    EXPECT_EQ(value.Text(), "Jürgen Müller");

    CComVariant eof;
    ASSERT_HRESULT_SUCCEEDED(GetPropertyByName(recordset.Get(), "EOF", &eof));
    EXPECT_EQ(eof.vt, VT_BOOL);
    EXPECT_EQ(eof.boolVal, VARIANT_FALSE);

    const HRESULT bad =
        InvokeByName(recordset.Get(), "Find", DISPATCH_METHOD, {CComVariant("no_field = 1")});
    EXPECT_EQ(bad, adErrInvalidArgument);
    const std::optional<ComErrorTexts> texts = TakeComErrorTexts();
    ASSERT_TRUE(texts.has_value());
    EXPECT_THAT(texts->description, HasSubstr("no_field"));
    EXPECT_EQ(texts->source, kAdoRecordsetSource);
}

}  // namespace
