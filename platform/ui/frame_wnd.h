// A top-level frame window: menu bar and accelerators from the resource table, its title, and
// the size limits its min/max-info handler sets.
#pragma once

#include <string>

#include "platform/ui/wnd.h"

class CFrameWnd : public CWnd {
  public:
    // Creates the frame from the menu, accelerators and title string with the resource id.
    bool LoadFrame(UINT resourceId, UINT style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* parent = nullptr);
    // Adjusts position, size and style before the window exists; false stops the creation.
    virtual bool PreCreateWindow(CREATESTRUCT& /*cs*/) { return true; }
    // The frame's title from its resource; with FWS_ADDTOTITLE the window text is set to it
    // whenever the frame updates its title.
    const std::string& GetTitle() const { return m_title; }
    void OnUpdateFrameTitle();
    // Asks the min/max-info handler again and applies its limits to the window.
    void ApplySizeLimits();

    bool PreTranslateKey(UINT vk, UINT modifiers) override;

  private:
    std::string m_title;
    UINT m_style = 0;
    const AcceleratorResource* m_accelerators = nullptr;
};

// A window class name for PreCreateWindow. The class styles, cursor, brush and icon of the
// classic registration are kept by the window itself here, so the name is all that is left.
std::string AfxRegisterWndClass(UINT classStyle, int cursor = 0, int brush = 0, int icon = 0);
