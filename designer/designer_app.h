// The designer's application object.
#pragma once

#include <memory>

#include "designer/main_frame.h"
#include "platform/ui/application.h"

class CDesignerApp : public CWinApp {
  public:
    bool InitInstance() override;
    CMainFrame* MainFrame() const { return m_frame.get(); }

  private:
    CProgramSettings m_settings{"qorform"};
    std::unique_ptr<CMainFrame> m_frame;
};
