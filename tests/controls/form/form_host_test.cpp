// The sample customers form in the qorhost program, headless, as a script drives it.
#include <sys/wait.h>

#include <iterator>

#include "tests/controls/form/form_test_support.h"

namespace {

struct HostRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

class FormHostTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(RegisterFormModule());
        std::filesystem::copy_file(SampleDatabase(), database_);
    }

    HostRun RunHost(const std::string& script, const std::string& design) {
        const std::string out = folder_.File("stdout");
        const std::string err = folder_.File("stderr");
        const std::string command = "XDG_RUNTIME_DIR=" + Quoted(folder_.File("")) + " " +
                                    Quoted(QORHOST_PROGRAM) + " --script " + Quoted(script) +
                                    " --headless " + Quoted(database_) + " " + Quoted(design) +
                                    " >" + Quoted(out) + " 2>" + Quoted(err) + " </dev/null";
        const int raw = std::system(command.c_str());  // NOLINT(*-mt-unsafe): one thread
        return HostRun{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadAll(out), ReadAll(err)};
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
    const HostRun run = RunHost(script, QOR_SAMPLE_CUSTOMERS_FORM);
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
    const HostRun run = RunHost(QOR_CUSTOMERS_FORM_SCRIPT, folder_.File("missing.qor"));
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_EQ(run.out, "cannot open the design file " + folder_.File("missing.qor") + "\n");
}
