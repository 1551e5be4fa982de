// What the canvas's editor and the preview need of the window they work in.
#pragma once

#include "designer/damaged_area.h"
#include "platform/ui/wnd.h"

class ICanvasWindow {
  public:
    // The window itself: client area, capture, cursor, and owner of menus and dialogs.
    virtual CWnd& Window() = 0;
    // Draws the area at once, clipped to it; nothing for an empty area.
    virtual void RepaintRect(const RECT& area) = 0;
    // Draws each rectangle of the damage at once, clipped to it.
    virtual void Repaint(const CDamagedArea& damage) = 0;
    // Invalidates, erases and repaints the whole window at once.
    virtual void RepaintAll() = 0;

  protected:
    ~ICanvasWindow() = default;
};
