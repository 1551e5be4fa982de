// Printing an unbound report through the module on the recording printer: the bands of a page,
// page breaks at the page-full line, and what cancelled dialogs and failing printers leave.
#include <gmock/gmock.h>

#include "platform/dialogs/scripted_dialogs.h"
#include "platform/gdi/recording_printer.h"
#include "tests/controls/report/report_drawn.h"
#include "tests/controls/report/report_test_support.h"

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// Letter at 600 dpi made 1400 units high: printHeight 1100, so a design unit down is one device
// unit; across, pageRect runs from 150 to 4650.
RecordingPrinterSettings OneToOnePage() {
    RecordingPrinterSettings settings;
    settings.page.printable.cy = 1400;
    return settings;
}

// headerEnd 80, footerStart 130, footerEnd 160: the detail area runs from 250 to 920 and takes
// bands of 30 units; the footer stands at 1070.
const ReportHeader kListHeader{80, 130, 160, ""};
constexpr UINT kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
constexpr UINT kLeftText = DT_LEFT | DT_VCENTER | DT_SINGLELINE;

std::vector<ReportItem> ListItems() {
    ReportItem title = MakeItem(kPageHeader, kReportText, "title", {0, 0, 800, 40}, "Customers");
    title.justification = kReportCentered;
    ReportItem name = MakeItem(kDetail, kReportColumn, "name", {0, 100, 400, 130}, "?");
    ReportItem separator = MakeItem(kDetail, kReportLine, "", {400, 100, 400, 130});
    separator.lineOrientation = kVerticalSeparator;
    ReportItem frame = MakeItem(kDetail, kReportRectangle, "", {0, 100, 800, 130});
    ReportItem footer = MakeItem(kPageFooter, kReportText, "footer", {0, 130, 800, 160}, "End");
    footer.justification = kReportCentered;
    ReportItem rule = MakeItem(kPageFooter, kReportLine, "", {0, 130, 800, 130});
    ReportItem unknown = MakeItem(kPageFooter, 3, "odd", {0, 130, 800, 160}, "never");
    return {title, name, separator, frame, footer, rule, unknown};
}

// What a page of the list draws before its bands: separators and frame, header, footer.
std::vector<std::string> PageFrame() {
    return {"line 2400,250-2400,920 w0",
            "line 150,250-150,920 w0",
            "line 4650,250-4650,920 w0",
            "line 150,250-4650,250 w0",
            "line 150,920-4650,920 w0",
            "fill 150,150,4650,190 16777215",
            "text Customers 150,150,4650,190 " + std::to_string(kCentred) + " 0",
            "fill 150,1070,4650,1100 16777215",
            "text End 150,1070,4650,1100 " + std::to_string(kCentred) + " 0",
            "fill 150,1070,4650,1070 16777215",
            "line 150,1070-4650,1070 w0"};
}

std::vector<std::string> Band(int top, const std::string& text) {
    return {"fill 150," + std::to_string(top) + ",2400," + std::to_string(top + 30) + " 16777215",
            "text " + text + " 150," + std::to_string(top) + ",2400," + std::to_string(top + 30) +
                " " + std::to_string(kLeftText) + " 0"};
}

class ReportPrintTest : public ReportTest {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(ReportTest::SetUp());
        ASSERT_EQ(Load(kListHeader, ListItems()), 1);
    }
    // Unbound, each Print is one band with the items' current texts.
    void PrintBands(int count) {
        for (int i = 1; i <= count; ++i) {
            SetItemValue("NAME", "n" + std::to_string(i));
            Call("Print");
        }
    }

    ScopedScriptedDialogs dialogs_;
    CRecordingPrinter printer_{OneToOnePage()};
};

// 22 bands fit: the 22nd starts at 880 and ends at 910, no lower than 920 - 10.
TEST_F(ReportPrintTest, BandsFillAPageDownToThePageFullLine) {
    dialogs_->PushPrinter(printer_);
    PrintBands(23);
    EXPECT_EQ(Long("EndPrint"), 1);

    ASSERT_EQ(printer_.Documents().size(), 1U);
    const PrintedDocument& document = printer_.Documents()[0];
    EXPECT_EQ(document.name, "ReportDoc");
    EXPECT_EQ(document.state, PrintedDocument::State::Ended);
    ASSERT_EQ(document.pages.size(), 2U);
    std::vector<std::string> first = PageFrame();
    for (int i = 0; i < 22; ++i) {
        for (const std::string& line : Band(250 + 30 * i, "n" + std::to_string(i + 1))) {
            first.push_back(line);
        }
    }
    EXPECT_THAT(Drawn(document.pages[0].calls), ElementsAreArray(first));
    std::vector<std::string> second = PageFrame();
    for (const std::string& line : Band(250, "n23")) {
        second.push_back(line);
    }
    EXPECT_THAT(Drawn(document.pages[1].calls), ElementsAreArray(second));

    ASSERT_EQ(dialogs_->Shown().size(), 1U);
    EXPECT_EQ(dialogs_->Shown()[0].kind, ShownDialog::Kind::Print);
    EXPECT_EQ(dialogs_->Shown()[0].print.flags, 0x0014000CU | PD_RETURNDC);
}

