// The application object and the program's entry over QApplication.
#include "platform/ui/application.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <QWidget>
#include <cstdlib>

#include "platform/gdi/fonts.h"
#include "platform/ui/wnd_qt.h"

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp() {
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this) {
        g_app = nullptr;
    }
}

namespace {
// With QOR_SCREENSHOT set, the main window is saved as a picture once it has been shown and
// the program ends: the headless demonstration runs this way.
void ScheduleScreenshot() {
    const char* path = std::getenv("QOR_SCREENSHOT");
    if (path == nullptr || *path == '\0') {
        return;
    }
    const QString file = QString::fromLocal8Bit(path);
    QTimer::singleShot(800, [file] {
        if (QWidget* window = QtWidgetOf(AfxGetMainWnd())) {
            window->grab().save(file);
        }
        QCoreApplication::exit(0);
    });
}
}  // namespace

int CWinApp::Run() {
    ScheduleScreenshot();
    const int code = QApplication::exec();
    const int exitCode = ExitInstance();
    return code != 0 ? code : exitCode;
}

CWinApp* AfxGetApp() {
    return g_app;
}

CWnd* AfxGetMainWnd() {
    return g_app ? g_app->m_pMainWnd : nullptr;
}

void NoteWindowDestroyed(CWnd* wnd) {
    if (g_app != nullptr && g_app->m_pMainWnd == wnd) {
        g_app->m_pMainWnd = nullptr;
        QCoreApplication::quit();
    }
}

int AfxWinMain(CWinApp& app, int argc, char** argv) {
    PrepareFontConfiguration();
    QApplication qtApp(argc, argv);
    for (int i = 1; i < argc; ++i) {
        app.m_args.emplace_back(argv[i]);
    }
    const int code = app.InitInstance() ? app.Run() : app.ExitInstance();
    // Windows go before the toolkit application they live in.
    if (CWnd* main = AfxGetMainWnd()) {
        main->DestroyWindow();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return code;
}
