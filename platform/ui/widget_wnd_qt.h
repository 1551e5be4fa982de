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
};
