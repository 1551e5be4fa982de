// Start-up of the designer: resources, the main frame, and a design file named on the command line.
#include "designer/designer_app.h"

#include "designer/resources.h"

bool CDesignerApp::InitInstance() {
    Enable3dControls();
    SetRegistryKey("Local AppWizard-Generated Applications");
    RegisterDesignerResources();
    m_frame = std::make_unique<CMainFrame>();
    m_frame->UseSettings(&m_settings);
    m_frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE);
    m_pMainWnd = m_frame.get();
    m_frame->ShowWindow(SW_SHOWNORMAL);
    m_frame->UpdateWindow();
    // A file handed over by a file manager opens as Open would open it.
    if (!m_args.empty()) {
        OpenDesignPath(*m_frame, m_args.front());
    }
    return true;
}
