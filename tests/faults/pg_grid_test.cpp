// The bound grid when its PostgreSQL server goes away while the clerk pages and edits: every
// later write fails with the connection's error, nothing acknowledged is lost, and after the
// restart a new binding works while the old connection keeps failing clearly.
#include "platform/dialogs/scripted_dialogs.h"
#include "platform/testing/input.h"
#include "tests/controls/grid/grid_test_support.h"
#include "tests/faults/pg_fault_support.h"

namespace {

constexpr int kRecords = 400;

std::string NameOf(int id) {
    return "n" + std::to_string(id);
}

class PgGridFaultTest : public GridTest, public ::testing::WithParamInterface<const char*> {
  protected:
    void SetUp() override {
        USE_PRIVATE_POSTGRES_SERVER();
        ASSERT_NO_FATAL_FAILURE(GridTest::SetUp());
        ASSERT_TRUE(m_db.Choose(Provider::PostgreSQL));
        std::string values;
        for (int id = 1; id <= kRecords; ++id) {
            values += (id > 1 ? ", (" : "(") + std::to_string(id) + ", '" + NameOf(id) + "')";
        }
        // A table per case: one left behind by a case that stopped the server stays.
        static int cases = 0;
        const std::string prefix =
            "qor_pg_grid_" + std::string(GetParam()) + std::to_string(++cases) + "_";
        ASSERT_TRUE(m_db.Create(prefix, "name VARCHAR(20)", "VALUES " + values));
        Insert({"name"});
        ASSERT_TRUE(Bind(m_db.connection.Get()));
    }
    void TearDown() override {
        m_restart.Ensure();
        GridTest::TearDown();
    }

    bool Bind(IDispatch* connection) {
        return Bool(
            "BindToDatabase",
            {CComVariant(connection), CComVariant("SELECT * FROM " + m_db.table + " ORDER BY id")});
    }
    void Key(UINT vk, int times = 1) {
        for (int i = 0; i < times; ++i) {
            SendKey(*window_, vk);
        }
    }
    // Replaces the current cell's text by typing, then leaves the cell downwards.
    void TypeAndLeave(const std::string& text) {
        for (int i = 0; i < 20; ++i) {
            SendKey(*window_, VK_BACK, 0, "\b");
        }
        TypeText(*window_, text);
        Key(VK_DOWN);
    }
    std::string Current() { return Item(Member(&GridState::m_currentRow), CComVariant("name")); }

    GridDatabase m_db;
    ServerRestart m_restart;
};

TEST_P(PgGridFaultTest, WritesAfterTheStopFailAndWhatWasSavedStays) {
    Key(VK_NEXT, 3);
    const std::string savedId = Current().substr(1);
    TypeAndLeave("saved before");
    ASSERT_EQ(StoredText(m_db.setup, m_db.table, "name", "id = " + savedId), "saved before");

    ASSERT_TRUE(PrivatePostgresServer::Get().Halt(GetParam()));
    ScopedScriptedDialogs dialogs;
    TypeAndLeave("typed after");
    ASSERT_EQ(dialogs->Shown().size(), 1U);
    EXPECT_EQ(dialogs->Shown()[0].caption, "Error updating column");
    EXPECT_THAT(dialogs->Shown()[0].text, LostConnectionText());
    EXPECT_TRUE(
        Bool("FindRow", {CComVariant("name"), CComVariant("typed after"), CComVariant(false)}));

    // Pages the grid cannot read stay away; a cell it cannot compare is written and fails.
    Key(VK_END);
    Key(VK_NEXT, 2);
    Key(VK_HOME);
    Key(VK_DOWN, kRecords);
    for (std::size_t r = 0; r < Member(&GridState::m_rows).size(); ++r) {
        EXPECT_NE(Item(static_cast<int>(r), CComVariant("name")), "") << "row " << r;
    }
    EXPECT_FALSE(Bool("DeleteCurrentRow"));
    ASSERT_GE(dialogs->Shown().size(), 2U);
    EXPECT_EQ(dialogs->Shown().back().caption, "Error deleting current row");
    for (const ShownDialog& shown : dialogs->Shown()) {
        EXPECT_THAT(shown.text, LostConnectionText()) << shown.caption;
    }
    EXPECT_FALSE(Bind(m_db.connection.Get()));

    ASSERT_TRUE(PrivatePostgresServer::Get().Start());
    CDataConnection check;
    ASSERT_TRUE(check.Open(m_db.connectionString));
    EXPECT_EQ(StoredText(check, m_db.table, "name", "id = " + savedId), "saved before");
    EXPECT_EQ(StoredText(check, m_db.table, "count(*)", "name = 'typed after'"), "0");
    EXPECT_EQ(StoredText(check, m_db.table, "count(*)", "TRUE"), std::to_string(kRecords));

    // The old connection stays lost; the host opens a new one and binds again.
    EXPECT_FALSE(Bind(m_db.connection.Get()));
    const CComPtr<_Connection> fresh = OpenHostConnection(m_db.connectionString);
    ASSERT_TRUE(fresh);
    ASSERT_TRUE(Bind(fresh.Get()));
    dialogs->ClearShown();
    TypeAndLeave("after restart");
    EXPECT_TRUE(dialogs->Shown().empty());
    EXPECT_EQ(StoredText(check, m_db.table, "name", "id = 1"), "after restart");
}

TEST_P(PgGridFaultTest, APrintThatCannotReadEveryRecordIsDroppedAndTold) {
    ASSERT_TRUE(PrivatePostgresServer::Get().Halt(GetParam()));
    ScopedScriptedDialogs dialogs;
    const CRecordingPrinter printer;
    dialogs->PushPrinter(printer);
    Call("Print");
    ExpectPrintDroppedAndTold(printer, dialogs);
}

INSTANTIATE_TEST_SUITE_P(Stops, PgGridFaultTest, ::testing::ValuesIn(kShutdownModes),
                         ShutdownModeName);

}  // namespace
