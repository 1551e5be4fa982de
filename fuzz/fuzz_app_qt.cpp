// The headless application of the drawing targets: offscreen, with the suite's font mapping.
#include <QApplication>
#include <cstdlib>

#include "fuzz/fuzz_support.h"
#include "platform/gdi/fonts.h"

void StartHeadlessApplication() {
    if (QApplication::instance() != nullptr) {
        return;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    PrepareFontConfiguration();
    // The application lives as long as the process: libFuzzer never returns from its loop.
    static int argc = 1;
    static char name[] = "qor-fuzz";
    static char* argv[] = {name, nullptr};
    static QApplication* const application = new QApplication(argc, argv);
    (void)application;
}
