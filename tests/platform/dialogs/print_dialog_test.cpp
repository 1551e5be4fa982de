// The print dialog class over the scripted service: PDF and recording printer answers,
// cancellation, and what the shown dialog records.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "platform/dialogs/print_dialog.h"
#include "platform/dialogs/scripted_dialogs.h"
#include "tests/temp_folder.h"

namespace {

constexpr UINT kReportFlags =
    PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIES | PD_HIDEPRINTTOFILE;

TEST(PrintDialogTest, TheFlagsOfTheControlsAreTheClassicValues) {
    EXPECT_EQ(kReportFlags, 0x0014000CU);
    EXPECT_EQ(PD_DEFAULTOPTIONS, kReportFlags);
    EXPECT_EQ(CPrintDialog(false, kReportFlags).Request().flags, kReportFlags | PD_RETURNDC);
    EXPECT_EQ(CPrintDialog(true).Request().flags, PD_DEFAULTOPTIONS | PD_PRINTSETUP);
}

TEST(PrintDialogTest, ARecordingPrinterAnswerHandsOverItsContextOnce) {
    ScopedScriptedDialogs dialogs;
    RecordingPrinterSettings settings;
    settings.page = PrinterPage::A4();
    const CRecordingPrinter printer(settings);
    dialogs->PushPrinter(printer);

    CPrintDialog dialog(false, kReportFlags);
    ASSERT_EQ(dialog.DoModal(), IDOK);
    std::unique_ptr<CPrinterDC> dc = dialog.GetPrinterDC();
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(dialog.GetPrinterDC(), nullptr);
    EXPECT_EQ(dc->GetDeviceCaps(HORZRES), PrinterPage::A4().printable.cx);
    ASSERT_GT(dc->StartDoc("ReportDoc"), 0);
    ASSERT_GT(dc->StartPage(), 0);
    ASSERT_GT(dc->EndDoc(), 0);
    dc.reset();
    ASSERT_EQ(printer.Documents().size(), 1U);
    EXPECT_EQ(printer.Documents()[0].name, "ReportDoc");

    ASSERT_EQ(dialogs->Shown().size(), 1U);
    EXPECT_EQ(dialogs->Shown()[0].kind, ShownDialog::Kind::Print);
    EXPECT_EQ(dialogs->Shown()[0].print.flags, kReportFlags | PD_RETURNDC);
}

TEST(PrintDialogTest, APdfAnswerPrintsToThatFile) {
    ScopedScriptedDialogs dialogs;
    const TempFolder folder;
    const std::string pdf = folder.File("report.pdf");
    dialogs->PushPrintToFile(pdf);
    CPrintDialog dialog(false);
    ASSERT_EQ(dialog.DoModal(), IDOK);
    const std::unique_ptr<CPrinterDC> dc = dialog.GetPrinterDC();
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(dc->GetDeviceCaps(LOGPIXELSY), 600);
    EXPECT_EQ(dc->GetDeviceCaps(PHYSICALWIDTH), 5100);
    ASSERT_GT(dc->StartDoc("Report"), 0);
    ASSERT_GT(dc->StartPage(), 0);
    ASSERT_GT(dc->EndDoc(), 0);
    EXPECT_TRUE(std::filesystem::exists(pdf));
}

TEST(PrintDialogTest, CancelAnEmptyQueueAndAnotherKindOfAnswerAllCancel) {
    ScopedScriptedDialogs dialogs;
    dialogs->PushCancel();
    dialogs->PushFile("/tmp/not-a-printer.pdf");
    for (int attempt = 0; attempt < 3; ++attempt) {
        CPrintDialog dialog(false);
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_EQ(dialog.GetPrinterDC(), nullptr);
    }
    EXPECT_EQ(dialogs->Shown().size(), 3U);
    EXPECT_EQ(dialogs->PendingAnswers(), 0U);
}

TEST(PrintDialogTest, ASetupOnlyDialogHandsOutNoContext) {
    ScopedScriptedDialogs dialogs;
    dialogs->PushPrinter(CRecordingPrinter());
    CPrintDialog setup(true);
    EXPECT_EQ(setup.DoModal(), IDOK);
    EXPECT_EQ(setup.GetPrinterDC(), nullptr);
}

// A job of `pages` pages through the print dialog: the EndPage that failed (0 for none) and
// what EndDoc said.
struct JobResult {
    int failedPage = 0;
    int endDoc = 0;
};

JobResult PrintJob(int pages) {
    CPrintDialog dialog(false);
    JobResult result;
    if (dialog.DoModal() != IDOK) {
        return result;
    }
    const std::unique_ptr<CPrinterDC> dc = dialog.GetPrinterDC();
    if (dc->StartDoc("Report") <= 0) {
        return result;
    }
    for (int page = 1; page <= pages; ++page) {
        if (dc->StartPage() <= 0 || dc->EndPage() <= 0) {
            result.failedPage = page;
            break;
        }
    }
    result.endDoc = dc->EndDoc();
    return result;
}

struct PreviewAnswerCase {
    const char* name;
    std::function<void(CScriptedDialogService&)> answer;
    bool printed;
};

class PrintPreviewAnswerTest : public ::testing::TestWithParam<PreviewAnswerCase> {};

// The preview shows the whole document when it ends; only OK prints it, and only then is the
// file there.
TEST_P(PrintPreviewAnswerTest, OnlyOkInThePreviewPrints) {
    const PreviewAnswerCase& c = GetParam();
    ScopedScriptedDialogs dialogs;
    const TempFolder folder;
    const std::string pdf = folder.File("report.pdf");
    dialogs->PushPrintToFile(pdf, PrinterPage::Letter(), true);
    c.answer(*dialogs);
    const JobResult result = PrintJob(3);
    EXPECT_EQ(result.failedPage, 0);
    EXPECT_EQ(result.endDoc > 0, c.printed);
    EXPECT_EQ(std::filesystem::exists(pdf), c.printed);
    EXPECT_FALSE(std::filesystem::exists(pdf + ".part"));
    EXPECT_EQ(dialogs->PendingAnswers(), 0U);
    ASSERT_EQ(dialogs->Shown().size(), 2U);
    const ShownDialog& preview = dialogs->Shown()[1];
    EXPECT_EQ(preview.kind, ShownDialog::Kind::PrintPreview);
    EXPECT_EQ(preview.caption, "Report");
    EXPECT_EQ(preview.pages, 3);
    ASSERT_NE(preview.document, nullptr);
    EXPECT_EQ(preview.document->PageCount(), 3);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, PrintPreviewAnswerTest,
    ::testing::Values(
        PreviewAnswerCase{"Print", [](CScriptedDialogService& d) { d.PushButton(IDOK); }, true},
        PreviewAnswerCase{"Close", [](CScriptedDialogService& d) { d.PushButton(IDCANCEL); },
                          false},
        PreviewAnswerCase{"EmptyQueue", [](CScriptedDialogService&) {}, false},
        PreviewAnswerCase{"OtherKind", [](CScriptedDialogService& d) { d.PushFile("x.pdf"); },
                          false}),
    [](const auto& info) { return std::string(info.param.name); });

struct CancelCase {
    const char* name;
    bool preview;
    int cancelAfter;
    int pages;
    int failedPage;
};

class PrintCancelTest : public ::testing::TestWithParam<CancelCase> {};

// Cancel in the progress window fails the page it was pressed at and leaves no file; the next
// job prints in full.
TEST_P(PrintCancelTest, CancelLeavesNoFileAndTheNextJobPrints) {
    const CancelCase& c = GetParam();
    ScopedScriptedDialogs dialogs;
    const TempFolder folder;
    const std::string pdf = folder.File("report.pdf");
    dialogs->PushPrintToFile(pdf, PrinterPage::Letter(), c.preview);
    dialogs->PushPrintCancel(c.cancelAfter);
    const JobResult cancelled = PrintJob(c.pages);
    EXPECT_EQ(cancelled.failedPage, c.failedPage);
    EXPECT_EQ(cancelled.endDoc, SP_ERROR);
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_FALSE(std::filesystem::exists(pdf + ".part"));
    ASSERT_EQ(dialogs->Shown().size(), 2U);
    EXPECT_EQ(dialogs->Shown()[1].kind, ShownDialog::Kind::PrintProgress);
    EXPECT_EQ(dialogs->Shown()[1].pages, c.cancelAfter);

    dialogs->PushPrintToFile(pdf);
    const JobResult again = PrintJob(c.pages);
    EXPECT_EQ(again.failedPage, 0);
    EXPECT_GT(again.endDoc, 0);
    EXPECT_TRUE(std::filesystem::exists(pdf));
}

INSTANTIATE_TEST_SUITE_P(Cases, PrintCancelTest,
                         ::testing::Values(CancelCase{"AfterTwoOfFive", false, 2, 5, 2},
                                           CancelCase{"AtTheFirstPage", false, 1, 3, 1},
                                           CancelCase{"AtTheLastPageEnd", false, 3, 3, 3},
                                           CancelCase{"WhilePreviewing", true, 2, 4, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PrintCancelTest, ACancelNotAfterAPrintDialogIsLeftForOthers) {
    ScopedScriptedDialogs dialogs;
    dialogs->PushPrinter(CRecordingPrinter());
    dialogs->PushButton(IDOK);
    dialogs->PushPrintCancel(1);
    // The print dialog's progress finds a button next, and leaves it to the message box.
    EXPECT_EQ(PrintJob(2).failedPage, 0);
    EXPECT_EQ(AfxMessageBox(nullptr, "Printed", "Report"), IDOK);
    EXPECT_EQ(dialogs->PendingAnswers(), 1U);
}

}  // namespace
