// qorform's own settings across a restart of its window: the placement it had and the designs
// it opened and saved, offered under File > Recent Files, with a file that has gone removed.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QSettings>
#include <QWidget>
#include <memory>

#include "controls/common/design.h"
#include "designer/main_frame.h"
#include "designer/resources.h"
#include "platform/dialogs/scripted_dialogs.h"
#include "platform/testing/input.h"
#include "platform/ui/wnd_qt.h"
#include "tests/temp_folder.h"

namespace {

struct ShownEntry {
    std::string text;
    bool visible;
    bool enabled;
};

class ProgramSettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString((folder / "settings").string()));
        RegisterDesignerResources();
    }

    // The window as the program starts it.
    std::unique_ptr<CMainFrame> Start() {
        auto frame = std::make_unique<CMainFrame>();
        frame->UseSettings(&settings);
        EXPECT_TRUE(frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
        frame->ShowWindow(SW_SHOWNORMAL);
        return frame;
    }

    std::string DesignFile(const std::string& name) {
        std::string path = folder.File(name);
        EXPECT_TRUE(WriteDesignFile(path, Design()));
        return path;
    }

    // The Recent Files menu as it shows when opened.
    static std::vector<ShownEntry> RecentMenu(CMainFrame& frame) {
        std::vector<ShownEntry> entries;
        for (QMenu* menu : QtWidgetOf(&frame)->findChildren<QMenu*>()) {
            if (menu->title() == QStringLiteral("Recent &Files")) {
                emit menu->aboutToShow();
                for (const QAction* action : menu->actions()) {
                    entries.push_back(
                        {action->text().toStdString(), action->isVisible(), action->isEnabled()});
                }
            }
        }
        return entries;
    }

    TempFolder folder;
    ScopedScriptedDialogs dialogs;
    const CProgramSettings settings{"qorform-test"};
};

}  // namespace

TEST_F(ProgramSettingsTest, PlacementAndRecentFilesSurviveARestart) {
    const std::string first = DesignFile("first.qor");
    const std::string second = DesignFile("second & more.qor");
    auto frame = Start();
    EXPECT_EQ(RecentMenu(*frame)[0].text, "(No Recent Files)");
    EXPECT_FALSE(RecentMenu(*frame)[0].enabled);
    QtWidgetOf(frame.get())->move(137, 71);
    const QPoint placed = QtWidgetOf(frame.get())->pos();
    OpenDesignPath(*frame, first);
    OpenDesignPath(*frame, second);
    frame->DestroyWindow();
    frame.reset();

    frame = Start();
    EXPECT_EQ(QtWidgetOf(frame.get())->pos(), placed);
    const std::vector<ShownEntry> entries = RecentMenu(*frame);
    ASSERT_EQ(entries.size(), 4U);
    EXPECT_EQ(entries[0].text, "&1 " + folder.File("second && more.qor"));
    EXPECT_EQ(entries[1].text, "&2 " + first);
    EXPECT_TRUE(entries[0].visible && entries[0].enabled && entries[1].visible);
    EXPECT_FALSE(entries[2].visible || entries[3].visible);

    ASSERT_TRUE(ClickMenuItem(*frame, ID_FILE_MRU_FILE1 + 1));
    EXPECT_EQ(frame->Document().Path(), first);
    EXPECT_EQ(settings.RecentFiles(), (std::vector<std::string>{first, second}));
}

TEST_F(ProgramSettingsTest, ARecentFileThatIsGoneLeavesTheListWithAMessage) {
    const std::string kept = DesignFile("kept.qor");
    const std::string gone = DesignFile("gone.qor");
    auto frame = Start();
    OpenDesignPath(*frame, kept);
    OpenDesignPath(*frame, gone);
    std::filesystem::remove(gone);
    const std::string before = frame->Document().Path();

    dialogs->PushButton(IDOK);
    ASSERT_TRUE(ClickMenuItem(*frame, ID_FILE_MRU_FILE1));
    ASSERT_EQ(dialogs->Shown().size(), 1U);
    EXPECT_NE(dialogs->Shown().front().text.find(gone + " cannot be found"), std::string::npos);
    EXPECT_EQ(frame->Document().Path(), before);
    EXPECT_EQ(settings.RecentFiles(), (std::vector<std::string>{kept}));
    EXPECT_EQ(RecentMenu(*frame)[0].text, "&1 " + kept);
}
