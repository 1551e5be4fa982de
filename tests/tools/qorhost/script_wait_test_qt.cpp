// A script that waits for its window: it goes on when the user closes the window, and at once
// when there is no user (headless).
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QTimer>

#include "platform/dialogs/scripted_dialogs.h"
#include "tests/tools/qorhost/host_test_support.h"

using ::testing::ElementsAre;

TEST(ScriptWaitTest, WaitingForCloseEndsWhenTheWindowIsClosed) {
    CControlHost controls;
    ASSERT_TRUE(controls.CreateArea("test host", SIZE{200, 100}));
    controls.Area().ShowWindow(SW_SHOW);
    ASSERT_TRUE(controls.Area().IsWindowVisible());
    QTimer::singleShot(50, [&controls] { controls.Area().DestroyWindow(); });
    const ScriptRun run =
        RunSource("host.waitForClose(); host.log('closed');", {}, nullptr, &controls);
    EXPECT_EQ(run.result.exitCode, 0) << run.result.error;
    EXPECT_THAT(run.log, ElementsAre("closed"));
    EXPECT_FALSE(controls.Area().IsWindow());
}

TEST(ScriptWaitTest, HeadlessScriptsDoNotWaitForClose) {
    ScopedScriptedDialogs dialogs;
    CControlHost controls;
    ASSERT_TRUE(controls.CreateArea("test host", SIZE{200, 100}));
    controls.Area().ShowWindow(SW_SHOW);
    const ScriptRun run =
        RunSource("host.waitForClose(); host.log('went on');", {}, &*dialogs, &controls);
    EXPECT_EQ(run.result.exitCode, 0) << run.result.error;
    EXPECT_THAT(run.log, ElementsAre("went on"));
    EXPECT_TRUE(controls.Area().IsWindowVisible());
}
