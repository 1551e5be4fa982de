// A window inside a widget of a Qt program.
#include "platform/ui/widget_wnd_qt.h"

#include "platform/ui/wnd_host_qt.h"

bool CWidgetWnd::CreateInWidget(QWidget* widget, const RECT& rect) {
    ModifyStyle(~0U, WS_CHILD | WS_VISIBLE);
    AttachHost(std::make_unique<Host>(this, widget), nullptr, 0);
    GetHost()->client->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    if (!FinishCreate()) {
        return false;
    }
    ShowWindow(SW_SHOW);
    return true;
}
