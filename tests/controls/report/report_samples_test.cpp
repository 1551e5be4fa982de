// The sample layouts qorlayout compiles, printed as a host prints them: through the module on
// the recording printer and to a PDF read back as text, and by qorhost running the demo script
// on both providers.
#include <gmock/gmock.h>

#include <regex>

#include "platform/dialogs/scripted_dialogs.h"
#include "platform/gdi/recording_printer.h"
#include "tests/controls/report/report_drawn.h"
#include "tests/controls/report/report_test_support.h"
#include "tests/tools/program_run.h"

namespace {

using ::testing::HasSubstr;

class ReportSamplesTest : public ReportTest {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(ReportTest::SetUp());
        connection_ = OpenHostConnection(sample_.ConnectionString());
        ASSERT_TRUE(connection_);
    }
    void PrintSample(const char* layout) {
        ASSERT_EQ(Load(std::string(layout)), 1);
        ASSERT_EQ(Bind(connection_.Get()), 1);
        ASSERT_EQ(Long("BeginPrint"), 1);
        Call("Print");
        EXPECT_EQ(Long("EndPrint"), 1);
    }

    ScopedScriptedDialogs dialogs_;
    SampleCopy sample_;
    CComPtr<_Connection> connection_;
};

// Every page has the title, the captions and the footer; the 200 customers follow in order, a
// ticked box for each active one.
TEST_F(ReportSamplesTest, TheCustomerListPrintsEveryCustomerUnderItsPageHeader) {
    CRecordingPrinter printer;
    dialogs_->PushPrinter(printer);
    ASSERT_NO_FATAL_FAILURE(PrintSample(QOR_SAMPLE_CUSTOMERS_REPORT));
    ASSERT_EQ(printer.Documents().size(), 1U);
    const std::vector<PrintedPage>& pages = printer.Documents()[0].pages;
    ASSERT_EQ(pages.size(), 5U);
    std::vector<std::string> numbers;
    int ticks = 0;
    for (const PrintedPage& page : pages) {
        const std::vector<std::string> texts = Texts(page.calls);
        ASSERT_GE(texts.size(), 9U);
        EXPECT_EQ(
            std::vector<std::string>(texts.begin(), texts.begin() + 9),
            (std::vector<std::string>{"Customers", "Customers", "All customers by number", "No",
                                      "Name", "City", "Country", "Active", "QOR sample database"}));
        for (const std::string& text : texts) {
            if (std::regex_match(text, std::regex("C[0-9]{5}"))) {
                numbers.push_back(text);
            }
        }
        for (const DcCall& call : page.calls) {
            ticks += call.op == DcOp::LineTo && call.pen.width == 2 ? 1 : 0;
        }
    }
    ASSERT_EQ(numbers.size(), 200U);
    EXPECT_EQ(numbers.front(), "C00001");
    EXPECT_EQ(numbers.back(), "C00200");
    EXPECT_TRUE(std::is_sorted(numbers.begin(), numbers.end()));
    const CComPtr<_Connection> check = OpenHostConnection(sample_.ConnectionString());
    CDataConnection holder;
    ASSERT_TRUE(holder.Attach(check));
    CDataRecordset active(holder);
    ASSERT_TRUE(active.Open("SELECT customer_id FROM customers WHERE active"));
    LONG count = 0;
    ASSERT_TRUE(active.GetRecordCount(count));
    EXPECT_EQ(ticks, 2 * count);  // a tick is two strokes
}

TEST_F(ReportSamplesTest, TheOrderListingPrintsDatesThroughTheMaskAndAmountsRightAligned) {
    const ScopedLocale locale("en_US.UTF-8");
    CRecordingPrinter printer;
    dialogs_->PushPrinter(printer);
    ASSERT_NO_FATAL_FAILURE(PrintSample(QOR_SAMPLE_ORDERS_REPORT));
    ASSERT_EQ(printer.Documents().size(), 1U);
    int dates = 0;
    int amounts = 0;
    for (const PrintedPage& page : printer.Documents()[0].pages) {
        for (const DcCall& call : page.calls) {
            if (call.op != DcOp::DrawText) {
                continue;
            }
            dates += std::regex_match(call.text, std::regex("[01][0-9]/[0-3][0-9]/20[0-9]{2}"));
            if (std::regex_match(call.text, std::regex("[0-9]+\\.[0-9]{1,2}|[0-9]+"))) {
                amounts += (call.flags & DT_RIGHT) != 0;
            }
        }
    }
    EXPECT_EQ(dates, 300);
    EXPECT_EQ(amounts, 2 * 300);  // the order number and the total
}

TEST_F(ReportSamplesTest, TheCustomerListAsAPdf) {
    const std::string pdf = folder_.File("customers.pdf");
    dialogs_->PushPrintToFile(pdf);
    ASSERT_NO_FATAL_FAILURE(PrintSample(QOR_SAMPLE_CUSTOMERS_REPORT));
    const std::string text = PdfText(pdf);
    EXPECT_THAT(text, HasSubstr("Customers"));
    EXPECT_THAT(text, HasSubstr("Se\xC3\xA1n O'Brien"));
    EXPECT_THAT(text, HasSubstr("C00200"));
    EXPECT_LT(text.find("C00001"), text.find("C00002"));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 5);
}

class ReportHostTest : public ::testing::TestWithParam<Provider> {
  protected:
    void SetUp() override { ASSERT_TRUE(RegisterReportModule()); }

    CTempRegistry registry_;
    TempFolder folder_;
};

TEST_P(ReportHostTest, TheDemoScriptPrintsTheCustomerListToAPdf) {
    std::unique_ptr<SampleCopy> sample;
    std::string database = TestDatabase(GetParam(), sample);
    if (database.empty()) {
        GTEST_SKIP() << kNoPostgresServer;
    }
    const std::string pdf = folder_.File("customers.pdf");
    const ProgramRun run = RunCommandLine(
        "XDG_RUNTIME_DIR=" + ShellQuoted(folder_.File("")) + " " + ShellQuoted(QORHOST_PROGRAM) +
            " --script " + ShellQuoted(QOR_CUSTOMERS_REPORT_SCRIPT) + " --headless " +
            ShellQuoted(database) + " " + ShellQuoted(QOR_SAMPLE_CUSTOMERS_REPORT) + " " +
            ShellQuoted(pdf),
        folder_.File(""));
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    const std::string text = PdfText(pdf);
    EXPECT_THAT(text, HasSubstr("All customers by number"));
    EXPECT_THAT(text, HasSubstr("J\xC3\xBCrgen M\xC3\xBCller"));
    EXPECT_THAT(text, HasSubstr("Printed 20"));

    const ProgramRun missing = RunCommandLine(
        "XDG_RUNTIME_DIR=" + ShellQuoted(folder_.File("")) + " " + ShellQuoted(QORHOST_PROGRAM) +
            " --script " + ShellQuoted(QOR_CUSTOMERS_REPORT_SCRIPT) + " --headless " +
            ShellQuoted(database) + " " + ShellQuoted(folder_.File("none.rpt")),
        folder_.File(""));
    EXPECT_EQ(missing.status, 1);
    EXPECT_THAT(missing.out, HasSubstr("cannot load the report layout"));
}

INSTANTIATE_TEST_SUITE_P(Providers, ReportHostTest,
                         ::testing::Values(Provider::SQLite, Provider::PostgreSQL), ProviderName);

}  // namespace
