// The container widget in a Qt dialog with the form, a line edit and the grid: creation by
// ProgID and its failures, calls by name with out-values, Tab through the dialog, resizing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>

#include "embed/qor_control_qt.h"
#include "embed/variant_values_qt.h"
#include "platform/ui/wnd.h"
#include "tests/embed/embed_test_support.h"

using ::testing::HasSubstr;

namespace {

constexpr const char* kFormProgId = "QORFORM.QORFormCtrl.1";
constexpr const char* kGridProgId = "QORGrid.QORGridCtrl.1";

// The form above a line edit above the grid, in that tab order.
class ControlDialogTest : public RegisteredControls {
  protected:
    void SetUp() override {
        RegisteredControls::SetUp();
        form = new QorControl(&dialog);  // NOLINT(cppcoreguidelines-owning-memory)
        edit = new QLineEdit(&dialog);   // NOLINT(cppcoreguidelines-owning-memory)
        grid = new QorControl(&dialog);  // NOLINT(cppcoreguidelines-owning-memory)
        form->setGeometry(0, 0, 400, 300);
        edit->setGeometry(0, 300, 400, 24);
        grid->setGeometry(0, 330, 400, 200);
        dialog.resize(400, 530);
        ASSERT_TRUE(form->setControl(kFormProgId)) << form->lastError().toStdString();
        ASSERT_TRUE(grid->setControl(kGridProgId)) << grid->lastError().toStdString();
    }

    void Show() {
        dialog.show();
        dialog.activateWindow();
        QApplication::processEvents();
    }

    static void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers);
        QApplication::sendEvent(target, &release);
    }

    static bool HasFocusIn(QWidget* widget) {
        QWidget* focus = QApplication::focusWidget();
        return focus == widget || (focus != nullptr && widget->isAncestorOf(focus));
    }

    QDialog dialog;
    QorControl* form = nullptr;
    QLineEdit* edit = nullptr;
    QorControl* grid = nullptr;
};

}  // namespace

TEST_F(ControlDialogTest, ControlsAreMadeByProgIdAndHandOutTheirDispatch) {
    EXPECT_EQ(form->control(), kFormProgId);
    EXPECT_NE(form->dispatch(), nullptr);
    EXPECT_NE(grid->dispatch(), form->dispatch());
    EXPECT_EQ(form->propertyValue("ReadyState"), QVariant(1));
    EXPECT_EQ(grid->propertyValue("readystate"), QVariant(1));
    ASSERT_NE(grid->controlWindow(), nullptr);
    EXPECT_EQ(grid->controlWindow()->GetWindowRect(), (RECT{0, 0, 400, 200}));
    // A put of a read-only stock property fails with the control's reason, and says so.
    EXPECT_FALSE(grid->setPropertyValue("ReadyState", 4));
    EXPECT_THAT(grid->lastError().toStdString(), HasSubstr("ReadyState: "));
    grid->clear();
    EXPECT_TRUE(grid->isNull());
    EXPECT_EQ(grid->dispatch(), nullptr);
    EXPECT_FALSE(grid->dynamicCall("Redraw").isValid());
    EXPECT_THAT(grid->lastError().toStdString(), HasSubstr("the object is null"));
}

