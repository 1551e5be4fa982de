// The print dialog class over the scripted service: PDF and recording printer answers,
// cancellation, and what the shown dialog records.
#include <gtest/gtest.h>

#include <filesystem>

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

}  // namespace
