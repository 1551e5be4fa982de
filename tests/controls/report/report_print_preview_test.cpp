// The report through its dispatch methods with the print preview and the progress window:
// what the preview prints is what printing directly prints, Close and Cancel print nothing, and
// the report prints again afterwards.
#include <gmock/gmock.h>

#include "platform/dialogs/scripted_dialogs.h"
#include "platform/gdi/recording_printer.h"
#include "tests/controls/report/report_drawn.h"
#include "tests/controls/report/report_test_support.h"

namespace {

using ::testing::ElementsAre;

// Bands of 30 units on a page 1400 units high: 22 bands fill the first page.
constexpr int kBands = 23;

RecordingPrinterSettings ShortPage() {
    RecordingPrinterSettings settings;
    settings.page.printable.cy = 1400;
    return settings;
}

std::vector<ReportItem> Items() {
    ReportItem title = MakeItem(kPageHeader, kReportText, "title", {0, 0, 800, 40}, "Customers");
    ReportItem name = MakeItem(kDetail, kReportColumn, "name", {0, 100, 400, 130}, "?");
    ReportItem footer = MakeItem(kPageFooter, kReportText, "footer", {0, 130, 800, 160}, "End");
    return {title, name, footer};
}

class ReportPrintPreviewTest : public ReportTest {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(ReportTest::SetUp());
        ASSERT_EQ(Load(ReportHeader{80, 130, 160, ""}, Items()), 1);
    }
    void PrintReport() {
        for (int i = 1; i <= kBands; ++i) {
            SetItemValue("NAME", "n" + std::to_string(i));
            Call("Print");
        }
        EXPECT_EQ(Long("EndPrint"), 1);
    }
    std::vector<ShownDialog::Kind> ShownKinds() {
        std::vector<ShownDialog::Kind> kinds;
        for (const ShownDialog& shown : dialogs_->Shown()) {
            kinds.push_back(shown.kind);
        }
        return kinds;
    }

    ScopedScriptedDialogs dialogs_;
};

TEST_F(ReportPrintPreviewTest, PrintInThePreviewPrintsThePagesAsPrintingDirectlyDoes) {
    const CRecordingPrinter direct(ShortPage());
    dialogs_->PushPrinter(direct);
    PrintReport();
    const CRecordingPrinter previewed(ShortPage());
    dialogs_->PushPrinter(previewed, true);
    dialogs_->PushButton(IDOK);
    PrintReport();

    ASSERT_EQ(previewed.Documents().size(), 1U);
    const PrintedDocument& printed = previewed.Documents()[0];
    EXPECT_EQ(printed.state, PrintedDocument::State::Ended);
    ASSERT_EQ(printed.pages.size(), 2U);
    for (std::size_t page = 0; page < printed.pages.size(); ++page) {
        EXPECT_EQ(Drawn(printed.pages[page].calls), Drawn(direct.Documents()[0].pages[page].calls));
    }
    using Kind = ShownDialog::Kind;
    EXPECT_THAT(ShownKinds(), ElementsAre(Kind::Print, Kind::Print, Kind::PrintPreview));
    EXPECT_EQ(dialogs_->Shown()[2].caption, "ReportDoc");
    EXPECT_EQ(dialogs_->Shown()[2].pages, 2);
}

TEST_F(ReportPrintPreviewTest, CloseInThePreviewPrintsNothingAndTheReportPrintsAgain) {
    const CRecordingPrinter printer(ShortPage());
    dialogs_->PushPrinter(printer, true);
    dialogs_->PushButton(IDCANCEL);
    PrintReport();
    EXPECT_TRUE(printer.Documents().empty());

    dialogs_->PushPrinter(printer);
    PrintReport();
    ASSERT_EQ(printer.Documents().size(), 1U);
    EXPECT_EQ(printer.Documents()[0].state, PrintedDocument::State::Ended);
    EXPECT_EQ(printer.Documents()[0].pages.size(), 2U);
}

// Cancel at the first page's end is the failed page the report already handles: that document
// is aborted and the next band starts a new job on the printer chosen next.
TEST_F(ReportPrintPreviewTest, CancelInTheProgressWindowAbortsAndTheNextBandPrintsAgain) {
    const CRecordingPrinter printer(ShortPage());
    dialogs_->PushPrinter(printer);
    dialogs_->PushPrintCancel(1);
    dialogs_->PushPrinter(printer);
    PrintReport();
    ASSERT_EQ(printer.Documents().size(), 2U);
    EXPECT_EQ(printer.Documents()[0].state, PrintedDocument::State::Aborted);
    EXPECT_EQ(printer.Documents()[1].state, PrintedDocument::State::Ended);
    EXPECT_EQ(printer.Documents()[1].pages.size(), 1U);
    using Kind = ShownDialog::Kind;
    EXPECT_THAT(ShownKinds(), ElementsAre(Kind::Print, Kind::PrintProgress, Kind::Print));
}

}  // namespace
