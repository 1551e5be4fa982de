// A bound grid whose SQLite file is locked by another writer, moved, removed or left in a
// read-only folder while the clerk edits, adds and deletes: each write fails with a message that
// says why, nothing typed is lost, and once the fault is undone the same action succeeds.
#include "controls/common/edit_style.h"
#include "controls/grid/input_dialog_wnd.h"
#include "platform/dialogs/scripted_dialogs.h"
#include "platform/testing/input.h"
#include "platform/ui/modal_loop.h"
#include "tests/controls/grid/grid_test_support.h"
#include "tests/faults/sqlite_fault_support.h"

namespace {

constexpr const char* kTable = "entries";

class GridFaultTest : public GridTest, public ::testing::WithParamInterface<FaultCase> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_db.Ready());
        ASSERT_NO_FATAL_FAILURE(GridTest::SetUp());
        m_connection = m_db.HostConnection();
        ASSERT_TRUE(m_connection);
        Insert({"name"});
        Insert({"city"});
        ASSERT_TRUE(Bool("BindToDatabase",
                         {CComVariant(m_connection.Get()),
                          CComVariant(std::string("SELECT * FROM ") + kTable + " ORDER BY id")}));
        window_->RedrawWindow();
        window_->UpdateWindow();
    }
    void TearDown() override {
        SetModalLoopHook({});
        GridTest::TearDown();
        m_connection.Release();
    }

    std::string Stored(const std::string& sql) { return m_db.Query(sql); }
    std::string FirstName() {
        return Stored(std::string("SELECT name FROM ") + kTable + " ORDER BY id");
    }
    std::string Count() { return Stored(std::string("SELECT COUNT(*) FROM ") + kTable); }

    // Replaces the first row's name by typing and leaves the cell downwards.
    void TypeFirstName(const std::string& text) {
        SendKey(*window_, VK_HOME);
        Member(&GridState::m_currentColumn) = 0;
        for (int i = 0; i < 40; ++i) {
            SendKey(*window_, VK_BACK, 0, "\b");
        }
        TypeText(*window_, text);
        SendKey(*window_, VK_DOWN);
    }

    // The one message the fault showed, under the caption.
    void ExpectOneMessage(ScopedScriptedDialogs& dialogs, const char* caption) {
        ASSERT_EQ(dialogs->Shown().size(), 1U);
        EXPECT_EQ(dialogs->Shown()[0].kind, ShownDialog::Kind::MessageBox);
        EXPECT_EQ(dialogs->Shown()[0].caption, caption);
        EXPECT_NE(dialogs->Shown()[0].text.find(GetParam().message), std::string::npos)
            << dialogs->Shown()[0].text;
    }

    FaultDatabase m_db{GetParam().journal};
    CComPtr<_Connection> m_connection;
};

TEST_P(GridFaultTest, AnEditedCellIsKeptAndWrittenOnceTheFaultIsGone) {
    const std::string before = FirstName();
    ScopedScriptedDialogs dialogs;
    ScopedFault fault(m_db, GetParam().kind);
    ASSERT_TRUE(fault.Made());
    TypeFirstName("Typed Anew");
    ExpectOneMessage(dialogs, "Error updating column");
    EXPECT_EQ(Item(0, CComVariant(0)), "Typed Anew");
    if (!fault.CanUndo()) {
        return;
    }
    fault.Undo();
    EXPECT_EQ(FirstName(), before);
    dialogs->ClearShown();
    SendKey(*window_, VK_UP);
    SendKey(*window_, VK_DOWN);
    EXPECT_TRUE(dialogs->Shown().empty());
    EXPECT_EQ(FirstName(), "Typed Anew");
}

TEST_P(GridFaultTest, ANewRowComesBackWithItsValuesAndIsAddedOnceTheFaultIsGone) {
    const std::string before = Count();
    ScopedScriptedDialogs dialogs;
    ScopedFault fault(m_db, GetParam().kind);
    ASSERT_TRUE(fault.Made());
    std::string secondValue;
    int shown = 0;
    SetModalLoopHook([&](CWnd& wnd) {
        auto& window = static_cast<CInputDialogWnd&>(wnd);  // NOLINT: the module's class
        const RECT ok = window.GetOkRect();
        const RECT cancel = window.GetCancelRect();
        if (shown++ == 0) {
            const RECT line = window.GetFields()[0].lineRect;
            SendClick(window, POINT{(line.left + line.right) / 2, (line.top + line.bottom) / 2});
            TypeText(window, "Added Anew");
        } else {
            window.GetValue(window.GetFields()[0].key, secondValue);
            fault.Undo();
        }
        const RECT& press = fault.CanUndo() || shown == 1 ? ok : cancel;
        SendClick(window, POINT{(press.left + press.right) / 2, (press.top + press.bottom) / 2});
        return true;
    });
    const int row = Long("AddRow", {CComVariant(-1)});
    SetModalLoopHook({});
    ExpectOneMessage(dialogs, "Error adding a new row");
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(secondValue, "Added Anew");
    if (!fault.CanUndo()) {
        EXPECT_EQ(row, -1);
        return;
    }
    EXPECT_GE(row, 0);
    EXPECT_EQ(Count(), std::to_string(std::stoi(before) + 1));
    EXPECT_EQ(Stored(std::string("SELECT COUNT(*) FROM ") + kTable + " WHERE name = 'Added Anew'"),
              "1");
}

TEST_P(GridFaultTest, ARowIsKeptUntilItsRecordIsDeleted) {
    const std::string before = Count();
    const std::string first = Item(0, CComVariant(0));
    ScopedScriptedDialogs dialogs;
    ScopedFault fault(m_db, GetParam().kind);
    ASSERT_TRUE(fault.Made());
    EXPECT_FALSE(Bool("DeleteRow", {CComVariant(0)}));
    ExpectOneMessage(dialogs, "Error deleting current row");
    EXPECT_EQ(Item(0, CComVariant(0)), first);
    CComVariant deleted(-1);
    Call("GetDeletedRowsCount", {CComVariant::ByReference(&deleted)});
    EXPECT_EQ(deleted.lVal, 0);
    if (!fault.CanUndo()) {
        return;
    }
    fault.Undo();
    EXPECT_EQ(Count(), before);
    EXPECT_TRUE(Bool("DeleteRow", {CComVariant(0)}));
    EXPECT_EQ(Count(), std::to_string(std::stoi(before) - 1));
}

INSTANTIATE_TEST_SUITE_P(Faults, GridFaultTest, ::testing::ValuesIn(FaultCases()), FaultName);

}  // namespace
