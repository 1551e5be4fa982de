// Dialogs answered by scripts and told back to them, in this process.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/dialogs/common_dialogs.h"
#include "platform/dialogs/print_dialog.h"
#include "platform/dialogs/scripted_dialogs.h"
#include "tests/tools/qorhost/host_test_support.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST(ScriptDialogsTest, AnswersGoToTheNextDialogsInOrder) {
    ScopedScriptedDialogs dialogs;
    const ScriptRun queued = RunSource(R"js(
host.dialogs.answer("yes");
host.dialogs.answer({ file: "/tmp/chosen.qor" });
host.dialogs.answer({ button: "no" });
host.dialogs.answer({ color: 0x00112233 });
host.dialogs.answer({ cancel: true });
)js",
                                       {}, &*dialogs);
    ASSERT_EQ(queued.result.exitCode, 0) << queued.result.error;

    EXPECT_EQ(AfxMessageBox(nullptr, "Save changes?", "Designer", MB_YESNO), IDYES);
    CFileDialog open(true, "qor", {}, 0, "Design Files (*.qor)|*.qor||");
    EXPECT_EQ(open.DoModal(), IDOK);
    EXPECT_EQ(open.GetPathName(), "/tmp/chosen.qor");
    EXPECT_EQ(AfxMessageBox(nullptr, "Really?", "Designer", MB_YESNO), IDNO);
    CColorDialog color;
    EXPECT_EQ(color.DoModal(), IDOK);
    EXPECT_EQ(color.GetColor(), 0x00112233U);
    EXPECT_EQ(AfxMessageBox(nullptr, "Go on?", "Designer", MB_OKCANCEL), IDCANCEL);

    const ScriptRun shown = RunSource(R"js(
const seen = host.dialogs.shown();
host.log(seen.length);
host.log(seen[0].kind, seen[0].caption, seen[0].text);
host.log(seen[1].kind, seen[1].file.defaultExtension, seen[1].file.filters[0].patterns[0]);
host.log(seen[3].kind);
host.dialogs.clear();
host.log(host.dialogs.shown().length);
)js",
                                      {}, &*dialogs);
    ASSERT_EQ(shown.result.exitCode, 0) << shown.result.error;
    EXPECT_THAT(shown.log, ElementsAre("5", "MessageBox Designer Save changes?",
                                       "FileOpen qor *.qor", "Color", "0"));
}

TEST(ScriptDialogsTest, APrintAnswerPrintsToItsPdfAndCancelCancelsTheNextPrintDialog) {
    ScopedScriptedDialogs dialogs;
    const TempFolder folder;
    const std::string pdf = folder.File("out.pdf");
    const ScriptRun queued = RunSource(
        "host.dialogs.answer({ print: host.args[0] });\n"
        "host.dialogs.answer({ cancel: true });",
        {pdf}, &*dialogs);
    ASSERT_EQ(queued.result.exitCode, 0) << queued.result.error;

    CPrintDialog printing(false, PD_NOSELECTION | PD_NOPAGENUMS);
    ASSERT_EQ(printing.DoModal(), IDOK);
    const std::unique_ptr<CPrinterDC> dc = printing.GetPrinterDC();
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(dc->GetDeviceCaps(LOGPIXELSY), 600);
    ASSERT_GT(dc->StartDoc("Report"), 0);
    ASSERT_GT(dc->StartPage(), 0);
    ASSERT_GT(dc->EndDoc(), 0);
    EXPECT_TRUE(std::filesystem::exists(pdf));
    CPrintDialog cancelled(false);
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);

    const ScriptRun shown = RunSource(R"js(
const seen = host.dialogs.shown();
host.log(seen.length, seen[0].kind, seen[0].flags, seen[1].kind);
)js",
                                      {}, &*dialogs);
    ASSERT_EQ(shown.result.exitCode, 0) << shown.result.error;
    EXPECT_THAT(
        shown.log,
        ElementsAre("2 Print " + std::to_string(PD_NOSELECTION | PD_NOPAGENUMS | PD_RETURNDC) +
                    " Print"));
}

namespace {

// Two pages through the print dialog; whether EndDoc said the document printed.
bool PrintTwoPages() {
    CPrintDialog printing(false);
    if (printing.DoModal() != IDOK) {
        return false;
    }
    const std::unique_ptr<CPrinterDC> dc = printing.GetPrinterDC();
    if (dc->StartDoc("Report") <= 0) {
        return false;
    }
    for (int page = 0; page < 2; ++page) {
        if (dc->StartPage() <= 0 || dc->EndPage() <= 0) {
            return false;
        }
    }
    return dc->EndDoc() > 0;
}

}  // namespace

TEST(ScriptDialogsTest, ScriptsAnswerThePrintPreviewAndCancelInTheProgressWindow) {
    ScopedScriptedDialogs dialogs;
    const TempFolder folder;
    const std::string closed = folder.File("closed.pdf");
    const std::string printed = folder.File("printed.pdf");
    const std::string cancelled = folder.File("cancelled.pdf");
    const ScriptRun queued = RunSource(R"js(
host.dialogs.answer({ print: host.args[0], preview: true });
host.dialogs.answer("cancel");
host.dialogs.answer({ print: host.args[1], preview: true });
host.dialogs.answer("ok");
host.dialogs.answer({ print: host.args[2] });
host.dialogs.answer({ cancelPrint: 1 });
)js",
                                       {closed, printed, cancelled}, &*dialogs);
    ASSERT_EQ(queued.result.exitCode, 0) << queued.result.error;
    EXPECT_FALSE(PrintTwoPages());
    EXPECT_TRUE(PrintTwoPages());
    EXPECT_FALSE(PrintTwoPages());
    EXPECT_FALSE(std::filesystem::exists(closed));
    EXPECT_TRUE(std::filesystem::exists(printed));
    EXPECT_FALSE(std::filesystem::exists(cancelled));

    const ScriptRun shown = RunSource(R"js(
for (const dialog of host.dialogs.shown()) {
    host.log(dialog.kind, dialog.caption, dialog.pages === undefined ? "-" : dialog.pages);
}
)js",
                                      {}, &*dialogs);
    ASSERT_EQ(shown.result.exitCode, 0) << shown.result.error;
    EXPECT_THAT(shown.log, ElementsAre("Print  -", "PrintPreview Report 2", "Print  -",
                                       "PrintPreview Report 2", "Print  -", "PrintProgress  1"));
}

TEST(ScriptDialogsTest, UnscriptableAnswersAndRealDialogsAreErrors) {
    ScopedScriptedDialogs dialogs;
    const ScriptRun print = RunSource("host.dialogs.answer({ print: '' });", {}, &*dialogs);
    EXPECT_EQ(print.result.exitCode, 1);
    EXPECT_THAT(print.result.error, HasSubstr("path of the PDF file"));

    const ScriptRun unknown = RunSource("host.dialogs.answer('maybe');", {}, &*dialogs);
    EXPECT_EQ(unknown.result.exitCode, 1);
    EXPECT_THAT(unknown.result.error, HasSubstr("a button is"));
    EXPECT_EQ(dialogs->PendingAnswers(), 0U);

    const ScriptRun real = RunSource("host.dialogs.shown();");
    EXPECT_EQ(real.result.exitCode, 1);
    EXPECT_THAT(real.result.error, HasSubstr("only with --headless"));
}