TEST_F(ControlDialogTest, AClassThatCannotBeEmbeddedIsRefusedWithTheReason) {
    const struct {
        const char* name;
        const char* control;
        const char* reason;
    } cases[] = {
        {"unknown ProgID", "QORNOPE.NoSuchCtrl.1", "Cannot create \"QORNOPE.NoSuchCtrl.1\": "},
        {"unregistered class id", "{01234567-89AB-CDEF-0123-456789ABCDEF}",
         "Cannot create \"{01234567-89AB-CDEF-0123-456789ABCDEF}\": "},
        {"not a class id", "{not-a-guid}", "Cannot create \"{not-a-guid}\": "},
        {"an object that is no control", "ADODB.Connection",
         "\"ADODB.Connection\" is not a control: it cannot be embedded"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QorControl widget(&dialog);
        EXPECT_FALSE(widget.setControl(c.control));
        EXPECT_THAT(widget.lastError().toStdString(), HasSubstr(c.reason));
        EXPECT_TRUE(widget.isNull());
        EXPECT_TRUE(widget.control().isEmpty());
        // The widget is still a container: a right ProgID works after a wrong one.
        EXPECT_TRUE(widget.setControl(kGridProgId)) << widget.lastError().toStdString();
        EXPECT_TRUE(widget.lastError().isEmpty());
    }
}

TEST_F(ControlDialogTest, CallsByNameTakeQtValuesAndGiveBackOutValues) {
    EXPECT_EQ(grid->dynamicCall("InsertColumn",
                                {"name", "Name", 120, 1, 30, "", true, true, 0x000000, 0xFFFFFF}),
              QVariant(0));
    EXPECT_EQ(grid->dynamicCall("insertcolumn",
                                {"city", "City", 80, 1, 20, "", true, true, 0x000000, 0xFFFFFF}),
              QVariant(1));
    EXPECT_EQ(grid->dynamicCall("AddRow", {-1}), QVariant(0));
    EXPECT_EQ(grid->dynamicCall("SetItemByName", {0, "city", "Dublin"}), QVariant(1));

    QVariantList item{0, 1, QString()};
    EXPECT_EQ(grid->dynamicCall("GetItem", item), QVariant(1));
    EXPECT_EQ(item[2], QVariant("Dublin"));
    // An out parameter left off is added, so that its value has a place to go.
    QVariantList count;
    EXPECT_EQ(grid->dynamicCall("GetRowCount", count), QVariant(true));
    ASSERT_EQ(count.size(), 1);
    EXPECT_EQ(count[0], QVariant(1));
    // The const form passes nothing back.
    const QVariantList untouched{0, 1, QString()};
    grid->dynamicCall("GetItem", untouched);
    EXPECT_EQ(untouched[2], QVariant(QString()));

    EXPECT_FALSE(grid->dynamicCall("NoSuchMember", {1}).isValid());
    EXPECT_THAT(grid->lastError().toStdString(), HasSubstr("NoSuchMember: "));
    EXPECT_FALSE(grid->dynamicCall("AddRow", {QVariant(QSize(1, 2))}).isValid());
    EXPECT_THAT(grid->lastError().toStdString(), HasSubstr("argument 1: "));
}

TEST_F(ControlDialogTest, TheFormOpensOnAConnectionHandedOverAsAnObject) {
    QorControl connection(&dialog);
    CComPtr<IDispatch> conn;
    ASSERT_TRUE(CreateDispatchObject("ADODB.Connection", conn).Succeeded());
    CComVariant ignored;
    ASSERT_TRUE(CallMember(conn.Get(), "Open",
                           {CComVariant("Provider=SQLite;Data Source=" + SampleCopy()),
                            CComVariant(""), CComVariant(""), CComVariant(-1)},
                           ignored)
                    .Succeeded());
    ASSERT_EQ(form->dynamicCall("OpenForm", {QVariant::fromValue(QorDispatchPtr(conn)),
                                             "SELECT * FROM customers ORDER BY customer_id",
                                             QOR_SAMPLE_CUSTOMERS_FORM}),
              QVariant(true))
        << form->lastError().toStdString();
    QVariantList item{"name", QVariant()};
    EXPECT_EQ(form->dynamicCall("GetItem", item), QVariant(true));
    EXPECT_EQ(item[1].typeId(), QMetaType::QString);
    EXPECT_FALSE(item[1].toString().isEmpty());
    EXPECT_EQ(form->dynamicCall("SetItem", {"name", "Harbour Lights"}), QVariant(true));
    EXPECT_EQ(form->dynamicCall("GetItem", item), QVariant(true));
    EXPECT_EQ(item[1], QVariant("Harbour Lights"));
}

TEST_F(ControlDialogTest, TabMovesThroughTheDialogAndOutOfAControlAtItsEnd) {
    for (const char* name : {"name", "city"}) {
        grid->dynamicCall("InsertColumn", {name, name, 80, 1, 20, "", true, true, 0, 0xFFFFFF});
    }
    grid->dynamicCall("AddRow", {-1});
    Show();
    edit->setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(edit->hasFocus());
    const struct {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QWidget* expected;
    } steps[] = {
        {"Tab from the edit enters the grid", Qt::Key_Tab, Qt::NoModifier, grid},
        {"the grid keeps Tab for its cells", Qt::Key_Tab, Qt::NoModifier, grid},
        {"Tab at its last cell leaves it, round to the form", Qt::Key_Tab, Qt::NoModifier, form},
        {"Ctrl+Tab leaves the form for the edit", Qt::Key_Tab, Qt::ControlModifier, edit},
        {"Shift+Tab from the edit goes back into the form", Qt::Key_Backtab, Qt::ShiftModifier,
         form},
        {"Ctrl+Shift+Tab leaves the form backwards, round to the grid", Qt::Key_Backtab,
         Qt::ControlModifier | Qt::ShiftModifier, grid},
        {"and from the grid back to the edit", Qt::Key_Backtab,
         Qt::ControlModifier | Qt::ShiftModifier, edit},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        Press(step.key, step.modifiers);
        EXPECT_TRUE(HasFocusIn(step.expected));
    }
    // Focus inside a container is the control's window's focus.
    form->setFocus(Qt::OtherFocusReason);
    EXPECT_TRUE(form->controlWindow()->HasFocus());
}

TEST_F(ControlDialogTest, TheControlsWindowIsSizedWithTheWidget) {
    // Hidden, the widget hears of no resize; a call fits the control first.
    grid->resize(300, 100);
    grid->dynamicCall("Redraw");
    EXPECT_EQ(grid->controlWindow()->GetWindowRect(), (RECT{0, 0, 300, 100}));
    Show();
    for (const QSize size : {QSize(250, 120), QSize(640, 480), QSize(1, 1)}) {
        SCOPED_TRACE(size.width());
        grid->resize(size);
        EXPECT_EQ(grid->controlWindow()->GetWindowRect(),
                  (RECT{0, 0, size.width(), size.height()}));
        EXPECT_EQ(grid->controlWindow()->GetClientRect(),
                  (RECT{0, 0, size.width(), size.height()}));
    }
}
