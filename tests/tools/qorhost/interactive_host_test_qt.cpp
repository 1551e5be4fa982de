// The interactive window driven through its widgets: registered controls listed, an object
// created, members listed from type information and invoked with typed and out arguments.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>

#include <fstream>
#include <iterator>

#include "platform/dialogs/scripted_dialogs.h"
#include "platform/gdi/bitmap_qt.h"
#include "platform/ui/module_image.h"
#include "tests/tools/qorhost/host_test_support.h"
#include "tools/qorhost/interactive_host.h"

using ::testing::HasSubstr;

namespace {

constexpr const char* kRegistry = R"(
[CLSID\{7D3A61B0-52C4-4E55-9C1B-0A6F1E2D3C40}]
@=Sample Control
[CLSID\{7D3A61B0-52C4-4E55-9C1B-0A6F1E2D3C40}\ProgID]
@=SAMPLE.SampleCtrl.1
[CLSID\{7D3A61B0-52C4-4E55-9C1B-0A6F1E2D3C40}\Control]
[CLSID\{7D3A61B0-52C4-4E55-9C1B-0A6F1E2D3C41}\ProgID]
@=SAMPLE.NotAControl.1
)";

std::string ReadRegistry(const std::string& path) {
    std::ifstream file(path);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class InteractiveHostTest : public ::testing::Test {
  protected:
    void Open(const std::string& registryText) {
        setenv("QOR_REGISTRY", folder.Write("registry", registryText).c_str(), 1);
        RegisterAdoClasses();
        window = std::make_unique<CInteractiveHost>(controls);
        ASSERT_TRUE(window->Create());
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* main = qobject_cast<QMainWindow*>(widget); main && main->isVisible()) {
                shown = main;
            }
        }
        ASSERT_NE(shown, nullptr);
    }
    void TearDown() override {
        window.reset();
        unsetenv("QOR_REGISTRY");
    }

    template <class W>
    W* Find(const char* name) {
        return shown->findChild<W*>(QString::fromLatin1(name));
    }
    void CreateObject(const char* progId) {
        Find<QLineEdit>("progId")->setText(QString::fromLatin1(progId));
        Find<QPushButton>("createObject")->click();
    }
    void ChooseMember(const char* name) {
        QComboBox* members = Find<QComboBox>("member");
        const int index = members->findText(QString::fromLatin1(name),
                                            Qt::MatchStartsWith | Qt::MatchCaseSensitive);
        ASSERT_GE(index, 0) << name;
        members->setCurrentIndex(index);
    }
    void SetArgument(int row, const std::string& text) {
        Find<QTableWidget>("arguments")->item(row, 3)->setText(QString::fromStdString(text));
    }
    std::string Output() { return Find<QPlainTextEdit>("output")->toPlainText().toStdString(); }

    TempFolder folder;
    CControlHost controls;
    std::unique_ptr<CInteractiveHost> window;
    QMainWindow* shown = nullptr;
};

}  // namespace

TEST_F(InteractiveHostTest, ListsOnlyTheClassesMarkedAsControls) {
    Open(kRegistry);
    const QListWidget* list = Find<QListWidget>("registeredControls");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text().toStdString(), "SAMPLE.SampleCtrl.1");
    EXPECT_TRUE(list->item(0)->icon().isNull());  // no toolbox bitmap registered
    EXPECT_FALSE(Find<QPushButton>("about")->isEnabled());
}

TEST_F(InteractiveHostTest, ARegisteredControlIsListedWithItsToolboxBitmap) {
    ASSERT_TRUE(RegisterTestModule(folder.File("modules")));
    Open(ReadRegistry(folder.File("modules")));
    const QListWidget* list = Find<QListWidget>("registeredControls");
    ASSERT_EQ(list->count(), 1);
    CLSID clsid;
    ASSERT_EQ(CLSIDFromProgID("QORTEST.QORTestCtrl.1", &clsid), S_OK);
    CBitmap toolbox(0, 0);
    ASSERT_EQ(LoadToolboxBitmap(clsid, &toolbox), S_OK);
    const QImage shown = list->item(0)->icon().pixmap(toolbox.Width(), toolbox.Height()).toImage();
    EXPECT_EQ(shown.convertToFormat(QImage::Format_RGB32), toolbox.impl().image);
}

