// The application object and the program's entry over QApplication.
#include "platform/ui/application.h"

#include <QApplication>
#include <QIcon>

#include "platform/gdi/fonts.h"

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp() { g_app = this; }

CWinApp::~CWinApp()
{
    if (g_app == this) {
        g_app = nullptr;
    }
}

int CWinApp::Run()
{
    const int code = QApplication::exec();
    const int exitCode = ExitInstance();
    return code != 0 ? code : exitCode;
}

CWinApp* AfxGetApp() { return g_app; }

CWnd* AfxGetMainWnd() { return g_app ? g_app->m_pMainWnd : nullptr; }

void NoteWindowDestroyed(CWnd* wnd)
{
    if (g_app != nullptr && g_app->m_pMainWnd == wnd) {
        g_app->m_pMainWnd = nullptr;
        QCoreApplication::quit();
    }
}

int AfxWinMain(CWinApp& app, int argc, char** argv)
{
    PrepareFontConfiguration();
    QApplication qtApp(argc, argv);
    for (int i = 1; i < argc; ++i) {
        app.m_args.emplace_back(argv[i]);
    }
    if (!app.InitInstance()) {
        return app.ExitInstance();
    }
    return app.Run();
}
