// The modal loop: a Qt event loop woken only by events, with a filter that drops input for
// other windows.
#include "platform/ui/modal_loop.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QWidget>
#include <functional>

#include "platform/com/exception_guard.h"
#include "platform/ui/wnd.h"
#include "platform/ui/wnd_host_qt.h"

namespace {

ModalLoopHook g_hook;

bool IsInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
            return true;
        default:
            return false;
    }
}

// Lets input through only to the modal window's widgets.
class InputFilter : public QObject {
  public:
    explicit InputFilter(QWidget* window) : m_window(window) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!IsInput(event->type()) || !watched->isWidgetType()) {
            return false;
        }
        const auto* widget = static_cast<QWidget*>(watched);
        return m_window.isNull() || (widget != m_window && !m_window->isAncestorOf(widget));
    }

  private:
    QPointer<QWidget> m_window;
};

// done() is the caller's code: what it throws ends the loop as if it were done.
bool AskDone(const std::function<bool()>& done) {
    return GuardValue("modal loop end condition", true, done);
}

bool AskHook(CWnd& window) {
    if (!g_hook) {
        return false;
    }
    return GuardValue("modal loop hook", true, [&] { return g_hook(window); });
}

}  // namespace

ModalLoopHook SetModalLoopHook(ModalLoopHook hook) {
    ModalLoopHook previous = std::move(g_hook);
    g_hook = std::move(hook);
    return previous;
}

bool RunModalLoop(CWnd& window, const std::function<bool()>& done) {
    CClientWidget* client = ClientWidgetOf(window);
    if (client == nullptr) {
        return false;
    }
    const QPointer<QWidget> shown = client->window();
    InputFilter filter(shown);
    QCoreApplication::instance()->installEventFilter(&filter);
    bool finished = AskDone(done);
    const bool abandon = !finished && window.IsWindow() && AskHook(window);
    finished = finished || AskDone(done);
    if (!finished && !abandon && window.IsWindow()) {
        QEventLoop loop;
        // Looked at each time the loop is about to sleep: after every batch of events, never
        // while it waits.
        const QMetaObject::Connection check =
            QObject::connect(QAbstractEventDispatcher::instance(),
                             &QAbstractEventDispatcher::aboutToBlock, &loop, [&] {
                                 finished = AskDone(done);
                                 if (finished || !window.IsWindow()) {
                                     loop.quit();
                                 }
                             });
        loop.exec();
        QObject::disconnect(check);
    }
    QCoreApplication::instance()->removeEventFilter(&filter);
    return finished;
}
