// The form when its PostgreSQL server goes away while the clerk types: keystrokes after the stop
// are not shown as saved, moves and item calls fail or keep what was read, every keystroke
// acknowledged before is in the database after the restart, and a new connection works again.
#include "tests/controls/form/form_test_support.h"
#include "tests/faults/pg_fault_support.h"

namespace {

constexpr int kRecords = 300;
constexpr RECT kCityRect{10, 10, 200, 30};

class PgFormFaultTest : public FormTest, public ::testing::WithParamInterface<const char*> {
  protected:
    void SetUp() override {
        USE_PRIVATE_POSTGRES_SERVER();
        ASSERT_NO_FATAL_FAILURE(FormTest::SetUp());
        m_connectionString = PrivatePostgresServer::Get().ConnectionString();
        ASSERT_TRUE(m_setup.Open(m_connectionString));
        m_table = std::string("qor_pg_form_") + GetParam();
        ASSERT_TRUE(
            Execute(m_setup, "CREATE TABLE " + m_table +
                                 " AS SELECT id, 'c' || id AS city FROM generate_series(1, " +
                                 std::to_string(kRecords) + ") AS id"));
        ASSERT_TRUE(Execute(m_setup, "ALTER TABLE " + m_table + " ADD PRIMARY KEY (id)"));
        m_server = OpenHostConnection(m_connectionString);
        ASSERT_TRUE(m_server);
        ASSERT_TRUE(Open(m_server.Get()));
        Key(VK_TAB);
    }
    void TearDown() override {
        m_restart.Ensure();
        m_server.Release();
        FormTest::TearDown();
    }

    bool Open(IDispatch* connection) {
        return OpenForm(form_.Get(), connection, "SELECT * FROM " + m_table + " ORDER BY id",
                        designs_.Write({ColumnItem("city", kCityRect, 1)}));
    }
    std::string Stored(CDataConnection& connection, int id) {
        return StoredText(connection, m_table, "city", "id = " + std::to_string(id));
    }

    std::string m_connectionString;
    std::string m_table;
    CDataConnection m_setup;
    CComPtr<_Connection> m_server;
    ServerRestart m_restart;
};

TEST_P(PgFormFaultTest, KeystrokesAfterTheStopAreNotShownAsSaved) {
    Type("x");
    Key(VK_NEXT);
    Type("y");
    ASSERT_EQ(Stored(m_setup, 1), "c1x");
    ASSERT_EQ(Stored(m_setup, 2), "c2y");

    ASSERT_TRUE(PrivatePostgresServer::Get().Halt(GetParam()));
    Type("z");
    const std::optional<std::string> shown = GetItem("city");
    EXPECT_TRUE(!shown || *shown == "c2y") << *shown;
    // SetItem only sets the field, and saves nothing, with or without a server.
    SetItem("city", "set after");
    for (const UINT key : {VK_NEXT, VK_END, VK_PRIOR, VK_HOME}) {
        Key(key);
    }
    Type("w");

    ASSERT_TRUE(PrivatePostgresServer::Get().Start());
    CDataConnection check;
    ASSERT_TRUE(check.Open(m_connectionString));
    EXPECT_EQ(Stored(check, 1), "c1x");
    EXPECT_EQ(Stored(check, 2), "c2y");
    EXPECT_EQ(StoredText(check, m_table, "count(*)",
                         "city LIKE '%z%' OR city LIKE '%w%' OR city = 'set after'"),
              "0");

    // The old connection stays lost: the form opens its design but no records. A new connection
    // opens both and takes keystrokes again.
    EXPECT_TRUE(Open(m_server.Get()));
    EXPECT_EQ(GetItem("city"), std::nullopt);
    EXPECT_FALSE(SetItem("city", "set after"));
    const CComPtr<_Connection> fresh = OpenHostConnection(m_connectionString);
    ASSERT_TRUE(fresh);
    ASSERT_TRUE(Open(fresh.Get()));
    Key(VK_TAB);
    Type("v");
    EXPECT_EQ(Stored(check, 1), "c1xv");
    EXPECT_TRUE(Execute(check, "DROP TABLE " + m_table));
}

INSTANTIATE_TEST_SUITE_P(Stops, PgFormFaultTest, ::testing::ValuesIn(kShutdownModes),
                         ShutdownModeName);

}  // namespace
