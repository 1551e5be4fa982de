// Makes sure an application object exists for code run outside the test programs' main.
#include "platform/testing/headless.h"

#include <QApplication>
#include <cstdlib>

#include "platform/gdi/fonts.h"

void EnsureHeadlessApplication() {
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    PrepareFontConfiguration();
    static int argc = 1;
    static char name[] = "qor";
    static char* argv[] = {name, nullptr};
    // Kept for the life of the process: programs that call this own no application object.
    static QApplication* app =
        new QApplication(argc, argv);  // NOLINT(cppcoreguidelines-owning-memory)
    static_cast<void>(app);
}
