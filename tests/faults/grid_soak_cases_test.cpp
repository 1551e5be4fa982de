// Cases the grid soak found, replayed one by one on the PostgreSQL test server: a method that
// reloads the page right after the clerk typed into a cell writes the typed text first instead
// of dropping it with the rows it replaces.
#include <functional>

#include "controls/grid/input_dialog_wnd.h"
#include "platform/dialogs/scripted_dialogs.h"
#include "platform/testing/input.h"
#include "platform/ui/modal_loop.h"
#include "tests/controls/grid/grid_test_support.h"

namespace {

constexpr int kRecords = 30;

POINT Centre(const RECT& rect) {
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

class GridReloadAfterTypingTest : public GridTest {
  public:
    using GridTest::Bool;
    using GridTest::Call;
    using GridTest::Long;

  protected:
    void SetUp() override {
        if (!m_db.Choose(Provider::PostgreSQL)) {
            GTEST_SKIP() << kNoPostgresServer;
        }
        ASSERT_NO_FATAL_FAILURE(GridTest::SetUp());
        ASSERT_TRUE(m_db.Create(
            "qor_grid_reload_", "name VARCHAR(20)",
            "(name) SELECT 'n' || g FROM generate_series(1, " + std::to_string(kRecords) + ") AS g",
            true));
        Insert({"name"});
        ASSERT_TRUE(
            Bool("BindToDatabase", {CComVariant(m_db.connection.Get()),
                                    CComVariant("SELECT * FROM " + m_db.table + " ORDER BY id")}));
    }
    void TearDown() override {
        SetModalLoopHook({});
        GridTest::TearDown();
    }

    std::string Stored(int id) {
        CDataRecordset rows(m_db.setup);
        std::string text;
        if (!rows.Open("SELECT name FROM " + m_db.table + " WHERE id = " + std::to_string(id)) ||
            !rows.GetFieldText(0, text)) {
            return "(none)";
        }
        return text;
    }

    GridDatabase m_db;
};

struct ReloadCase {
    const char* name;
    std::function<void(GridReloadAfterTypingTest&)> reload;
};

// Each reload leaves the typed first record alone otherwise: the new record goes to the end,
// the deleted and the found ones are others.
const std::vector<ReloadCase> kReloads = {
    {"AddingARecord",
     [](GridReloadAfterTypingTest& test) {
         SetModalLoopHook([](CWnd& shown) {
             auto& window = static_cast<CInputDialogWnd&>(shown);  // NOLINT: the module's class
             SendClick(window, Centre(window.GetFields()[0].lineRect));
             TypeText(window, "added");
             SendClick(window, Centre(window.GetOkRect()));
             return true;
         });
         EXPECT_GE(test.Long("AddRow", {CComVariant(-1)}), 0);
     }},
    {"DeletingAnotherRecord",
     [](GridReloadAfterTypingTest& test) {
         EXPECT_TRUE(test.Bool("DeleteRow", {CComVariant(3)}));
     }},
    {"FindingARecordNotLoaded",
     [](GridReloadAfterTypingTest& test) {
         EXPECT_TRUE(
             test.Bool("FindRow", {CComVariant("name"), CComVariant("n" + std::to_string(kRecords)),
                                   CComVariant(true)}));
     }},
    {"Sorting", [](GridReloadAfterTypingTest& test) { test.Call("Sort", {CComVariant(0)}); }},
};

TEST_F(GridReloadAfterTypingTest, TheTypedTextIsWrittenBeforeTheRowsAreReplaced) {
    for (const ReloadCase& c : kReloads) {
        SCOPED_TRACE(c.name);
        ScopedScriptedDialogs dialogs;
        SendKey(*window_, VK_HOME);
        const std::string typed = std::string("t") + c.name;
        for (int i = 0; i < 20; ++i) {
            SendKey(*window_, VK_BACK, 0, "\b");
        }
        TypeText(*window_, typed.substr(0, 20));
        c.reload(*this);
        EXPECT_TRUE(dialogs->Shown().empty());
        EXPECT_EQ(Stored(1), typed.substr(0, 20));
    }
}

}  // namespace
