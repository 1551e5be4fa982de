// One QApplication for the whole test program, on the offscreen platform.
#include "platform/testing/headless.h"

#include <QApplication>
#include <cstdlib>
#include <memory>

#include "platform/gdi/fonts.h"

void EnsureHeadlessApplication()
{
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    PrepareFontConfiguration();
    static int argc = 1;
    static char name[] = "qor-test";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QApplication> app = std::make_unique<QApplication>(argc, argv);
}
