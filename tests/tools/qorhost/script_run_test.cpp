// Host scripts run in this process: how they end, what failing calls look like to them, and
// the data-access objects driven through them over the sample database.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/com/unknown.h"
#include "tests/tools/qorhost/host_test_support.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

// Opens the sample database (the script's first argument) as `conn`.
const std::string kOpenSample = R"js(
const conn = host.createObject("ADODB.Connection");
conn.Open("Provider=SQLite;Data Source=" + host.args[0], "", "", -1);
)js";

ScriptRun RunOnSample(const std::string& body, const std::string& database = SampleDatabase()) {
    return RunSource(kOpenSample + body, {database});
}

}  // namespace

TEST(ScriptEndTest, TheExitCodeIsZeroAtTheEndAndHostExitsCodeOtherwise) {
    EXPECT_EQ(RunSource("host.log('ran')").result.exitCode, 0);

    const ScriptRun exited = RunSource("host.log('before'); host.exit(3); host.log('after');");
    EXPECT_EQ(exited.result.exitCode, 3);
    EXPECT_TRUE(exited.result.error.empty());
    EXPECT_THAT(exited.log, ElementsAre("before"));

    // Neither a catch nor a finally block gets to run after host.exit.
    const ScriptRun guarded = RunSource(
        "try { host.exit(4); } catch (e) { host.log('caught'); } finally { host.log('finally'); }");
    EXPECT_EQ(guarded.result.exitCode, 4);
    EXPECT_TRUE(guarded.log.empty());

    // The engine is usable again after an exit.
    EXPECT_EQ(RunSource("host.exit()").result.exitCode, 0);

    // A code the exit status cannot carry is an error, not a success modulo 256.
    for (const char* code : {"256", "-1", "1e20", "2.5", "'many'"}) {
        const ScriptRun wrong = RunSource(std::string("host.exit(") + code + ");");
        EXPECT_EQ(wrong.result.exitCode, 1) << code;
        EXPECT_THAT(wrong.result.error, HasSubstr("exit: the code must be")) << code;
    }
    EXPECT_EQ(RunSource("host.exit(255)").result.exitCode, 255);
}

TEST(ScriptEndTest, AnUncaughtErrorEndsWithOneAndNamesItsLine) {
    const ScriptRun thrown = RunSource("host.log('a');\nthrow new Error('boom');\nhost.log('b');");
    EXPECT_EQ(thrown.result.exitCode, 1);
    EXPECT_EQ(thrown.result.error, "test.js:2: Uncaught Error: boom");
    EXPECT_THAT(thrown.log, ElementsAre("a"));

    const ScriptRun value = RunSource("\n\nthrow 42;");
    EXPECT_EQ(value.result.exitCode, 1);
    EXPECT_EQ(value.result.error, "test.js:3: Uncaught 42");

    const ScriptRun syntax = RunSource("host.log(;");
    EXPECT_EQ(syntax.result.exitCode, 1);
    EXPECT_THAT(syntax.result.error, HasSubstr("SyntaxError"));
    EXPECT_TRUE(syntax.log.empty());
}

TEST(ScriptEndTest, AFileThatCannotBeReadFails) {
    ScriptRequest request;
    request.path = "/nonexistent/qorhost/script.js";
    const ScriptResult result = RunScriptFile(request);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_THAT(result.error, HasSubstr("cannot read the script"));
}

TEST(ScriptDispatchTest, QueriesReadFieldValuesOfEveryKind) {
    const ScriptRun run = RunOnSample(R"js(
const rs = host.createObject("ADODB.Recordset");
rs.Open("SELECT customer_id, name, credit_limit, discount, active, created_at, state " +
        "FROM customers WHERE customer_id = 2", conn, 1, 1, 1);
const f = rs.Fields;
host.log(f.Count, f.Item(0).Value, typeof f.Item(0).Value);
host.log(f.Item("name").Value, f("NAME").Value);
host.log(f.Item("credit_limit").Value, f.Item("discount").Value, f.Item("active").Value);
const created = f.Item("created_at").Value;
host.log(created instanceof Date, created.getFullYear(), created.getMonth() + 1,
         created.getDate(), created.getHours(), created.getMinutes(), created.getSeconds());
host.log(f.Item("state").Value === null, rs.EOF);
rs.MoveNext();
host.log(rs.EOF);
rs.Close();
conn.Close();
)js");
    ASSERT_EQ(run.result.exitCode, 0) << run.result.error;
    EXPECT_THAT(run.log, ElementsAre("7 2 number", "Jürgen Müller Jürgen Müller", "8750 0.05 true",
                                     "true 2019 6 16 14 52 24", "true false", "true"));
}

TEST(ScriptDispatchTest, NumbersBeyondTheExactRangeComeAsText) {
    const ScriptRun run = RunOnSample(R"js(
const rs = conn.Execute("SELECT 9007199254740993 AS big, 4294967296 AS wide, 2.5 AS r");
host.log(typeof rs.Fields(0).Value, rs.Fields(0).Value);
host.log(typeof rs.Fields(1).Value, rs.Fields(1).Value, rs.Fields(2).Value);
)js");
    ASSERT_EQ(run.result.exitCode, 0) << run.result.error;
    EXPECT_THAT(run.log, ElementsAre("string 9007199254740993", "number 4294967296 2.5"));
}

