// A small window that shows one colour, attached to a static control of a dialog.
#pragma once

#include "platform/ui/wnd.h"

class CColorSwatch : public CWnd {
  public:
    // Stores the colour and repaints the swatch at once.
    void SetColor(COLORREF color);
    COLORREF GetColor() const { return m_color; }
    void OnPaint(CDC& dc) override;

  private:
    COLORREF m_color = 0;
};
