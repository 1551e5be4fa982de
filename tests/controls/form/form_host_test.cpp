// The sample customers form in the qorhost program, headless, as a script drives it.
#include "tests/controls/form/form_test_support.h"
#include "tests/tools/program_run.h"

namespace {

class FormHostTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(RegisterFormModule());
        std::filesystem::copy_file(SampleDatabase(), database_);
    }

    ProgramRun RunHost(const std::string& script, const std::string& design) {
        return RunCommandLine("XDG_RUNTIME_DIR=" + ShellQuoted(folder_.File("")) + " " +
                                  ShellQuoted(QORHOST_PROGRAM) + " --script " +
                                  ShellQuoted(script) + " --headless " + ShellQuoted(database_) +
                                  " " + ShellQuoted(design),
                              folder_.File(""));
    }

    CTempRegistry registry_;
    DesignFolder folder_;
    std::string database_ = folder_.File("sample.db");
};

}  // namespace

TEST_F(FormHostTest, TheCustomersFormShowsAndEditsTheSampleCustomers) {
    const std::string script = folder_.File("check.js");
    std::ofstream(script) << R"js(
const conn = host.createObject("ADODB.Connection");
conn.Open("Provider=SQLite;Data Source=" + host.args[0], "", "", -1);
const form = host.createControl("QORFORM.QORFormCtrl.1", 0, 0, 600, 520);
const hex = (x, y) => host.pixel(form, x, y).toString(16);
const item = (name) => { const text = host.ref(""); form.GetItem(name, text); return text.value; };
host.log(form.OpenForm(conn, "SELECT * FROM customers", host.args[1]));
host.log(item("name"), "|", item("city"));
host.log(hex(590, 510), hex(255, 70));
host.key(form, "Tab");
host.log(hex(255, 70));
host.key(form, "Tab");
host.type(form, " Jr");
host.key(form, "PageDown");
host.log(item("name"), "|", hex(255, 70));
host.key(form, "Home");
host.log(item("name"));
)js";
    const ProgramRun run = RunHost(script, QOR_SAMPLE_CUSTOMERS_FORM);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "true\n"
              "Seán O'Brien | Dublin\n"
              "c0c0c0 ffffff\n"
              "800000\n"
              "Jürgen Müller | ffffff\n"
              "Seán O'Brien Jr\n");
}

TEST_F(FormHostTest, TheDemoScriptStopsWhenTheDesignCannotBeOpened) {
    const ProgramRun run = RunHost(QOR_CUSTOMERS_FORM_SCRIPT, folder_.File("missing.qor"));
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_EQ(run.out, "cannot open the design file " + folder_.File("missing.qor") + "\n");
}
