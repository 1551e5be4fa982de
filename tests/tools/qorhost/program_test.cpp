// The qorhost program run as a user runs it: --script files, exit statuses and messages.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/tools/program_run.h"
#include "tests/tools/qorhost/host_test_support.h"

using ::testing::HasSubstr;

namespace {

ProgramRun RunHost(const TempFolder& folder, const std::string& arguments) {
    // A runtime folder of its own keeps the toolkit from warning about a missing one.
    return RunCommandLine("XDG_RUNTIME_DIR=" + ShellQuoted(folder.File("")) + " " +
                              ShellQuoted(QORHOST_PROGRAM) + " " + arguments,
                          folder.File(""));
}

ProgramRun RunScriptText(const TempFolder& folder, const std::string& source,
                         const std::string& extra = {}) {
    const std::string script = folder.Write("script.js", source);
    return RunHost(folder, "--script " + ShellQuoted(script) + " --headless " + extra);
}

}  // namespace

TEST(ProgramTest, ExitStatusesFollowTheScript) {
    const TempFolder folder;
    const ProgramRun done = RunScriptText(folder, "host.log('hello', 1 + 1);");
    EXPECT_EQ(done.status, 0);
    EXPECT_EQ(done.out, "hello 2\n");
    EXPECT_TRUE(done.err.empty()) << done.err;

    EXPECT_EQ(RunScriptText(folder, "host.exit(3);").status, 3);

    const ProgramRun failed = RunScriptText(folder, "\nundefinedFunction();");
    EXPECT_EQ(failed.status, 1);
    EXPECT_THAT(failed.err, HasSubstr("script.js:2: Uncaught ReferenceError"));
}

TEST(ProgramTest, TheSampleDatabaseIsQueriedThroughADODB) {
    const TempFolder folder;
    const ProgramRun run = RunScriptText(folder, R"js(
const conn = host.createObject("ADODB.Connection");
conn.Open("Provider=SQLite;Data Source=" + host.args[0], "", "", -1);
const rs = conn.Execute("SELECT COUNT(*) FROM orders");
host.log(rs.Fields.Item(0).Value);
)js",
                                         ShellQuoted(SampleDatabase()));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "300\n");
}

TEST(ProgramTest, ARegisteredControlIsLoadedFromItsModule) {
    const TempFolder folder;
    ASSERT_TRUE(RegisterTestModule(folder.File("registry")));
    const ProgramRun run = RunScriptText(folder, R"js(
const ctrl = host.createControl("QORTEST.QORTestCtrl.1", 5, 5, 50, 40);
host.log(ctrl.ReadyState, host.pixel(ctrl, 49, 39).toString(16));
)js");
    unsetenv("QOR_REGISTRY");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "1 8000\n");
}

TEST(ProgramTest, WrongCommandLinesAndMissingFilesAreReported) {
    const TempFolder folder;
    const ProgramRun usage = RunHost(folder, "--frobnicate");
    EXPECT_EQ(usage.status, 2);
    EXPECT_THAT(usage.err, HasSubstr("usage: qorhost"));

    const ProgramRun missing = RunHost(folder, "--script /nonexistent/x.js --headless");
    EXPECT_EQ(missing.status, 1);
    EXPECT_THAT(missing.err, HasSubstr("cannot read the script"));

    EXPECT_EQ(RunHost(folder, "--help").status, 0);
}
