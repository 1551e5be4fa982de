// The bound report when its PostgreSQL server goes away between binding and printing, printed
// directly and through the print preview: no band shows a record it could not read, the
// document that misses records is not ended as if complete, and a new binding prints again.
#include <gmock/gmock.h>

#include "platform/dialogs/scripted_dialogs.h"
#include "platform/gdi/recording_printer.h"
#include "tests/controls/report/report_drawn.h"
#include "tests/controls/report/report_test_support.h"
#include "tests/faults/pg_fault_support.h"

namespace {

// More records than the first reads of the query fetch, so that printing reads on.
constexpr int kRecords = 600;

struct ReportStopCase {
    const char* name;
    const char* mode;
    bool preview;
};

const std::vector<ReportStopCase> kReportStops = {
    {"FastStopPrinting", "fast", false},
    {"ImmediateStopPrinting", "immediate", false},
    {"FastStopInThePreview", "fast", true},
    {"ImmediateStopInThePreview", "immediate", true},
};

class PgReportFaultTest : public ReportTest, public ::testing::WithParamInterface<ReportStopCase> {
  protected:
    void SetUp() override {
        USE_PRIVATE_POSTGRES_SERVER();
        ASSERT_NO_FATAL_FAILURE(ReportTest::SetUp());
        m_connectionString = PrivatePostgresServer::Get().ConnectionString();
        ASSERT_TRUE(m_setup.Open(m_connectionString));
        m_table = std::string("qor_pg_report_") + GetParam().name;
        ASSERT_TRUE(Execute(m_setup, "CREATE TABLE " + m_table +
                                         " AS SELECT id, 'n' || id AS name FROM "
                                         "generate_series(1, " +
                                         std::to_string(kRecords) + ") AS id"));
        ASSERT_TRUE(Execute(m_setup, "ALTER TABLE " + m_table + " ADD PRIMARY KEY (id)"));
        const ReportItem name = MakeItem(kDetail, kReportColumn, "name", {0, 100, 400, 130}, "?");
        ASSERT_EQ(Load({80, 130, 160, "SELECT * FROM " + m_table + " ORDER BY id"}, {name}), 1);
        m_connection = OpenHostConnection(m_connectionString);
        ASSERT_TRUE(m_connection);
    }
    void TearDown() override {
        m_restart.Ensure();
        ReportTest::TearDown();
    }

    // A job on a recording printer, shown in the preview first when the case says so, whose
    // preview prints what it shows.
    void Job(const CRecordingPrinter& printer) {
        m_dialogs->PushPrinter(printer, GetParam().preview);
        if (GetParam().preview) {
            m_dialogs->PushButton(IDOK);
        }
        EXPECT_EQ(Long("BeginPrint"), 1);
        Call("Print");
        EXPECT_EQ(Long("EndPrint"), 1);
    }

    std::string m_connectionString;
    std::string m_table;
    CDataConnection m_setup;
    CComPtr<_Connection> m_connection;
    ScopedScriptedDialogs m_dialogs;
    ServerRestart m_restart;
};

TEST_P(PgReportFaultTest, RecordsThatCannotBeReadAreNotPrintedAsIfRead) {
    ASSERT_EQ(Bind(m_connection.Get()), 1);
    ASSERT_TRUE(PrivatePostgresServer::Get().Halt(GetParam().mode));
    const CRecordingPrinter printer;
    Job(printer);

    const std::vector<std::string> names = PrintedTexts(printer);
    EXPECT_LT(names.size(), static_cast<std::size_t>(kRecords));
    for (std::size_t i = 0; i < names.size(); ++i) {
        ASSERT_EQ(names[i], "n" + std::to_string(i + 1)) << "band " << i;
    }
    for (const PrintedDocument& document : printer.Documents()) {
        EXPECT_EQ(document.state, PrintedDocument::State::Aborted);
    }
    ASSERT_FALSE(m_dialogs->Shown().empty());
    const ShownDialog& told = m_dialogs->Shown().back();
    EXPECT_EQ(told.caption, "Error reading the report's records");
    EXPECT_THAT(told.text, LostConnectionText());

    // The old connection stays lost; a new one binds and prints every record.
    ASSERT_TRUE(PrivatePostgresServer::Get().Start());
    EXPECT_EQ(Bind(m_connection.Get()), 0);
    const CComPtr<_Connection> fresh = OpenHostConnection(m_connectionString);
    ASSERT_TRUE(fresh);
    ASSERT_EQ(Bind(fresh.Get()), 1);
    const CRecordingPrinter again;
    Job(again);
    EXPECT_EQ(PrintedTexts(again).size(), static_cast<std::size_t>(kRecords));
    ASSERT_EQ(again.Documents().size(), 1U);
    EXPECT_EQ(again.Documents()[0].state, PrintedDocument::State::Ended);
    CDataConnection cleanup;
    ASSERT_TRUE(cleanup.Open(m_connectionString));
    EXPECT_TRUE(Execute(cleanup, "DROP TABLE " + m_table));
}

INSTANTIATE_TEST_SUITE_P(Stops, PgReportFaultTest, ::testing::ValuesIn(kReportStops),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
