// The application object: start-up, the main window, the event loop.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/wnd.h"

class CWinApp {
  public:
    CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    virtual ~CWinApp();

    // Creates the main window; false ends the program at once.
    virtual bool InitInstance() = 0;
    virtual int ExitInstance() { return 0; }
    // Runs the event loop until the main window is destroyed.
    int Run();

    // The classic look of three-dimensional controls is the only look here.
    void Enable3dControls() {}
    // Names the key under which the program's profile would be stored.
    void SetRegistryKey(const std::string& key) { m_registryKey = key; }
    const std::string& GetRegistryKey() const { return m_registryKey; }

    // Command-line arguments after the program name.
    std::vector<std::string> m_args;
    CWnd* m_pMainWnd = nullptr;

  private:
    std::string m_registryKey;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
// Object-linking start-up: nothing to prepare on this platform.
inline bool AfxOleInit() {
    return true;
}

// Program entry: prepares fonts, creates the toolkit application, runs InitInstance and the
// event loop, returns the exit code.
int AfxWinMain(CWinApp& app, int argc, char** argv);

// Called by windows as they are destroyed: the main window's end ends the event loop.
void NoteWindowDestroyed(CWnd* wnd);
