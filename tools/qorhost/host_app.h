// The qorhost application: the data-access and registered classes, the dialog service, and
// either a script run or the interactive window.
#pragma once

#include <memory>

#include "platform/ui/application.h"
#include "tools/qorhost/host_options.h"

class CControlHost;
class CInteractiveHost;
class CScriptedDialogService;

class CHostApp : public CWinApp {
  public:
    explicit CHostApp(HostOptions options);
    ~CHostApp() override;

    bool InitInstance() override;
    // The script's exit code in script mode.
    int ExitInstance() override;

  private:
    bool PrepareClasses();
    void PrepareDialogs();
    bool RunScriptMode();

    HostOptions m_options;
    CScriptedDialogService* m_dialogs = nullptr;  // owned by the dialog service slot
    std::unique_ptr<CControlHost> m_controls;
    std::unique_ptr<CInteractiveHost> m_window;
    int m_exitCode = 0;
};
