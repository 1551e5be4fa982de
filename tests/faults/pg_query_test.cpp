// The query list when its PostgreSQL server goes away while the user marks rows and the host
// walks the marks (which wraps to the first mark after the last): a walk never lands on a record
// that was not marked, marking all records marks all or none, and after the restart a new
// binding marks and walks again.
#include "platform/testing/input.h"
#include "tests/controls/query/query_test_support.h"
#include "tests/faults/pg_fault_support.h"

namespace {

constexpr int kRecords = 600;

class PgQueryFaultTest : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        USE_PRIVATE_POSTGRES_SERVER();
        ASSERT_TRUE(m_table.Choose(Provider::PostgreSQL));
        // A table per case: one left behind by a case that stopped the server stays.
        static int cases = 0;
        ASSERT_TRUE(m_table.Create(
            kRecords, "qry_pg_" + std::string(GetParam()) + std::to_string(++cases) + "_"));
        ASSERT_NO_FATAL_FAILURE(m_host.Create(400, 300));
        ASSERT_TRUE(m_host.Bind(m_table.connection.Get(), m_table.SelectAll()));
        m_host.Paint();
    }
    void TearDown() override { m_restart.Ensure(); }

    // The ids the walk over the marks reaches, in order: "-" for a step that fails, "?" for a
    // record whose id cannot be read.
    std::vector<std::string> Walk(int steps) {
        std::vector<std::string> ids;
        for (int i = 0; i < steps; ++i) {
            if (!m_host.Bool(i == 0 ? "MoveToFirstSelected" : "MoveToNextSelected")) {
                ids.emplace_back("-");
                continue;
            }
            const std::string id = m_host.Field("id");
            ids.push_back(id == "(false)" ? "?" : id);
        }
        return ids;
    }

    CTempRegistry m_registry;
    QueryTable m_table;
    QueryHost m_host;
    ServerRestart m_restart;
};

TEST_P(PgQueryFaultTest, WalksAfterTheStopReachOnlyMarkedRecords) {
    m_host.CtrlClick(0);
    m_host.CtrlClick(2);
    ASSERT_EQ(Walk(3), (std::vector<std::string>{"1", "3", "1"}));

    ASSERT_TRUE(PrivatePostgresServer::Get().Halt(GetParam()));
    for (const std::string& id : Walk(3)) {
        EXPECT_TRUE(id == "1" || id == "3" || id == "-" || id == "?") << id;
    }
    for (const UINT key : {VK_NEXT, VK_END, VK_DOWN, VK_HOME}) {
        SendKey(m_host.Window(), key);
        m_host.Paint();
    }
    // Marking every record either marks them all, in order, or leaves no mark to walk.
    m_host.Call("SelectAll", {CComVariant(true)});
    const std::vector<std::string> walked = Walk(kRecords + 1);
    for (std::size_t i = 0; i < walked.size(); ++i) {
        const std::string id = std::to_string(i % kRecords + 1);
        EXPECT_TRUE(walked[i] == id || walked[i] == "?" || walked[i] == "-")
            << "step " << i << ": " << walked[i];
    }

    ASSERT_TRUE(PrivatePostgresServer::Get().Start());
    EXPECT_FALSE(m_host.Bind(m_table.connection.Get(), m_table.SelectAll()));
    const CComPtr<_Connection> fresh = OpenHostConnection(m_table.connectionString);
    ASSERT_TRUE(fresh);
    ASSERT_TRUE(m_host.Bind(fresh.Get(), m_table.SelectAll()));
    m_host.Paint();
    m_host.CtrlClick(1);
    EXPECT_EQ(Walk(2), (std::vector<std::string>{"2", "2"}));
}

TEST_P(PgQueryFaultTest, APrintThatCannotReadEveryRecordIsDroppedAndTold) {
    ASSERT_TRUE(PrivatePostgresServer::Get().Halt(GetParam()));
    ScopedScriptedDialogs dialogs;
    const CRecordingPrinter printer;
    dialogs->PushPrinter(printer);
    m_host.Call("Print");
    ExpectPrintDroppedAndTold(printer, dialogs);
}

INSTANTIATE_TEST_SUITE_P(Stops, PgQueryFaultTest, ::testing::ValuesIn(kShutdownModes),
                         ShutdownModeName);

}  // namespace
