// A window whose client area lives inside a widget of a Qt program, so that controls can be
// activated into a Qt dialog or main window as into any parent window.
#pragma once

#include "platform/ui/wnd.h"

class QWidget;

class CWidgetWnd : public CWnd {
  public:
    // The window as a child widget of the widget, covering rect of its area, shown. The window
    // has no parent window: the widget's own parents are Qt's.
    bool CreateInWidget(QWidget* widget, const RECT& rect);
    // Tab out of the control inside goes on to the next widget of the Qt window.
    void OnTabOut(bool previous) override;

  private:
    QWidget* m_widget = nullptr;
};

// Gives the focus to the widget after the widget (before it when not forward) in its window's
// tab order, past the widgets inside it; nothing when there is none.
void MoveFocusOutOf(QWidget& widget, bool forward);
