// Printing the query list through its module: the layout on the recording printer call by call,
// page breaks, columns cut at the paper's edge, the marked rows in marking order, failures with
// their messages, and one PDF read back as text.
#include <gmock/gmock.h>

#include "controls/common/print_job.h"
#include "controls/query/query_text.h"
#include "platform/dialogs/scripted_dialogs.h"
#include "tests/controls/common/table_print_test_support.h"
#include "tests/controls/query/query_test_support.h"
#include "tests/temp_folder.h"
#include "tests/tools/program_run.h"

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

// Letter at 600 dpi: the printable area runs from 150 to 4650 across.
constexpr int kLeft = 150;
constexpr int kTop = 150;

// The print font on a printer of the settings.
struct PrintMetrics {
    explicit PrintMetrics(const RecordingPrinterSettings& settings = {})
        : dc(CRecordingPrinter(settings).CreateDC()), font(*dc, 12, "FixedSys") {}
    int Width(const std::string& text) { return dc->GetTextExtentPoint32(text).cx; }
    int Height() { return dc->GetTextExtentPoint32("Id").cy; }

    std::unique_ptr<CPrinterDC> dc;
    CSelectedPrintFont font;
};

// The texts of record id of the test's table, in field order.
std::vector<std::string> Record(int id) {
    return {std::to_string(id), "N" + std::to_string(id), std::to_string(100 + id),
            "City " + std::to_string(id)};
}

// A page as the list prints it: the header cells with their captions, then one line per
// record, 50 units below the header.
std::vector<std::string> Page(const std::vector<std::pair<int, int>>& cells,
                              const std::vector<std::string>& captions,
                              const std::vector<int>& records, int h) {
    TablePage page;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const std::string box = Box(cells[i].first, kTop, cells[i].second, kTop + h);
        page.Edge(box);
        page.Text(cells[i].first, captions[i], box);
    }
    int top = kTop + h + 50;
    for (const int id : records) {
        const std::vector<std::string> texts = Record(id);
        for (std::size_t i = 0; i < cells.size(); ++i) {
            page.Text(cells[i].first, texts[i], Box(cells[i].first, top, cells[i].second, top + h));
        }
        top += h;
    }
    return page.Calls();
}

// The header cells of the table's four columns on Letter: each as wide as its name padded to
// its defined size + 1 characters, or as the name when that is longer.
std::vector<std::pair<int, int>> LetterCells(PrintMetrics& metrics,
                                             const std::vector<std::string>& headerTexts) {
    std::vector<std::pair<int, int>> cells;
    int x = kLeft;
    for (const std::string& text : headerTexts) {
        cells.emplace_back(x, x + metrics.Width(text));
        x += metrics.Width(text);
    }
    return cells;
}

class QueryPrintTest : public QueryProviderTest {
  protected:
    void SetUp() override {
        QueryProviderTest::SetUp();
        if (!IsSkipped()) {
            ASSERT_NO_FATAL_FAILURE(BindTable(12));
        }
    }

    // Prints (all or the marked rows) on a recording printer of the settings.
    CRecordingPrinter PrintOn(const char* method, const RecordingPrinterSettings& settings = {}) {
        CRecordingPrinter printer(settings);
        dialogs_->PushPrinter(printer);
        host_.Call(method);
        return printer;
    }
    // The header texts: the names padded to each field's defined size + 1.
    std::vector<std::string> HeaderTexts() {
        std::vector<std::string> texts;
        for (int i = 0; i < 4; ++i) {
            std::string name;
            int size = 0;
            DescribeQueryField(*host_.Member(&QueryState::m_recordset), i, name, size);
            texts.push_back(QueryHeaderText(name, size));
        }
        return texts;
    }

    ScopedScriptedDialogs dialogs_;
};

const std::vector<std::string> kCaptions = {"Id", "Name", "Order no", "City"};