TEST_F(InteractiveHostTest, ARegisteredControlIsInsertedWithItsAboutBoxAndPropertyPage) {
    ASSERT_TRUE(RegisterTestModule(folder.File("modules")));
    Open(ReadRegistry(folder.File("modules")));
    QListWidget* list = Find<QListWidget>("registeredControls");
    ASSERT_EQ(list->count(), 1);
    list->setCurrentRow(0);
    EXPECT_EQ(Find<QLineEdit>("progId")->text().toStdString(), "QORTEST.QORTestCtrl.1");
    Find<QPushButton>("insertControl")->click();
    ASSERT_EQ(controls.Sites().size(), 1U);
    EXPECT_TRUE(controls.Sites().front()->Window()->IsWindowVisible());
    ChooseMember("Divide(");
    SetArgument(0, "17");
    SetArgument(1, "5");
    Find<QPushButton>("invoke")->click();
    EXPECT_THAT(Output(), HasSubstr("> control1.Divide = 3\n  out remainder = 2"));

    ScopedScriptedDialogs dialogs;
    dialogs->PushDialog([](CDialogDriver&) {});
    ASSERT_TRUE(Find<QPushButton>("about")->isEnabled());
    Find<QPushButton>("about")->click();
    dialogs->PushDialog([](CDialogDriver&) {});
    ASSERT_TRUE(Find<QPushButton>("properties")->isEnabled());
    Find<QPushButton>("properties")->click();
    ASSERT_EQ(dialogs->Shown().size(), 2U);
    EXPECT_EQ(dialogs->Shown()[0].caption, "About QORTest Control");
    EXPECT_EQ(dialogs->Shown()[1].caption, "General");
    EXPECT_EQ(dialogs->Shown()[1].templateId, 200U);
    Find<QPushButton>("remove")->click();
    EXPECT_TRUE(controls.Sites().empty());
}

TEST_F(InteractiveHostTest, ADamagedRegistryIsReportedWithItsLine) {
    Open("[CLSID\\{x}]\nno equals sign here\n");
    EXPECT_THAT(Output(), HasSubstr("the class registry cannot be read: "));
    EXPECT_THAT(Output(), HasSubstr("registry:2"));
}

TEST_F(InteractiveHostTest, MembersAreInvokedWithTypedAndOutArguments) {
    Open(kRegistry);
    CreateObject("ADODB.Connection");
    EXPECT_EQ(Find<QListWidget>("objects")->count(), 1);

    ChooseMember("Open(");
    EXPECT_EQ(Find<QTableWidget>("arguments")->rowCount(), 4);
    SetArgument(0, "Provider=SQLite;Data Source=" + CopySample(folder));
    Find<QPushButton>("invoke")->click();
    EXPECT_THAT(Output(), HasSubstr("> object1.Open = (empty)"));

    ChooseMember("Execute(");
    SetArgument(0, "UPDATE customers SET city = city WHERE customer_id <= 3");
    ASSERT_NE(Find<QTableWidget>("arguments")->cellWidget(1, 2), nullptr);
    EXPECT_TRUE(
        qobject_cast<QCheckBox*>(Find<QTableWidget>("arguments")->cellWidget(1, 2))->isChecked());
    Find<QPushButton>("invoke")->click();
    EXPECT_THAT(Output(), HasSubstr("  out RecordsAffected = 3"));
    // The recordset Execute returned joins the objects.
    EXPECT_EQ(Find<QListWidget>("objects")->count(), 2);
}

TEST_F(InteractiveHostTest, FailuresAndUnknownClassesAreShown) {
    Open(kRegistry);
    CreateObject("No.Such.Class");
    EXPECT_THAT(Output(), HasSubstr("! Cannot create \"No.Such.Class\""));
    CreateObject("ADODB.Connection");
    ChooseMember("Open(");
    SetArgument(0, "Provider=SQLite;Data Source=/nonexistent/qorhost.db");
    Find<QPushButton>("invoke")->click();
    EXPECT_THAT(Output(), HasSubstr("! Open: "));
    ChooseMember("ConnectionTimeout = ");
    EXPECT_EQ(Find<QComboBox>("access")->currentText().toStdString(), "Put");
    SetArgument(0, "soon");
    Find<QPushButton>("invoke")->click();
    EXPECT_THAT(Output(), HasSubstr("! argument 1: \"soon\" is not a Long"));
}
