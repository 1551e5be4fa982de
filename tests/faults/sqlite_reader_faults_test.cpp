// The reading controls (the query list and the report) bound while their SQLite file is locked
// by another writer, moved, removed or left in a read-only folder: only a lock that keeps
// readers out stops the binding, quickly and with the file's own error; every other fault leaves
// the records as the file held them, all of them, and once the lock is gone they bind again.
#include <gmock/gmock.h>

#include <chrono>

#include "platform/dialogs/scripted_dialogs.h"
#include "platform/gdi/recording_printer.h"
#include "tests/controls/query/query_test_support.h"
#include "tests/controls/report/report_drawn.h"
#include "tests/controls/report/report_test_support.h"
#include "tests/faults/sqlite_fault_support.h"
#include "tests/platform/ado/connection_errors.h"

namespace {

// Readers wait out the host connection's one-second lock timeout, and no longer.
constexpr auto kLockWaitLimit = std::chrono::seconds(5);

// Whether readers still read the file under the fault: only an exclusive lock bars them.
bool KeepsReadersOut(const FaultCase& fault) {
    return fault.kind == FaultKind::ExclusiveLock;
}

// Binds under the fault, within the lock timeout, and checks that the binding took unless the
// fault keeps readers out, which the connection's errors then say; true when it took.
template <class BindFunction>
bool BindUnderFault(const FaultCase& fault, const CComPtr<_Connection>& connection,
                    BindFunction bind) {
    const auto start = std::chrono::steady_clock::now();
    const bool bound = bind();
    EXPECT_LT(std::chrono::steady_clock::now() - start, kLockWaitLimit);
    EXPECT_EQ(bound, !KeepsReadersOut(fault));
    if (!bound) {
        EXPECT_THAT(ErrorTexts(connection), ::testing::HasSubstr(fault.message));
    }
    return bound;
}

class ReaderFaultTest : public ::testing::TestWithParam<FaultCase> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_db.Ready());
        m_connection = m_db.HostConnection();
        ASSERT_TRUE(m_connection);
    }

    CTempRegistry m_registry;
    FaultDatabase m_db{GetParam().journal};
    CComPtr<_Connection> m_connection;
};

// The ids the query list's walk over every marked record reaches, wrapping once.
std::vector<int> WalkAll(QueryHost& host) {
    host.Call("SelectAll", {CComVariant(true)});
    return host.Walk(kEntries + 1);
}

std::vector<int> AllIdsWrapped() {
    std::vector<int> ids;
    for (int id = 1; id <= kEntries; ++id) {
        ids.push_back(id);
    }
    ids.push_back(1);
    return ids;
}

TEST_P(ReaderFaultTest, TheQueryListShowsEveryRecordOrBindsNothing) {
    QueryHost host;
    ASSERT_NO_FATAL_FAILURE(host.Create(400, 300));
    const std::string sql = "SELECT * FROM entries ORDER BY id";
    {
        ScopedFault fault(m_db, GetParam().kind);
        ASSERT_TRUE(fault.Made());
        if (BindUnderFault(GetParam(), m_connection,
                           [&] { return host.Bind(m_connection.Get(), sql); })) {
            host.Paint();
            EXPECT_EQ(WalkAll(host), AllIdsWrapped());
            return;
        }
    }
    ASSERT_TRUE(host.Bind(m_connection.Get(), sql));
    EXPECT_EQ(WalkAll(host), AllIdsWrapped());
}

class ReportReaderFaultTest : public ReportTest, public ::testing::WithParamInterface<FaultCase> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_db.Ready());
        ASSERT_NO_FATAL_FAILURE(ReportTest::SetUp());
        m_connection = m_db.HostConnection();
        ASSERT_TRUE(m_connection);
        const ReportItem name = MakeItem(kDetail, kReportColumn, "name", {0, 100, 400, 130}, "?");
        ASSERT_EQ(Load({80, 130, 160, "SELECT * FROM entries ORDER BY id"}, {name}), 1);
    }

    // The names a whole print job shows, in order; none when the job was not ended.
    std::vector<std::string> PrintedNames() {
        ScopedScriptedDialogs dialogs;
        const CRecordingPrinter printer;
        dialogs->PushPrinter(printer);
        EXPECT_EQ(Long("BeginPrint"), 1);
        Call("Print");
        EXPECT_EQ(Long("EndPrint"), 1);
        for (const ShownDialog& shown : dialogs->Shown()) {
            EXPECT_NE(shown.kind, ShownDialog::Kind::MessageBox) << shown.text;
        }
        for (const PrintedDocument& document : printer.Documents()) {
            EXPECT_EQ(document.state, PrintedDocument::State::Ended);
        }
        return PrintedTexts(printer);
    }

    FaultDatabase m_db{GetParam().journal};
    CComPtr<_Connection> m_connection;
};

std::vector<std::string> AllNames() {
    std::vector<std::string> names;
    for (int id = 1; id <= kEntries; ++id) {
        names.push_back("name " + std::to_string(id));
    }
    return names;
}

TEST_P(ReportReaderFaultTest, TheReportPrintsEveryRecordOrBindsNothing) {
    {
        ScopedFault fault(m_db, GetParam().kind);
        ASSERT_TRUE(fault.Made());
        if (BindUnderFault(GetParam(), m_connection,
                           [&] { return Bind(m_connection.Get()) == 1; })) {
            EXPECT_EQ(PrintedNames(), AllNames());
            return;
        }
    }
    ASSERT_EQ(Bind(m_connection.Get()), 1);
    EXPECT_EQ(PrintedNames(), AllNames());
}

INSTANTIATE_TEST_SUITE_P(Faults, ReaderFaultTest, ::testing::ValuesIn(FaultCases()), FaultName);
INSTANTIATE_TEST_SUITE_P(Faults, ReportReaderFaultTest, ::testing::ValuesIn(FaultCases()),
                         FaultName);

}  // namespace
