// The grid in the qorhost program, run headless by a script as a host author writes one: paging a
// bound table, adding a record through "New Row...", deleting one and printing to a PDF.
#include <filesystem>
#include <fstream>

#include "tests/controls/grid/grid_test_support.h"
#include "tests/tools/program_run.h"

namespace {

constexpr int kBooks = 200;

// Pages, adds "Zed" in the window (its size found by its pixels, OK clicked), deletes the first
// record and prints; logs what it saw.
constexpr const char* kScript = R"js(
const conn = host.createObject("ADODB.Connection");
conn.Open("Provider=SQLite;Data Source=" + host.args[0], "", "", -1);
const grid = host.createControl("QORGRID.QORGridCtrl.1", 0, 0, 400, 300);
grid.InsertColumn("id", "Id", 60, 1, 10, "", false, true, 0, 0xF0F0F0);
grid.InsertColumn("title", "Title", 200, 1, 40, "", true, true, 0, 0xFFFFFF);
if (!grid.BindToDatabase(conn, "SELECT * FROM book ORDER BY id")) host.exit(3);
function title() {
    const text = host.ref("");
    grid.GetItemByName(grid.GetCurrentRow(), "title", text);
    return text.value;
}
const seen = [title()];
for (const key of ["PageDown", "End", "Home"]) {
    host.key(grid, key);
    seen.push(title());
}
host.log(seen[1] > seen[0], seen[2], seen[3]);
host.onModal((w) => {
    let width = 1, height = 1;
    while (host.pixel(w, width, 1) !== 0xFFFFFFFF) width++;
    while (host.pixel(w, 1, height) !== 0xFFFFFFFF) height++;
    host.key(w, "Tab");
    host.type(w, "Zed");
    host.click(w, Math.floor(width / 2) - 30, height - 22);
});
const added = grid.AddRow(-1);
host.log(added === grid.GetCurrentRow(), title());
host.key(grid, "Home");
host.log(grid.DeleteCurrentRow(), title());
host.dialogs.answer({print: host.args[1]});
grid.Print();
host.log(host.pixel(grid, 2, 2).toString(16));
)js";

TEST(GridHostTest, ScriptPagesAddsDeletesAndPrintsHeadless) {
    CTempRegistry registry;
    ASSERT_TRUE(RegisterGridModule());
    const SampleCopy sample;
    CDataConnection setup;
    ASSERT_TRUE(setup.Open(sample.ConnectionString()));
    ASSERT_TRUE(Execute(setup, "CREATE TABLE book (id INTEGER PRIMARY KEY, title VARCHAR(40))"));
    ASSERT_TRUE(Execute(setup,
                        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                        "WHERE i < " +
                            std::to_string(kBooks) +
                            ") INSERT INTO book (title) SELECT printf('book %03d', i) FROM "
                            "n"));
    const std::string& folder = registry.Folder();
    const std::string script = folder + "/grid.js";
    const std::string pdf = folder + "/grid.pdf";
    { std::ofstream(script) << kScript; }
    const std::string prefix = "Provider=SQLite;Data Source=";
    const std::string database = sample.ConnectionString().substr(prefix.size());
    const ProgramRun run =
        RunCommandLine("XDG_RUNTIME_DIR=" + ShellQuoted(folder) + " " +
                           ShellQuoted(QORHOST_PROGRAM) + " --script " + ShellQuoted(script) +
                           " --headless " + ShellQuoted(database) + " " + ShellQuoted(pdf),
                       folder);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "true book 200 book 001\ntrue Zed\ntrue book 002\nc0dcc0\n");

    CDataRecordset count(setup);
    std::string text;
    ASSERT_TRUE(
        count.Open("SELECT COUNT(*), SUM(title = 'Zed'), SUM(title = 'book 001') FROM book"));
    const std::vector<std::string> expected = {std::to_string(kBooks), "1", "0"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(count.GetFieldText(i, text));
        EXPECT_EQ(text, expected[static_cast<std::size_t>(i)]) << i;
    }
    EXPECT_EQ(ReadWholeFile(pdf).substr(0, 5), "%PDF-");
}

}  // namespace
