// A window inside a widget of a Qt program.
#include "platform/ui/widget_wnd_qt.h"

#include <QWidget>

#include "platform/ui/wnd_host_qt.h"

bool CWidgetWnd::CreateInWidget(QWidget* widget, const RECT& rect) {
    m_widget = widget;
    ModifyStyle(~0U, WS_CHILD | WS_VISIBLE);
    AttachHost(std::make_unique<Host>(this, widget), nullptr, 0);
    GetHost()->client->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    if (!FinishCreate()) {
        return false;
    }
    ShowWindow(SW_SHOW);
    return true;
}

void CWidgetWnd::OnTabOut(bool previous) {
    if (m_widget != nullptr) {
        MoveFocusOutOf(*m_widget, !previous);
    }
}

void MoveFocusOutOf(QWidget& widget, bool forward) {
    for (QWidget* next = forward ? widget.nextInFocusChain() : widget.previousInFocusChain();
         next != &widget;
         next = forward ? next->nextInFocusChain() : next->previousInFocusChain()) {
        const bool takesTab = (next->focusPolicy() & Qt::TabFocus) != 0 && next->isEnabled() &&
                              next->isVisibleTo(widget.window()) &&
                              next->window() == widget.window();
        if (takesTab && !widget.isAncestorOf(next)) {
            next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return;
        }
    }
}
