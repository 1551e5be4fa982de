// The order desk's own settings across a restart of its window: where the window was and the
// data sources it opened, with a file that has gone removed from the list.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSettings>
#include <QStatusBar>
#include <memory>

#include "platform/dialogs/scripted_dialogs.h"
#include "samples/order_desk/order_desk_qt.h"
#include "tests/embed/embed_test_support.h"

namespace {

class DeskSettingsTest : public RegisteredControls {
  protected:
    void SetUp() override {
        RegisteredControls::SetUp();
        for (const char* module : {QOR_QUERY_MODULE, QOR_ORDER_MODULE, QOR_REPORT_MODULE}) {
            ASSERT_TRUE(RegisterModule(module)) << module;
        }
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(folder.File("settings")));
    }

    std::unique_ptr<COrderDesk> Start(const QString& source) {
        auto desk = std::make_unique<COrderDesk>(
            OrderDeskFiles{QOR_SAMPLE_CUSTOMERS_FORM, QOR_SAMPLE_CUSTOMERS_REPORT});
        desk->UseSettings(&settings);
        EXPECT_TRUE(desk->Open(source));
        desk->show();
        QApplication::processEvents();
        return desk;
    }

    // The Recent Data Sources menu's entries as it shows them when opened.
    static QStringList RecentMenu(COrderDesk& desk) {
        QStringList texts;
        for (QMenu* menu : desk.findChildren<QMenu*>()) {
            if (menu->title() == QStringLiteral("Recent &Data Sources")) {
                emit menu->aboutToShow();
                for (const QAction* action : menu->actions()) {
                    texts.append(action->text());
                }
            }
        }
        return texts;
    }

    ScopedScriptedDialogs dialogs;
    const CProgramSettings settings{"qor-order-desk-test"};
};

}  // namespace

TEST_F(DeskSettingsTest, PlacementAndDataSourcesSurviveARestart) {
    const QString sample = QString::fromStdString(SampleCopy());
    auto desk = Start(sample);
    desk->move(151, 67);
    const QPoint placed = desk->pos();
    desk->close();
    desk.reset();

    desk = Start(sample);
    EXPECT_EQ(desk->pos(), placed);
    EXPECT_EQ(RecentMenu(*desk), QStringList{"&1 " + sample});

    const QString gone = QString::fromStdString(folder.File("gone.db"));
    settings.AddRecentFile(gone.toStdString());
    desk->OpenRecent(gone);
    EXPECT_TRUE(desk->statusBar()->currentMessage().contains(gone + " cannot be found"));
    EXPECT_EQ(RecentMenu(*desk), QStringList{"&1 " + sample});
}