TEST_P(QueryPrintTest, PrintShowsEveryRecordUnderTheCaptionsAndWidensACellForALongName) {
    PrintMetrics metrics;
    const std::vector<std::string> headers = HeaderTexts();
    // order_no is longer than its defined size + 1: its cell is as wide as the name.
    EXPECT_EQ(headers[2], "order_no");
    const CRecordingPrinter printer = PrintOn("Print");
    ASSERT_EQ(printer.Documents().size(), 1U);
    const PrintedDocument& document = printer.Documents()[0];
    EXPECT_EQ(document.name, "Report");
    EXPECT_EQ(document.state, PrintedDocument::State::Ended);
    ASSERT_EQ(document.pages.size(), 1U);
    EXPECT_THAT(Drawn(document.pages[0]),
                ElementsAreArray(Page(LetterCells(metrics, headers), kCaptions,
                                      {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, metrics.Height())));
    EXPECT_EQ(dialogs_->Shown().at(0).print.flags, PD_DEFAULTOPTIONS | PD_RETURNDC);
}

TEST_P(QueryPrintTest, APageBreakRepeatsTheHeaderAndStartsWithTheRecordThatDidNotFit) {
    PrintMetrics metrics;
    const int h = metrics.Height();
    RecordingPrinterSettings settings;
    // Room for five lines and a little.
    settings.page.printable.cy = 2 * kTop + h + 50 + 5 * h + h / 2;
    const CRecordingPrinter printer = PrintOn("Print", settings);
    ASSERT_EQ(printer.Documents().size(), 1U);
    const PrintedDocument& document = printer.Documents()[0];
    ASSERT_EQ(document.pages.size(), 3U);
    const auto cells = LetterCells(metrics, HeaderTexts());
    EXPECT_THAT(Drawn(document.pages[0]),
                ElementsAreArray(Page(cells, kCaptions, {1, 2, 3, 4, 5}, h)));
    EXPECT_THAT(Drawn(document.pages[1]),
                ElementsAreArray(Page(cells, kCaptions, {6, 7, 8, 9, 10}, h)));
    EXPECT_THAT(Drawn(document.pages[2]), ElementsAreArray(Page(cells, kCaptions, {11, 12}, h)));
}

TEST_P(QueryPrintTest, PrintSelectedPrintsTheMarksInTheOrderTheyWereMade) {
    PrintMetrics metrics;
    for (const int slot : {4, 1, 8}) {
        host_.CtrlClick(slot);
    }
    const CRecordingPrinter printer = PrintOn("PrintSelected");
    ASSERT_EQ(printer.Documents().size(), 1U);
    ASSERT_EQ(printer.Documents()[0].pages.size(), 1U);
    EXPECT_THAT(Drawn(printer.Documents()[0].pages[0]),
                ElementsAreArray(Page(LetterCells(metrics, HeaderTexts()), kCaptions, {5, 2, 9},
                                      metrics.Height())));
    // Without marks the document is one blank page.
    host_.Call("SelectAll", {CComVariant(false)});
    const CRecordingPrinter blank = PrintOn("PrintSelected");
    ASSERT_EQ(blank.Documents().size(), 1U);
    ASSERT_EQ(blank.Documents()[0].pages.size(), 1U);
    EXPECT_THAT(Drawn(blank.Documents()[0].pages[0]), ElementsAre());
}

TEST_P(QueryPrintTest, AColumnAtThePapersEdgeIsCutAndTheRestLeftOutOnEveryPage) {
    PrintMetrics metrics;
    const std::vector<std::string> headers = HeaderTexts();
    const int h = metrics.Height();
    // The right edge falls inside the third cell, after "Ord".
    const int third = kLeft + metrics.Width(headers[0]) + metrics.Width(headers[1]);
    RecordingPrinterSettings settings;
    settings.page.printable.cx = third + metrics.Width("Ord") + metrics.Width("d") / 2 + kLeft;
    settings.page.printable.cy = 2 * kTop + h + 50 + 8 * h;
    const CRecordingPrinter printer = PrintOn("Print", settings);
    ASSERT_EQ(printer.Documents().size(), 1U);
    const PrintedDocument& document = printer.Documents()[0];
    ASSERT_EQ(document.pages.size(), 2U);
    const std::vector<std::pair<int, int>> cells = {{kLeft, kLeft + metrics.Width(headers[0])},
                                                    {kLeft + metrics.Width(headers[0]), third},
                                                    {third, third + metrics.Width("Ord")}};
    const std::vector<std::string> captions = {"Id", "Name", "Ord"};
    auto page = [&](const std::vector<int>& records) { return Page(cells, captions, records, h); };
    EXPECT_THAT(Drawn(document.pages[0]), ElementsAreArray(page({1, 2, 3, 4, 5, 6, 7, 8})));
    EXPECT_THAT(Drawn(document.pages[1]), ElementsAreArray(page({9, 10, 11, 12})));
}

struct FailureCase {
    const char* name;
    RecordingPrinterSettings settings;
    std::vector<PrinterCallResult> calls;
    const char* message;  // the message box shown, or null
};

PrinterCallResult Ok(PrintCall call) {
    return PrinterCallResult{call, true};
}
PrinterCallResult Failed(PrintCall call) {
    return PrinterCallResult{call, false};
}

RecordingPrinterSettings Settings(bool failStartDoc, int failStartPage, int printableHeight = 0) {
    RecordingPrinterSettings settings;
    settings.failStartDoc = failStartDoc;
    settings.failStartPage = failStartPage;
    if (printableHeight > 0) {
        settings.page.printable.cy = printableHeight;
    }
    return settings;
}

const FailureCase kFailureCases[] = {
    {"StartDocFails",
     Settings(true, 0),
     {Failed(PrintCall::StartDoc)},
     "Printer wouldn't initalize"},
    {"FirstStartPageFails",
     Settings(false, 1),
     {Ok(PrintCall::StartDoc), Failed(PrintCall::StartPage), Ok(PrintCall::AbortDoc)},
     "Could not start a new printer page"},
    {"LaterStartPageFailsSilently",
     Settings(false, 2, 2 * kTop + 400 + 5 * 120),
     {Ok(PrintCall::StartDoc), Ok(PrintCall::StartPage), Ok(PrintCall::EndPage),
      Failed(PrintCall::StartPage), Ok(PrintCall::AbortDoc)},
     nullptr},
    // A page too short for the header and one line stops at once rather than starting empty
    // pages without end.
    {"APageTooShortForOneLineStopsTheJob",
     Settings(false, 0, 2 * kTop + 200),
     {Ok(PrintCall::StartDoc), Ok(PrintCall::StartPage), Ok(PrintCall::AbortDoc)},
     "Could not start a new printer page"},
};

class QueryPrintFailureTest : public ::testing::TestWithParam<FailureCase> {
  protected:
    CTempRegistry registry_;
    ScopedScriptedDialogs dialogs_;
    QueryTable table_;
    QueryHost host_;
};

TEST_P(QueryPrintFailureTest, TheJobEndsAsThePrinterLetsIt) {
    const FailureCase& c = GetParam();
    ASSERT_TRUE(table_.Choose(Provider::SQLite));
    ASSERT_TRUE(table_.Create(12));
    ASSERT_NO_FATAL_FAILURE(host_.Create(400, 300));
    ASSERT_TRUE(host_.Bind(table_.connection.Get(), table_.SelectAll()));
    CRecordingPrinter printer(c.settings);
    dialogs_->PushPrinter(printer);
    host_.Call("Print");
    EXPECT_THAT(printer.Calls(), ElementsAreArray(c.calls));
    const std::vector<ShownDialog>& shown = dialogs_->Shown();
    ASSERT_EQ(shown.size(), c.message != nullptr ? 2U : 1U);
    if (c.message != nullptr) {
        EXPECT_EQ(shown[1].kind, ShownDialog::Kind::MessageBox);
        EXPECT_EQ(shown[1].text, c.message);
    }
    // A cancelled dialog prints nothing.
    dialogs_->PushCancel();
    host_.Call("PrintSelected");
    EXPECT_EQ(printer.Calls().size(), c.calls.size());
}

INSTANTIATE_TEST_SUITE_P(Failures, QueryPrintFailureTest, ::testing::ValuesIn(kFailureCases),
                         [](const ::testing::TestParamInfo<FailureCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_P(QueryPrintTest, ThePdfShowsTheCaptionsAndTheRecordsInOrder) {
    const TempFolder folder;
    const std::string pdf = folder.File("query.pdf");
    dialogs_->PushPrintToFile(pdf);
    host_.Call("Print");
    const std::string text = PdfText(pdf);
    EXPECT_THAT(text, HasSubstr("Order no"));
    EXPECT_THAT(text, HasSubstr("City 12"));
    EXPECT_LT(text.find("N3"), text.find("N11"));
}

INSTANTIATE_TEST_SUITE_P(Providers, QueryPrintTest,
                         ::testing::Values(Provider::SQLite, Provider::PostgreSQL), ProviderName);

}  // namespace
