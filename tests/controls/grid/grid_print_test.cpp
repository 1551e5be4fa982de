// Printing the grid: the layout on the recording printer asserted call by call, page breaks,
// failures with their messages, and one PDF read back as text.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "controls/common/print_job.h"
#include "controls/grid/grid_print.h"
#include "platform/dialogs/scripted_dialogs.h"
#include "tests/controls/common/table_print_test_support.h"
#include "tests/temp_folder.h"
#include "tests/tools/program_run.h"

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using Lines = std::vector<std::vector<std::string>>;

// Letter at 600 dpi: the printable area runs from 150 to 4650 across, 4500 units wide.
constexpr int kLeft = 150;
constexpr int kTop = 150;
constexpr int kRight = 4650;
constexpr const char* kProgramCaption = "test_controls_grid";

// Rows as a grid hands them to the print job; a cell a row lacks is empty.
class FakeRows : public CGridPrintSource {
  public:
    explicit FakeRows(Lines rows) : m_rows(std::move(rows)) {}
    bool MoveFirst() override {
        m_current = 0;
        return !m_rows.empty();
    }
    bool MoveNext() override { return ++m_current < m_rows.size(); }
    std::string ColumnText(std::size_t column) override {
        const std::vector<std::string>& row = m_rows.at(m_current);
        return column < row.size() ? row[column] : std::string();
    }

  private:
    Lines m_rows;
    std::size_t m_current = 0;
};

GridColumn Column(std::string title, int width, bool visible = true) {
    GridColumn column;
    column.name = title;
    column.title = std::move(title);
    column.width = width;
    column.visible = visible;
    return column;
}

// The height of a title in the print font: every cell's height.
int TitleHeight() {
    const std::unique_ptr<CPrinterDC> dc = CRecordingPrinter().CreateDC();
    const CSelectedPrintFont font(*dc, 12, "FixedSys");
    return dc->GetTextExtentPoint32("Title").cy;
}

// What a page holds: the header cells with their titles, then the lines of texts under them,
// one title height each from 50 units below the header.
std::vector<std::string> Expected(const std::vector<std::pair<int, int>>& cells,
                                  const std::vector<std::string>& titles, const Lines& lines,
                                  int h) {
    TablePage page;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const std::string box = Box(cells[i].first, kTop, cells[i].second, kTop + h);
        page.Edge(box);
        if (!titles[i].empty()) {
            page.Text(cells[i].first, titles[i], box);
        }
    }
    int top = kTop + h + 50;
    for (const std::vector<std::string>& line : lines) {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (!line[i].empty()) {
                page.Text(cells[i].first, line[i],
                          Box(cells[i].first, top, cells[i].second, top + h));
            }
        }
        top += h;
    }
    return page.Calls();
}

PrinterCallResult Ok(PrintCall call) {
    return PrinterCallResult{call, true};
}
PrinterCallResult Failed(PrintCall call) {
    return PrinterCallResult{call, false};
}

struct Printed {
    CRecordingPrinter printer;
    std::vector<ShownDialog> shown;
};

Printed Print(const std::vector<GridColumn>& columns, const Lines& rows,
              const RecordingPrinterSettings& settings = {}) {
    ScopedScriptedDialogs dialogs;
    Printed printed{CRecordingPrinter(settings), {}};
    dialogs->PushPrinter(printed.printer);
    FakeRows source(rows);
    PrintGrid(columns, source, nullptr);
    printed.shown = dialogs->Shown();
    return printed;
}

// A letter sheet whose printable area ends `lines` title heights below the first line,
// plus `spare` units.
RecordingPrinterSettings ShortPage(int lines, int spare) {
    const int h = TitleHeight();
    RecordingPrinterSettings settings;
    settings.page.printable.cy = 2 * kTop + h + 50 + lines * h + spare;
    return settings;
}

struct LayoutCase {
    const char* name;
    std::vector<GridColumn> columns;
    Lines rows;
    std::vector<std::pair<int, int>> cells;
    std::vector<std::string> titles;
    Lines lines;  // the texts under the printed cells
};

class GridPrintLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(GridPrintLayoutTest, PrintsTheHeaderAndOneLineARowOnOnePage) {
    const LayoutCase& c = GetParam();
    const Printed printed = Print(c.columns, c.rows);
    ASSERT_EQ(printed.printer.Documents().size(), 1U);
    const PrintedDocument& document = printed.printer.Documents()[0];
    EXPECT_EQ(document.name, "Report");
    EXPECT_EQ(document.state, PrintedDocument::State::Ended);
    ASSERT_EQ(document.pages.size(), 1U);
    EXPECT_THAT(Drawn(document.pages[0]),
                ElementsAreArray(Expected(c.cells, c.titles, c.lines, TitleHeight())));
    ASSERT_EQ(printed.shown.size(), 1U);
    EXPECT_EQ(printed.shown[0].print.flags, 0x0014000CU | PD_RETURNDC);
}