TEST(ScriptDispatchTest, PropertiesArePutAndByReferenceArgumentsComeBack) {
    const TempFolder folder;
    const ScriptRun run = RunSource(R"js(
const conn = host.createObject("ADODB.Connection");
conn.ConnectionString = "Provider=SQLite;Data Source=" + host.args[0];
conn.ConnectionTimeout = 7;
conn.Open("", "", "", -1);
host.log(conn.State, conn.ConnectionTimeout, "State" in conn, "Nothing" in conn);
const affected = host.ref(0);
conn.Execute("UPDATE customers SET city = city WHERE customer_id <= 3", affected, -1);
host.log(affected.value);
const rs = host.createObject("ADODB.Recordset");
rs.Open("SELECT * FROM customers WHERE customer_id = 1", conn, 1, 3, 1);
rs.Fields("created_at").Value = new Date(2021, 0, 2, 3, 4, 5);
rs.Fields("city").Value = "Cork";
rs.Update();
rs.Requery(-1);
const when = rs.Fields("created_at").Value;
host.log(rs.Fields("city").Value, when.getFullYear(), when.getMonth(), when.getDate(),
         when.getHours(), when.getMinutes(), when.getSeconds());
)js",
                                    {CopySample(folder)});
    ASSERT_EQ(run.result.exitCode, 0) << run.result.error;
    EXPECT_THAT(run.log, ElementsAre("1 7 true false", "3", "Cork 2021 0 2 3 4 5"));
}

TEST(ScriptDispatchTest, FailingCallsAreErrorsTheScriptCanCatch) {
    const ScriptRun run = RunSource(R"js(
const conn = host.createObject("ADODB.Connection");
try {
    conn.Open("Provider=SQLite;Data Source=/nonexistent/qorhost.db", "", "", -1);
} catch (e) {
    host.log(e instanceof Error, (e.hresult >>> 0).toString(16), e.message.startsWith("Open: "));
}
try { conn.Nothing; } catch (e) { host.log(e.message); }
try { conn.Open({}); } catch (e) { host.log(e.message); }
try { const a = [1]; a.push(a); conn.Open(a); } catch (e) { host.log(e.message); }
try { host.createObject("No.Such.Class"); } catch (e) { host.log(e.message.split(":")[0]); }
host.log(typeof conn.Open, typeof conn, String(conn));
conn.Nothing = 1;
)js");
    EXPECT_EQ(run.result.exitCode, 1);
    EXPECT_THAT(run.result.error, HasSubstr("test.js:13: Uncaught Error: Nothing: "));
    ASSERT_EQ(run.log.size(), 6U);
    EXPECT_EQ(run.log[0].substr(0, 5), "true ");
    EXPECT_EQ(run.log[1], "Object has no member \"Nothing\"");
    EXPECT_THAT(run.log[2], HasSubstr("Open: argument 1: a script object"));
    EXPECT_THAT(run.log[3], HasSubstr("Open: argument 1: arrays nest deeper than 64 levels"));
    EXPECT_EQ(run.log[4], "Cannot create \"No.Such.Class\"");
    EXPECT_EQ(run.log[5], "function function [object Dispatch]");
}

TEST(ScriptDispatchTest, EveryObjectTheScriptHeldIsGivenBack) {
    RegisterAdoClasses();
    const std::int64_t before = LiveComObjectCount();
    const ScriptRun run = RunOnSample(R"js(
for (let i = 0; i < 20; ++i) {
    const rs = conn.Execute("SELECT name FROM customers");
    rs.Fields.Item(0).Value;
}
host.exit(0);
)js");
    ASSERT_EQ(run.result.exitCode, 0) << run.result.error;
    EXPECT_EQ(LiveComObjectCount(), before);
}

TEST(ScriptDispatchTest, BytesAndArraysCrossBothWays) {
    const TempFolder folder;
    const ScriptRun run = RunOnSample(R"js(
const pictures = conn.Execute("SELECT picture FROM products WHERE picture IS NOT NULL");
const picture = pictures.Fields(0).Value;
const bytes = new Uint8Array(picture);
host.log(picture instanceof ArrayBuffer, bytes.length, bytes[0], bytes[1]);
const rs = host.createObject("ADODB.Recordset");
rs.Open("SELECT * FROM products", conn, 1, 3, 1);
rs.AddNew(["item_no", "description", "category", "unit_price", "units_in_stock",
           "discontinued", "picture"], ["X-1", "Test", "Tools", 1.5, 3, false, picture]);
const back = conn.Execute("SELECT length(picture), unit_price FROM products WHERE item_no = 'X-1'");
host.log(back.Fields(0).Value, back.Fields(1).Value);
)js",
                                      CopySample(folder));
    ASSERT_EQ(run.result.exitCode, 0) << run.result.error;
    EXPECT_THAT(run.log, ElementsAre("true 246 66 77", "246 1.5"));
}
