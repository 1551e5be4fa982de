// A report bound to a query on both providers: one band per record with the fields' texts, two
// jobs alike, queries that give nothing, and a cancelled dialog that stops the whole Print.
#include <gmock/gmock.h>

#include "platform/dialogs/scripted_dialogs.h"
#include "platform/gdi/recording_printer.h"
#include "tests/controls/report/report_drawn.h"
#include "tests/controls/report/report_test_support.h"

namespace {

using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

constexpr const char* kCustomers =
    "SELECT customer_no, name, active FROM customers WHERE customer_id <= 3 ORDER BY customer_id";

// "3/5/2024" as "03/05/2024".
std::string WithLeadingZeros(const std::string& shortDate) {
    std::string out;
    std::size_t start = 0;
    for (std::size_t slash = shortDate.find('/'); slash != std::string::npos;
         start = slash + 1, slash = shortDate.find('/', start)) {
        const std::string part = shortDate.substr(start, slash - start);
        out += (part.size() == 1 ? "0" + part : part) + "/";
    }
    return out + shortDate.substr(start);
}

// A band per customer: the number, the name and the active flag as a check box.
std::vector<ReportItem> CustomerItems() {
    ReportItem number = MakeItem(kDetail, kReportColumn, "customer_no", {0, 100, 200, 130});
    ReportItem name = MakeItem(kDetail, kReportColumn, "NAME", {200, 100, 600, 130}, "?");
    ReportItem active = MakeItem(kDetail, kReportColumn, "active", {600, 100, 640, 130});
    active.editStyle = kReportCheckBoxStyle;
    active.checkedValue = "1";
    ReportItem title = MakeItem(kPageHeader, kReportText, "title", {0, 0, 800, 40}, "Customers");
    ReportItem missing =
        MakeItem(kPageHeader, kReportColumn, "no_such_field", {0, 40, 800, 60}, "kept");
    return {title, missing, number, name, active};
}

class ReportBindingTest : public ReportTest, public ::testing::WithParamInterface<Provider> {
  protected:
    void SetUp() override {
        connectionString_ = TestDatabase(GetParam(), sample_);
        if (connectionString_.empty()) {
            GTEST_SKIP() << kNoPostgresServer;
        }
        ASSERT_NO_FATAL_FAILURE(ReportTest::SetUp());
        connection_ = OpenHostConnection(connectionString_);
        ASSERT_TRUE(connection_);
    }
    int LoadQuery(const std::string& sql, const std::vector<ReportItem>& items = CustomerItems()) {
        return Load({80, 130, 160, sql}, items);
    }
    // One job: a printer chosen, the bands printed and the job ended; the printer's recording.
    CRecordingPrinter PrintJob() {
        CRecordingPrinter printer;
        dialogs_->PushPrinter(printer);
        EXPECT_EQ(Long("BeginPrint"), 1);
        Call("Print");
        EXPECT_EQ(Long("EndPrint"), 1);
        return printer;
    }