// Scale = 4500 / the visible width: 30 for 150, 0 for 5000.
INSTANTIATE_TEST_SUITE_P(
    Layouts, GridPrintLayoutTest,
    ::testing::Values(LayoutCase{"ScaledToThePrintableWidthWithTrimmedTexts",
                                 {Column(" Name ", 100), Column("Qty", 50)},
                                 {{"  Smith ", "3"}, {"Jones", "  "}},
                                 {{kLeft, 3150}, {3150, kRight}},
                                 {"Name", "Qty"},
                                 {{"Smith", "3"}, {"Jones", ""}}},
                      LayoutCase{"HiddenColumnNeitherPrintedNorCounted",
                                 {Column("A", 100), Column("B", 300, false), Column("C", 50)},
                                 {{"a", "b", "c"}},
                                 {{kLeft, 3150}, {3150, kRight}},
                                 {"A", "C"},
                                 {{"a", "c"}}},
                      LayoutCase{"ScaleZeroCollapsesEveryCellToTheLeftEdge",
                                 {Column("Wide", 3000), Column("Wider", 2000)},
                                 {{"x", "y"}},
                                 {{kLeft, kLeft}, {kLeft, kLeft}},
                                 {"Wide", "Wider"},
                                 {{"x", "y"}}},
                      // 300 - 200 = 100 visible units: the first cell is cut at the right edge and
                      // the columns starting there are left out.
                      LayoutCase{"CellClippedAtTheRightEdgeAndTheRestLeftOut",
                                 {Column("A", 300), Column("B", -200), Column("C", 0)},
                                 {{"a", "b", "c"}},
                                 {{kLeft, kRight}},
                                 {"A"},
                                 {{"a"}}},
                      LayoutCase{"EmptyTitleFramedWithoutText",
                                 {Column("", 100), Column("T", 50)},
                                 {},
                                 {{kLeft, 3150}, {3150, kRight}},
                                 {"", "T"},
                                 {}}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

TEST(GridPrintTest, APageBreakRepeatsTheHeaderAndCarriesTheRowThatDidNotFit) {
    const std::vector<GridColumn> columns{Column("N", 10)};
    const Printed printed = Print(columns, {{"1"}, {"2"}, {"3"}, {"4"}, {"5"}}, ShortPage(2, 0));
    ASSERT_EQ(printed.printer.Documents().size(), 1U);
    const PrintedDocument& document = printed.printer.Documents()[0];
    EXPECT_EQ(document.state, PrintedDocument::State::Ended);
    ASSERT_EQ(document.pages.size(), 3U);
    const int h = TitleHeight();
    const std::vector<std::pair<int, int>> cells{{kLeft, kRight}};
    EXPECT_THAT(Drawn(document.pages[0]),
                ElementsAreArray(Expected(cells, {"N"}, {{"1"}, {"2"}}, h)));
    EXPECT_THAT(Drawn(document.pages[1]),
                ElementsAreArray(Expected(cells, {"N"}, {{"3"}, {"4"}}, h)));
    EXPECT_THAT(Drawn(document.pages[2]), ElementsAreArray(Expected(cells, {"N"}, {{"5"}}, h)));
}

TEST(GridPrintTest, CancelOrNothingToPrintPrintsAndTellsNothing) {
    ScopedScriptedDialogs dialogs;
    const CRecordingPrinter printer;
    FakeRows rows({{"a"}});
    dialogs->PushCancel();
    PrintGrid({Column("A", 10)}, rows, nullptr);
    ASSERT_EQ(dialogs->Shown().size(), 1U);
    EXPECT_EQ(dialogs->Shown()[0].kind, ShownDialog::Kind::Print);
    // Without a visible column of positive width the dialog is not even shown.
    dialogs->PushPrinter(printer);
    PrintGrid({}, rows, nullptr);
    PrintGrid({Column("A", 10, false)}, rows, nullptr);
    PrintGrid({Column("A", 0)}, rows, nullptr);
    EXPECT_EQ(dialogs->Shown().size(), 1U);
    EXPECT_TRUE(printer.Calls().empty());
}

// A letter sheet, or with `lines` set one whose area ends that many lines below the header
// plus `spare` units; the failing calls as the recording printer counts them.
struct FailurePrinter {
    int lines = 0;
    int spare = 0;
    bool failStartDoc = false;
    int failStartPage = 0;
    int failEndPage = 0;
};

struct FailureCase {
    const char* name;
    FailurePrinter printer;
    Lines rows;
    std::vector<PrinterCallResult> calls;
    const char* message;  // nullptr: none shown
};

class GridPrintFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(GridPrintFailureTest, EndsTheJobAndTellsWhatTheGridTells) {
    const FailureCase& c = GetParam();
    RecordingPrinterSettings settings = c.printer.lines > 0
                                            ? ShortPage(c.printer.lines, c.printer.spare)
                                            : RecordingPrinterSettings{};
    settings.failStartDoc = c.printer.failStartDoc;
    settings.failStartPage = c.printer.failStartPage;
    settings.failEndPage = c.printer.failEndPage;
    const Printed printed = Print({Column("A", 10)}, c.rows, settings);
    EXPECT_THAT(printed.printer.Calls(), ElementsAreArray(c.calls));
    for (const PrintedDocument& document : printed.printer.Documents()) {
        EXPECT_NE(document.state, PrintedDocument::State::Open);
    }
    ASSERT_EQ(printed.shown.size(), c.message != nullptr ? 2U : 1U);
    if (c.message != nullptr) {
        EXPECT_EQ(printed.shown[1].kind, ShownDialog::Kind::MessageBox);
        EXPECT_EQ(printed.shown[1].text, c.message);
        EXPECT_EQ(printed.shown[1].caption, kProgramCaption);
        EXPECT_EQ(printed.shown[1].flags, MB_OK);
    }
}

const PrinterCallResult kStartDoc = Ok(PrintCall::StartDoc);
const PrinterCallResult kStartPage = Ok(PrintCall::StartPage);
const PrinterCallResult kEndPage = Ok(PrintCall::EndPage);
const PrinterCallResult kAbort = Ok(PrintCall::AbortDoc);

INSTANTIATE_TEST_SUITE_P(
    Failures, GridPrintFailureTest,
    ::testing::Values(FailureCase{"StartDoc",
                                  {0, 0, true, 0, 0},
                                  {{"a"}},
                                  {Failed(PrintCall::StartDoc)},
                                  "Printer wouldn't initalize"},
                      FailureCase{"FirstStartPage",
                                  {0, 0, false, 1, 0},
                                  {{"a"}},
                                  {kStartDoc, Failed(PrintCall::StartPage), kAbort},
                                  "Could not start a new printer page"},
                      FailureCase{
                          "LaterStartPageAbortsSilently",
                          {1, 0, false, 2, 0},
                          {{"a"}, {"b"}},
                          {kStartDoc, kStartPage, kEndPage, Failed(PrintCall::StartPage), kAbort},
                          nullptr},
                      FailureCase{"EndPageAtABreakAbortsSilently",
                                  {1, 0, false, 0, 1},
                                  {{"a"}, {"b"}},
                                  {kStartDoc, kStartPage, Failed(PrintCall::EndPage), kAbort},
                                  nullptr},
                      // One unit short of a line: starting pages would never print the row.
                      FailureCase{"PageTooShortForTheHeaderAndOneLine",
                                  {1, -1},
                                  {{"a"}},
                                  {kStartDoc, kStartPage, kAbort},
                                  "Could not start a new printer page"},
                      FailureCase{"PageTooShortButNoRowPrintsTheHeader",
                                  {1, -1},
                                  {},
                                  {kStartDoc, kStartPage, kEndPage, Ok(PrintCall::EndDoc)},
                                  nullptr}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

TEST(GridPrintPdfTest, ThePdfShowsTheTitlesAndTheRows) {
    const TempFolder folder;
    const std::string pdf = folder.File("grid.pdf");
    ScopedScriptedDialogs dialogs;
    dialogs->PushPrintToFile(pdf);
    FakeRows rows({{"Smith", "12"}, {"Jones", "7"}});
    PrintGrid({Column("Customer", 100), Column("Quantity", 60)}, rows, nullptr);
    const std::string text = PdfText(pdf);
    EXPECT_THAT(text, HasSubstr("Customer"));
    EXPECT_THAT(text, HasSubstr("Quantity"));
    EXPECT_THAT(text, HasSubstr("Smith"));
    EXPECT_THAT(text, HasSubstr("Jones"));
    EXPECT_LT(text.find("Smith"), text.find("Jones"));
}

}  // namespace
