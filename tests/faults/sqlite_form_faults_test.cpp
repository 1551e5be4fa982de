// A form whose SQLite file is locked by another writer, moved, removed or left in a read-only
// folder while the clerk types: the keystroke the file refuses is answered with the desktop's
// beep and the field keeps showing what the record holds, so nothing on screen claims a value
// that was not saved; once the fault is undone the next keystroke is saved with the text.
#include "platform/dialogs/scripted_dialogs.h"
#include "platform/ui/wnd.h"
#include "tests/controls/form/form_test_support.h"
#include "tests/faults/sqlite_fault_support.h"

namespace {

class FormFaultTest : public FormTest, public ::testing::WithParamInterface<FaultCase> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_db.Ready());
        ASSERT_NO_FATAL_FAILURE(FormTest::SetUp());
        m_connection = m_db.HostConnection();
        ASSERT_TRUE(m_connection);
        ASSERT_TRUE(OpenForm(form_.Get(), m_connection.Get(), "SELECT * FROM entries ORDER BY id",
                             designs_.Write({ColumnItem("name", RECT{10, 10, 310, 32}, 1)})));
        Key(VK_TAB);
    }
    void TearDown() override {
        FormTest::TearDown();
        m_connection.Release();
    }

    std::string StoredName() { return m_db.Query("SELECT name FROM entries WHERE id = 1"); }

    FaultDatabase m_db{GetParam().journal};
    CComPtr<_Connection> m_connection;
};

TEST_P(FormFaultTest, ARefusedKeystrokeBeepsAndTheNextOneIsSavedOnceTheFaultIsGone) {
    ScopedScriptedDialogs dialogs;
    ScopedFault fault(m_db, GetParam().kind);
    ASSERT_TRUE(fault.Made());
    const unsigned beeps = MessageBeepCount();
    Type("X");
    EXPECT_EQ(MessageBeepCount(), beeps + 1);
    EXPECT_EQ(GetItem("name"), "name 1");
    if (!fault.CanUndo()) {
        return;
    }
    fault.Undo();
    EXPECT_EQ(StoredName(), "name 1");
    Type("Y");
    EXPECT_EQ(MessageBeepCount(), beeps + 1);
    EXPECT_EQ(GetItem("name"), "name 1Y");
    EXPECT_EQ(StoredName(), "name 1Y");
    EXPECT_TRUE(dialogs->Shown().empty());
}

INSTANTIATE_TEST_SUITE_P(Faults, FormFaultTest, ::testing::ValuesIn(FaultCases()), FaultName);

}  // namespace
