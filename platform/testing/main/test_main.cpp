// The test programs' entry: the application object lives on main's stack, so that it goes
// before the toolkit's own static objects do.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <cstdlib>

#include "platform/gdi/fonts.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("QOR_SOURCE_DIR", QOR_DEFAULT_SOURCE_DIR, 0);
    setenv("QOR_SAMPLE_DB", QOR_DEFAULT_SAMPLE_DB, 0);
    // The machine's own configuration (an installed suite's system registry) stays out of tests.
    setenv("XDG_CONFIG_DIRS", QOR_NO_SYSTEM_CONFIG, 1);
    // Programs' own settings stay in the build tree, away from the user's.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QOR_TEST_SETTINGS);
    PrepareFontConfiguration();
    const QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
