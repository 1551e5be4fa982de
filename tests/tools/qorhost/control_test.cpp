// Controls inserted by scripts: the test module's control registered in a registry of the
// test's own, created by ProgID into the host window, called, looked at and given input.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/dialogs/scripted_dialogs.h"
#include "tests/tools/qorhost/host_test_support.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

class ControlScriptTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(RegisterTestModule(folder.File("registry")));
        ASSERT_TRUE(controls.CreateArea("test host", SIZE{200, 100}));
    }
    void TearDown() override { unsetenv("QOR_REGISTRY"); }

    ScriptRun Run(const std::string& source) { return RunSource(source, {}, &*dialogs, &controls); }

    TempFolder folder;
    ScopedScriptedDialogs dialogs;
    CControlHost controls;
};

}  // namespace

TEST_F(ControlScriptTest, AControlIsInsertedCalledAndSeen) {
    const std::string shot = folder.File("control.png");
    setenv("QORHOST_SHOT", shot.c_str(), 1);
    const ScriptRun run = Run(R"js(
const ctrl = host.createControl("QORTEST.QORTestCtrl.1", 10, 20, 300, 200);
host.log(ctrl.ReadyState, ctrl.Caption === "");
ctrl.Caption = "Hello";
const remainder = host.ref(0);
host.log(ctrl.Caption, ctrl.Divide(17, 5, remainder), remainder.value);
host.log(host.pixel(ctrl, 0, 0).toString(16), host.pixel(ctrl, 299, 199).toString(16),
         host.pixel(ctrl, 300, 0).toString(16));
host.key(ctrl, "Tab");
host.key(ctrl, "Shift+Tab");
host.type(ctrl, "abc");
host.click(ctrl, 5, 5, "Shift");
try { ctrl.Divide(1, 0, remainder); } catch (e) { host.log(e.message.startsWith("Divide: ")); }
try { host.key(host.createObject("ADODB.Connection"), "Tab"); } catch (e) { host.log(e.message); }
try { host.key(ctrl, "Hyper"); } catch (e) { host.log(e.message); }
host.screenshot(ctrl, host.env("QORHOST_SHOT"));
host.screenshot(null, host.env("QORHOST_SHOT") + ".all.png");
)js");
    ASSERT_EQ(run.result.exitCode, 0) << run.result.error;
    EXPECT_THAT(run.log, ElementsAre("1 true", "Hello 3 2", "8000 8000 ffffffff", "true",
                                     "not a control of this host", "key: unknown key \"Hyper\""));
    EXPECT_GT(std::filesystem::file_size(shot), 0U);
    EXPECT_GT(std::filesystem::file_size(shot + ".all.png"), 0U);
    // The area grew to hold the control with a margin.
    EXPECT_GE(controls.Area().GetClientRect().right, 318);
    EXPECT_GE(controls.Area().GetClientRect().bottom, 228);
}

TEST_F(ControlScriptTest, KeysTextAndClicksArriveAsTheControlsMessages) {
    const ScriptRun run = Run(R"js(
const ctrl = host.createControl("QORTEST.QORTestCtrl.1", 0, 0, 100, 50);
host.key(ctrl, "Tab");
host.type(ctrl, "aB");
host.key(ctrl, "Delete");
host.click(ctrl, 5, 6, "Shift");
host.log(ctrl.Input);
)js");
    ASSERT_EQ(run.result.exitCode, 0) << run.result.error;
    // Tab types a tab, letters their case, Delete nothing; the click carries the button and
    // Shift (MK_LBUTTON | MK_SHIFT).
    EXPECT_THAT(run.log, ElementsAre("key 9; char 9; key 65; char 97; key 66; char 66; key 46; "
                                     "click 5,6 5"));
}

TEST_F(ControlScriptTest, TheAboutBoxAndThePropertyPageAreDialogsTheScriptSees) {
    const ScriptRun run = Run(R"js(
const ctrl = host.createControl("QORTEST.QORTestCtrl.1", 0, 0, 100, 50);
host.dialogs.answer({ dialog: "ok" });
ctrl.AboutBox();
host.dialogs.answer({ dialog: "cancel" });
host.properties(ctrl);
for (const shown of host.dialogs.shown()) {
    host.log(shown.kind, shown.caption);
}
)js");
    ASSERT_EQ(run.result.exitCode, 0) << run.result.error;
    ASSERT_EQ(run.log.size(), 2U);
    EXPECT_EQ(run.log[0], "Dialog About QORTest Control");
    EXPECT_EQ(run.log[1], "Dialog General");
    EXPECT_EQ(dialogs->PendingAnswers(), 0U);
}

TEST_F(ControlScriptTest, ClassesThatAreNoControlsOrNotThereAreReported) {
    const ScriptRun run = Run(R"js(
try { host.createControl("ADODB.Connection", 0, 0, 10, 10); } catch (e) { host.log(e.message); }
try { host.createControl("QORTEST.Missing.1", 0, 0, 10, 10); } catch (e) {
    host.log(e.message.split(":")[0]);
}
try { host.createControl("QORTEST.QORTestCtrl.1", 0, 0, 0, 10); } catch (e) {
    host.log(e.message.split(":")[0]);
}
)js");
    ASSERT_EQ(run.result.exitCode, 0) << run.result.error;
    EXPECT_THAT(run.log, ElementsAre("\"ADODB.Connection\" is not a control: it cannot be embedded",
                                     "Cannot create \"QORTEST.Missing.1\"", "createControl"));
    EXPECT_TRUE(controls.Sites().empty());
}

TEST_F(ControlScriptTest, AButtonOfTheHostRunsItsFunctionWhenClicked) {
    const ScriptRun run = Run(R"js(
let pressed = 0;
host.button("Press", 250, 10, 80, 24, () => { pressed++; });
host.click(null, 290, 20);
host.click(null, 290, 60);
host.click(null, 329, 33);
host.log(pressed, host.pixel(null, 260, 20).toString(16), host.pixel(null, 290, 60).toString(16));
host.button("Fails", 250, 40, 80, 24, () => { throw new Error("no"); });
host.click(null, 290, 50);
host.log("still running");
try { host.button("Bad", 0, 0, 0, 10, () => {}); } catch (e) { host.log(e.message.split(":")[0]); }
try { host.button("Bad", 0, 0, 10, 10, 5); } catch (e) { host.log(e.message.split(":")[0]); }
)js");
    ASSERT_EQ(run.result.exitCode, 0) << run.result.error;
    EXPECT_THAT(run.log, ElementsAre("2 c0c0c0 c0c0c0", "still running", "button", "button"));
    // The area grew to hold the buttons.
    EXPECT_GE(controls.Area().GetClientRect().right, 330);
}