TEST_F(ReportPrintTest, ACancelledDialogDiscardsTheItemsAndPrintsNothing) {
    dialogs_->PushCancel();
    EXPECT_EQ(Long("BeginPrint"), 0);
    EXPECT_TRUE(Member(&ReportState::m_loaded));
    EXPECT_TRUE(Member(&ReportState::m_detailItems).empty());
    EXPECT_TRUE(Member(&ReportState::m_pageItems).empty());
    EXPECT_EQ(dialogs_->Shown().size(), 1U);
    EXPECT_TRUE(printer_.Documents().empty());
}

TEST_F(ReportPrintTest, AFailedStartDocIsToldAndOpensNoJob) {
    RecordingPrinterSettings failing = OneToOnePage();
    failing.failStartDoc = true;
    dialogs_->PushPrinter(CRecordingPrinter(failing));
    EXPECT_EQ(Long("BeginPrint"), 0);
    ASSERT_EQ(dialogs_->Shown().size(), 2U);
    EXPECT_EQ(dialogs_->Shown()[1].kind, ShownDialog::Kind::MessageBox);
    EXPECT_EQ(dialogs_->Shown()[1].text, "Error starting a new print job");
    EXPECT_EQ(dialogs_->Shown()[1].caption, "Printer Error");
    EXPECT_EQ(dialogs_->Shown()[1].flags, MB_OK);
    EXPECT_FALSE(Member(&ReportState::m_jobOpen));
}

// The failed page end aborts the first document; the next band asks for a printer again and
// starts a new document with the page header.
TEST_F(ReportPrintTest, AFailedPageEndAbortsTheJobAndTheNextBandStartsAnother) {
    RecordingPrinterSettings failing = OneToOnePage();
    failing.failEndPage = 1;
    CRecordingPrinter printer(failing);
    dialogs_->PushPrinter(printer);
    dialogs_->PushPrinter(printer);
    PrintBands(23);
    EXPECT_EQ(Long("EndPrint"), 1);
    ASSERT_EQ(printer.Documents().size(), 2U);
    EXPECT_EQ(printer.Documents()[0].state, PrintedDocument::State::Aborted);
    EXPECT_EQ(printer.Documents()[1].state, PrintedDocument::State::Ended);
    ASSERT_EQ(printer.Documents()[1].pages.size(), 1U);
    std::vector<std::string> page = PageFrame();
    for (const std::string& line : Band(250, "n23")) {
        page.push_back(line);
    }
    EXPECT_THAT(Drawn(printer.Documents()[1].pages[0].calls), ElementsAreArray(page));
    EXPECT_EQ(dialogs_->Shown().size(), 2U);
}

TEST_F(ReportPrintTest, EndPrintWithoutAJobAndAnEmptyJob) {
    EXPECT_EQ(Long("EndPrint"), 1);
    dialogs_->PushPrinter(printer_);
    EXPECT_EQ(Long("BeginPrint"), 1);
    EXPECT_EQ(Long("BeginPrint"), 1);  // the open job serves
    EXPECT_EQ(Long("EndPrint"), 1);
    ASSERT_EQ(printer_.Documents().size(), 1U);
    EXPECT_EQ(printer_.Documents()[0].state, PrintedDocument::State::Ended);
    EXPECT_TRUE(printer_.Documents()[0].pages.empty());
    EXPECT_EQ(dialogs_->Shown().size(), 1U);
}

}  // namespace

namespace {

// A damaged file: every integer at an end of its range and every byte of the strings 0xFF.
TEST_F(ReportTest, ALayoutOfExtremeValuesPrintsWithoutOverflowing) {
    ReportHeaderRecord head{};
    head.fill(0xFF);
    for (std::size_t at : {0U, 4U, 8U}) {
        head[at + 3] = at == 4 ? 0x7F : 0x80;  // INT_MIN, INT_MAX, INT_MIN
    }
    ReportItemRecord record{};
    record.fill(0xFF);
    std::string bytes(head.begin(), head.end());
    for (std::int32_t section = 1; section <= 3; ++section) {
        for (std::int32_t kind : {1, 2, 4, 5}) {
            record[0] = static_cast<std::uint8_t>(section);
            record[1] = record[2] = record[3] = 0;
            record[4] = static_cast<std::uint8_t>(kind);
            record[5] = record[6] = record[7] = 0;
            bytes.append(record.begin(), record.end());
        }
    }
    ASSERT_EQ(Load(folder_.Write("extreme.rpt", bytes)), 1);
    ScopedScriptedDialogs dialogs;
    CRecordingPrinter printer;
    dialogs->PushPrinter(printer);
    Call("Print");
    Call("Print");
    EXPECT_EQ(Long("EndPrint"), 1);
    ASSERT_EQ(printer.Documents().size(), 1U);
    EXPECT_FALSE(printer.Documents()[0].pages.empty());
}

}  // namespace