    ScopedScriptedDialogs dialogs_;
    std::unique_ptr<SampleCopy> sample_;
    std::string connectionString_;
    CComPtr<_Connection> connection_;
};

TEST_P(ReportBindingTest, EachRecordPrintsABandWithItsFieldsTexts) {
    ASSERT_EQ(LoadQuery(std::string("  ") + kCustomers + "  "), 1);
    ASSERT_EQ(Bind(connection_.Get()), 1);
    EXPECT_EQ(Member(&ReportState::m_sqlText), kCustomers);
    const CRecordingPrinter printer = PrintJob();
    ASSERT_EQ(printer.Documents().size(), 1U);
    ASSERT_EQ(printer.Documents()[0].pages.size(), 1U);

    const std::vector<std::string> numbers =
        FieldTexts(connectionString_, kCustomers, "customer_no");
    const std::vector<std::string> names = FieldTexts(connectionString_, kCustomers, "name");
    ASSERT_EQ(names.size(), 3U);
    EXPECT_THAT(Texts(printer.Documents()[0].pages[0].calls),
                ElementsAreArray({std::string("Customers"), std::string("kept"), numbers[0],
                                  names[0], numbers[1], names[1], numbers[2], names[2]}));
    // The active customers' boxes are ticked.
    EXPECT_EQ(FieldTexts(connectionString_, kCustomers, "active"),
              (std::vector<std::string>{"1", "1", "1"}));
    int ticks = 0;
    for (const DcCall& call : printer.Documents()[0].pages[0].calls) {
        ticks += call.op == DcOp::LineTo && call.pen.width == 2 ? 1 : 0;
    }
    EXPECT_EQ(ticks, 3 * 2);
    // EndPrint closed the query: the report is still bound but prints one band as it stands.
    EXPECT_TRUE(Member(&ReportState::m_bound));
    EXPECT_FALSE(Member(&ReportState::m_recordsetOpen));
}

TEST_P(ReportBindingTest, TwoJobsInARowPrintIdenticalPages) {
    ASSERT_EQ(LoadQuery(kCustomers), 1);
    ASSERT_EQ(Bind(connection_.Get()), 1);
    const CRecordingPrinter first = PrintJob();
    ASSERT_EQ(Bind(connection_.Get()), 1);
    const CRecordingPrinter second = PrintJob();
    ASSERT_EQ(first.Documents().size(), 1U);
    ASSERT_EQ(second.Documents().size(), 1U);
    ASSERT_EQ(first.Documents()[0].pages.size(), second.Documents()[0].pages.size());
    for (std::size_t p = 0; p < first.Documents()[0].pages.size(); ++p) {
        EXPECT_EQ(Drawn(first.Documents()[0].pages[p].calls),
                  Drawn(second.Documents()[0].pages[p].calls));
    }
}

// A cancelled dialog stops the Print at once: one dialog, not one per record.
TEST_P(ReportBindingTest, ACancelledDialogStopsTheWholePrint) {
    ASSERT_EQ(LoadQuery(kCustomers), 1);
    ASSERT_EQ(Bind(connection_.Get()), 1);
    dialogs_->PushCancel();
    Call("Print");
    EXPECT_EQ(dialogs_->Shown().size(), 1U);
    EXPECT_TRUE(Member(&ReportState::m_detailItems).empty());
}

TEST_P(ReportBindingTest, QueriesThatGiveNoRecords) {
    struct Case {
        const char* name;
        std::string sql;
        int bound;
        std::vector<std::string> printed;  // nothing: no dialog, no document
    };
    const std::vector<Case> cases = {
        {"NoRecords", "SELECT * FROM customers WHERE customer_id < 0", 1, {}},
        {"EmptyText", "   ", 0, {"Customers", "kept", "?"}},
        {"NoSuchTable", "SELECT * FROM no_such_table", 0, {"Customers", "kept", "?"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(LoadQuery(c.sql), 1);
        EXPECT_EQ(Bind(connection_.Get()), c.bound);
        CRecordingPrinter printer;
        if (c.printed.empty()) {
            Call("Print");
            EXPECT_THAT(dialogs_->Shown(), IsEmpty());
            continue;
        }
        dialogs_->PushPrinter(printer);
        Call("Print");
        Long("EndPrint");
        ASSERT_EQ(printer.Documents().size(), 1U);
        EXPECT_EQ(Texts(printer.Documents()[0].pages.at(0).calls), c.printed);
    }
}

TEST_P(ReportBindingTest, ADateFieldPrintsThroughItsDateMask) {
    const ScopedLocale locale("en_US.UTF-8");
    const std::string sql =
        "SELECT order_id, order_date FROM orders WHERE order_id <= 2 ORDER BY order_id";
    ReportItem date = MakeItem(kDetail, kReportColumn, "order_date", {0, 100, 200, 130});
    date.editStyle = kReportMaskStyle;
    date.mask = "##/##/####";
    ASSERT_EQ(LoadQuery(sql, {date}), 1);
    ASSERT_EQ(Bind(connection_.Get()), 1);
    const CRecordingPrinter printer = PrintJob();
    const std::vector<std::string> dates = FieldTexts(connectionString_, sql, "order_date");
    ASSERT_EQ(dates.size(), 2U);
    ASSERT_EQ(printer.Documents().size(), 1U);
    EXPECT_EQ(Texts(printer.Documents()[0].pages.at(0).calls),
              (std::vector<std::string>{WithLeadingZeros(dates[0]), WithLeadingZeros(dates[1])}));
}

TEST_P(ReportBindingTest, AConnectionThatFailsItsQueryLeavesTheReportUnbound) {
    ASSERT_EQ(LoadQuery(kCustomers), 1);
    const CComPtr<CFailingConnection> failing = MakeComObject<CFailingConnection>();
    EXPECT_EQ(Bind(failing.Get()), 0);
    EXPECT_FALSE(Member(&ReportState::m_bound));
    // No connection at all binds, but the query cannot open on it.
    EXPECT_EQ(Bind(nullptr), 0);
    EXPECT_TRUE(Member(&ReportState::m_bound));
    EXPECT_FALSE(Member(&ReportState::m_recordsetOpen));
}

INSTANTIATE_TEST_SUITE_P(Providers, ReportBindingTest,
                         ::testing::Values(Provider::SQLite, Provider::PostgreSQL), ProviderName);

}  // namespace
