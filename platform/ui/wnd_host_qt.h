// The Qt widgets behind a window: the client widget that owns the input and shows the backing
// surface, and the host record that ties them to their CWnd.
#pragma once

#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QWidget>
#include <memory>

#include "platform/gdi/dc.h"
#include "platform/ui/wnd.h"

// The client area of a window. It turns Qt's events into the window's messages.
class CClientWidget : public QWidget {
  public:
    CClientWidget(CWnd* owner, QWidget* parent);
    void Detach() { m_owner = nullptr; }
    CWnd* Owner() const { return m_owner; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // Tab and Shift+Tab are keys of the window, not focus moves of the toolkit.
    bool focusNextPrevChild(bool next) override;

  private:
    CWnd* m_owner;
};

struct CWnd::Host {
    // A client widget inside the parent widget, or a top-level one without parent.
    Host(CWnd* owner, QWidget* parentWidget);
    // A client widget inside a top-level frame widget that the host owns from now on.
    Host(CWnd* owner, std::unique_ptr<QWidget> frame);
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // The widget positioned in the parent or on the screen: the frame, or the client itself.
    QWidget* Outer() const { return outer.data(); }

    QPointer<QWidget> outer;
    QPointer<CClientWidget> client;
    CBitmap surface;
    bool ownsOuter;
};

// Counts the toolkit callbacks under way. A window destroyed inside one of them hands its
// widgets to the toolkit for deletion once the event is done, since the widget whose event
// is running must outlive it.
class DispatchScope {
  public:
    DispatchScope();
    ~DispatchScope();
    DispatchScope(const DispatchScope&) = delete;
    DispatchScope& operator=(const DispatchScope&) = delete;
    static bool Active();
};

// Draws the caret over what the window's widget shows, when the window has it and it is on.
void PaintCaret(const CWnd& wnd, QPainter& painter, const QImage& surface);
// The caret goes with its window.
void ForgetCaretOf(const CWnd* wnd);

// The widgets of a window, for the testing layer and dialogs.
CClientWidget* ClientWidgetOf(const CWnd& wnd);
