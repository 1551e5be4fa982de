// Synthetic Qt events sent to a window's client widget, and menu access for tests.
#include "platform/testing/input.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPixmap>
#include <optional>

#include "platform/gdi/color_qt.h"
#include "platform/ui/frame_host_qt.h"
#include "platform/ui/input_qt.h"
#include "platform/ui/wnd_host_qt.h"

namespace {

void Send(CWnd& wnd, QEvent& event) {
    if (CClientWidget* widget = ClientWidgetOf(wnd)) {
        QApplication::sendEvent(widget, &event);
    }
}

Qt::MouseButton ToQt(MouseButton button) {
    return button == MouseButton::Left ? Qt::LeftButton : Qt::RightButton;
}

void SendMouse(CWnd& wnd, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons,
               POINT point, UINT modifiers) {
    const QPointF local(point.x, point.y);
    CClientWidget* widget = ClientWidgetOf(wnd);
    const QPointF global = widget ? QPointF(widget->mapToGlobal(local.toPoint())) : local;
    QMouseEvent event(type, local, global, button, buttons, QtModifiersFromFlags(modifiers));
    Send(wnd, event);
}

QMainWindow* MainWindowOf(CFrameWnd& frame) {
    return frame.GetHost() ? dynamic_cast<QMainWindow*>(frame.GetHost()->Outer()) : nullptr;
}

QMenu* FindMenu(CFrameWnd& frame, const std::string& title) {
    QMainWindow* window = MainWindowOf(frame);
    if (window == nullptr) {
        return nullptr;
    }
    for (QAction* action : window->menuBar()->actions()) {
        if (action->menu() != nullptr && action->text().toStdString() == title) {
            return action->menu();
        }
    }
    return nullptr;
}

}  // namespace

void SendKey(CWnd& wnd, UINT vk, UINT modifiers, const std::string& text) {
    const Qt::KeyboardModifiers qtModifiers = QtModifiersFromFlags(modifiers);
    int key = QtKeyFromVirtualKey(vk);
    if (key == Qt::Key_Tab && (modifiers & FSHIFT)) {
        key = Qt::Key_Backtab;
    }
    QKeyEvent press(QEvent::KeyPress, key, qtModifiers, QString::fromStdString(text));
    Send(wnd, press);
    QKeyEvent release(QEvent::KeyRelease, key, qtModifiers, QString::fromStdString(text));
    Send(wnd, release);
}

void TypeText(CWnd& wnd, const std::string& text) {
    for (const QChar ch : QString::fromStdString(text)) {
        const QChar upper = ch.toUpper();
        const bool letterOrDigit = (upper >= 'A' && upper <= 'Z') || (upper >= '0' && upper <= '9');
        const UINT vk = letterOrDigit ? upper.unicode() : 0;
        const UINT modifiers = ch.isUpper() ? FSHIFT : 0;
        QKeyEvent press(QEvent::KeyPress, vk ? QtKeyFromVirtualKey(vk) : Qt::Key_unknown,
                        QtModifiersFromFlags(modifiers), QString(ch));
        Send(wnd, press);
    }
}

void SendMouseDown(CWnd& wnd, MouseButton button, POINT point, UINT modifiers) {
    SendMouse(wnd, QEvent::MouseButtonPress, ToQt(button), ToQt(button), point, modifiers);
}

void SendMouseUp(CWnd& wnd, MouseButton button, POINT point, UINT modifiers) {
    SendMouse(wnd, QEvent::MouseButtonRelease, ToQt(button), Qt::NoButton, point, modifiers);
}

void SendMouseMove(CWnd& wnd, POINT point, bool leftDown, UINT modifiers) {
    SendMouse(wnd, QEvent::MouseMove, Qt::NoButton, leftDown ? Qt::LeftButton : Qt::NoButton, point,
              modifiers);
}

void SendClick(CWnd& wnd, POINT point, UINT modifiers) {
    SendMouseDown(wnd, MouseButton::Left, point, modifiers);
    SendMouseUp(wnd, MouseButton::Left, point, modifiers);
}

void SendDoubleClick(CWnd& wnd, POINT point) {
    SendClick(wnd, point);
    SendMouse(wnd, QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, point, 0);
    SendMouseUp(wnd, MouseButton::Left, point);
}

void ActivateWindow(CWnd& wnd) {
    if (CClientWidget* client = ClientWidgetOf(wnd)) {
        QWidget* top = client->window();
        top->show();
        top->activateWindow();
        QApplication::processEvents();
    }
}

void SendClose(CFrameWnd& frame) {
    if (QMainWindow* window = MainWindowOf(frame)) {
        QCloseEvent event;
        QApplication::sendEvent(window, &event);
    }
}

COLORREF ReadPixel(CWnd& wnd, int x, int y) {
    wnd.UpdateWindow();
    return wnd.GetBackingSurface().GetPixel(x, y);
}

COLORREF ReadShownPixel(CWnd& wnd, int x, int y) {
    CClientWidget* client = ClientWidgetOf(wnd);
    if (client == nullptr) {
        return CLR_INVALID;
    }
    QWidget* top = client->window();
    const QPoint point = client->mapTo(top, QPoint(x, y));
    const QImage image = top->grab().toImage();
    if (!image.rect().contains(point)) {
        return CLR_INVALID;
    }
    return FromQRgb(image.pixel(point));
}

std::vector<MenuItemState> OpenMenu(CFrameWnd& frame, const std::string& title) {
    std::vector<MenuItemState> items;
    QMenu* menu = FindMenu(frame, title);
    if (menu == nullptr) {
        return items;
    }
    emit menu->aboutToShow();
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            continue;
        }
        items.push_back(MenuItemState{action->text().toStdString(), CommandIdOf(*action),
                                      action->isEnabled(), action->isCheckable(),
                                      action->isChecked()});
    }
    return items;
}

std::vector<std::string> MenuTitles(CFrameWnd& frame) {
    std::vector<std::string> titles;
    if (QMainWindow* window = MainWindowOf(frame)) {
        for (const QAction* action : window->menuBar()->actions()) {
            titles.push_back(action->text().toStdString());
        }
    }
    return titles;
}

namespace {

// Opens the menu and clicks the command in it or in one of its submenus; nothing when absent,
// false when disabled.
std::optional<bool> ClickIn(QMenu& menu, UINT id) {
    emit menu.aboutToShow();
    for (QAction* action : menu.actions()) {
        if (QMenu* submenu = action->menu()) {
            if (const std::optional<bool> clicked = ClickIn(*submenu, id)) {
                return clicked;
            }
        } else if (CommandIdOf(*action) == id) {
            if (!action->isEnabled()) {
                return false;
            }
            action->trigger();
            return true;
        }
    }
    return std::nullopt;
}

}  // namespace

bool ClickMenuItem(CFrameWnd& frame, UINT id) {
    for (const std::string& title : MenuTitles(frame)) {
        if (const std::optional<bool> clicked = ClickIn(*FindMenu(frame, title), id)) {
            return *clicked;
        }
    }
    return false;
}

SIZE FrameSize(CFrameWnd& frame) {
    const RECT rc = frame.GetWindowRect();
    return SIZE{rc.Width(), rc.Height()};
}

SIZE FrameMaximumSize(CFrameWnd& frame) {
    QMainWindow* window = MainWindowOf(frame);
    return window ? SIZE{window->maximumWidth(), window->maximumHeight()} : SIZE{};
}

void ResizeFrame(CFrameWnd& frame, int width, int height) {
    if (QMainWindow* window = MainWindowOf(frame)) {
        window->resize(width, height);
    }
}
