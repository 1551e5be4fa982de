// Scripts that drive a control's modal pop-up through host.onModal, run by the qorhost program
// headless: input, pixels and pictures of the pop-up, and loops the script leaves waiting.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/tools/program_run.h"
#include "tests/tools/qorhost/host_test_support.h"

using ::testing::HasSubstr;

namespace {

struct ModalCase {
    std::string name;
    std::string body;  // after `ctrl` is inserted
    int status;
    std::string out;  // standard output, or for a failure a part of standard error
};

class ModalScriptTest : public ::testing::TestWithParam<ModalCase> {};

}  // namespace

TEST_P(ModalScriptTest, RunsHeadless) {
    const ModalCase& c = GetParam();
    const TempFolder folder;
    ASSERT_TRUE(RegisterTestModule(folder.File("registry")));
    const std::string shot = folder.File("popup.png");
    const std::string script = folder.Write(
        "modal.js",
        "const ctrl = host.createControl('QORTEST.QORTestCtrl.1', 0, 0, 60, 40);\n" + c.body);
    const ProgramRun run = RunCommandLine(
        "XDG_RUNTIME_DIR=" + ShellQuoted(folder.File("")) + " " + ShellQuoted(QORHOST_PROGRAM) +
            " --script " + ShellQuoted(script) + " --headless " + ShellQuoted(shot),
        folder.File(""));
    unsetenv("QOR_REGISTRY");
    EXPECT_EQ(run.status, c.status) << run.err;
    if (c.status == 0) {
        EXPECT_EQ(run.out, c.out);
    } else {
        EXPECT_THAT(run.err, HasSubstr(c.out));
    }
    if (c.name == "PixelsAndPicture") {
        EXPECT_GT(std::filesystem::file_size(shot), 0U);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, ModalScriptTest,
    ::testing::Values(
        // Keys for the control are dropped while the pop-up is modal.
        ModalCase{"EnterInThePopup",
                  "host.onModal((w) => { host.key(ctrl, 'A'); host.key(w, 'Enter'); });\n"
                  "host.log(ctrl.Choose(), ctrl.Input === '');\n",
                  0, "enter true\n"},
        ModalCase{"ClickInThePopup",
                  "host.onModal((w) => { host.click(ctrl, 1, 1); host.click(w, 3, 3); });\n"
                  "host.log(ctrl.Choose(), ctrl.Input === '');\n",
                  0, "click true\n"},
        ModalCase{"PixelsAndPicture",
                  "host.onModal((w) => {\n"
                  "  host.log(host.pixel(w, 0, 0).toString(16));\n"
                  "  host.screenshot(w, host.args[0]);\n"
                  "  host.key(w, 'Enter');\n"
                  "});\n"
                  "host.log(ctrl.Choose());\n",
                  0, "ff0000\nenter\n"},
        // Headless nobody else could end the loop: it ends without a choice.
        ModalCase{"NoFunction", "host.log('[' + ctrl.Choose() + ']');\n", 0, "[]\n"},
        ModalCase{"AFunctionThatLeavesItOpen",
                  "host.onModal((w) => {});\nhost.log('[' + ctrl.Choose() + ']');\n", 0, "[]\n"},
        ModalCase{"OnceOnly",
                  "host.onModal((w) => host.key(w, 'Enter'));\n"
                  "host.log(ctrl.Choose(), '[' + ctrl.Choose() + ']');\n",
                  0, "enter []\n"},
        ModalCase{"TheHandleEndsWithTheFunction",
                  "let saved;\nhost.onModal((w) => { saved = w; host.key(w, 'Enter'); });\n"
                  "ctrl.Choose();\nhost.key(saved, 'Enter');\n",
                  1, "not a control of this host"},
        ModalCase{"AFailingFunctionFailsTheScript",
                  "host.onModal((w) => { throw new Error('boom'); });\nctrl.Choose();\n", 1,
                  "onModal: Error: boom"},
        ModalCase{"NotAFunction", "host.onModal(3);\n", 1, "onModal: a function is needed"}),
    [](const auto& info) { return info.param.name; });

TEST(ModalWindowScriptTest, InARealWindowTheFunctionDrivesThePopupToo) {
    const TempFolder folder;
    ASSERT_TRUE(RegisterTestModule(folder.File("registry")));
    CControlHost controls;
    ASSERT_TRUE(controls.CreateArea("test host", SIZE{200, 100}));
    const ScriptRun run = RunSource(R"js(
const ctrl = host.createControl('QORTEST.QORTestCtrl.1', 0, 0, 60, 40);
host.onModal((w) => host.click(w, 2, 2));
host.log(ctrl.Choose());
)js",
                                    {}, nullptr, &controls);
    unsetenv("QOR_REGISTRY");
    EXPECT_EQ(run.result.exitCode, 0) << run.result.error;
    EXPECT_THAT(run.log, ::testing::ElementsAre("click"));
}
