// Dialogs answered by scripts and told back to them, in this process.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/dialogs/common_dialogs.h"
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

TEST(ScriptDialogsTest, UnscriptableAnswersAndRealDialogsAreErrors) {
    ScopedScriptedDialogs dialogs;
    const ScriptRun print =
        RunSource("host.dialogs.answer({ print: '/tmp/out.pdf' });", {}, &*dialogs);
    EXPECT_EQ(print.result.exitCode, 1);
    EXPECT_THAT(print.result.error, HasSubstr("no print dialog service"));

    const ScriptRun unknown = RunSource("host.dialogs.answer('maybe');", {}, &*dialogs);
    EXPECT_EQ(unknown.result.exitCode, 1);
    EXPECT_THAT(unknown.result.error, HasSubstr("a button is"));
    EXPECT_EQ(dialogs->PendingAnswers(), 0U);

    const ScriptRun real = RunSource("host.dialogs.shown();");
    EXPECT_EQ(real.result.exitCode, 1);
    EXPECT_THAT(real.result.error, HasSubstr("only with --headless"));
}
