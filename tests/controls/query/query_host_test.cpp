// The query list in the qorhost program, run headless by a script as a host author writes one:
// binding, marking rows with Ctrl+click, walking the marks reading fields, and printing every
// record and the marked ones to PDF files.
#include <filesystem>
#include <fstream>

#include "tests/controls/query/query_test_support.h"
#include "tests/tools/program_run.h"

namespace {

// Marks the rows of the 6th, 2nd and 9th records, walks the marks twice round, prints.
constexpr const char* kScript = R"js(
const conn = host.createObject("ADODB.Connection");
conn.Open("Provider=SQLite;Data Source=" + host.args[0], "", "", -1);
const list = host.createControl("QORQUERY.QORQueryCtrl.1", 0, 0, 400, 300);
host.log(list.BindToDatabase(conn, "SELECT * FROM book WHERE id > 1000"));
if (!list.BindToDatabase(conn, "SELECT * FROM book ORDER BY id")) host.exit(3);
host.pixel(list, 1, 1);
let rowHeight = 1;
while (host.pixel(list, 3, 25 + rowHeight) !== 0) rowHeight++;
for (const row of [5, 1, 8]) {
    host.click(list, 100, 25 + row * rowHeight + rowHeight / 2, "Ctrl");
}
const titles = [];
for (let i = 0; i < 6; i++) {
    host.log(i === 0 ? list.MoveToFirstSelected() : list.MoveToNextSelected());
    const title = host.ref("");
    list.GetFieldValue("title", title);
    titles.push(title.value);
}
host.log(titles.join(","));
host.dialogs.answer({print: host.args[1]});
list.Print();
host.dialogs.answer({print: host.args[2]});
list.PrintSelected();
list.SelectAll(true);
let count = list.MoveToFirstSelected() ? 1 : 0;
const first = host.ref("");
list.GetFieldValue("id", first);
for (;;) {
    list.MoveToNextSelected();
    const id = host.ref("");
    list.GetFieldValue("id", id);
    if (id.value === first.value) break;
    count++;
}
host.log(count, host.pixel(list, 3, 25 + rowHeight + 2).toString(16));
)js";

TEST(QueryHostTest, ScriptMarksWalksAndPrintsHeadless) {
    CTempRegistry registry;
    ASSERT_TRUE(RegisterQueryModule());
    const SampleCopy sample;
    CDataConnection setup;
    ASSERT_TRUE(setup.Open(sample.ConnectionString()));
    ASSERT_TRUE(Execute(setup, "CREATE TABLE book (id INTEGER PRIMARY KEY, title VARCHAR(20))"));
    ASSERT_TRUE(Execute(setup,
                        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                        "WHERE i < 60) INSERT INTO book (title) SELECT printf('book %02d', i) "
                        "FROM n"));
    const std::string& folder = registry.Folder();
    const std::string script = folder + "/query.js";
    const std::string all = folder + "/all.pdf";
    const std::string marked = folder + "/marked.pdf";
    { std::ofstream(script) << kScript; }
    const std::string prefix = "Provider=SQLite;Data Source=";
    const std::string database = sample.ConnectionString().substr(prefix.size());
    const ProgramRun run = RunCommandLine(
        "XDG_RUNTIME_DIR=" + ShellQuoted(folder) + " " + ShellQuoted(QORHOST_PROGRAM) +
            " --script " + ShellQuoted(script) + " --headless " + ShellQuoted(database) + " " +
            ShellQuoted(all) + " " + ShellQuoted(marked),
        folder);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "false\ntrue\ntrue\ntrue\ntrue\ntrue\ntrue\n"
              "book 06,book 02,book 09,book 06,book 02,book 09\n60 c0c0c0\n");
    const std::string allText = PdfText(all);
    EXPECT_NE(allText.find("Title"), std::string::npos);
    EXPECT_NE(allText.find("book 60"), std::string::npos);
    const std::string markedText = PdfText(marked);
    EXPECT_LT(markedText.find("book 06"), markedText.find("book 02"));
    EXPECT_LT(markedText.find("book 02"), markedText.find("book 09"));
    EXPECT_EQ(markedText.find("book 01"), std::string::npos);
}

}  // namespace
