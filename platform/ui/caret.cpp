// The program's one caret: its owner, hide count, position and blink, drawn over the shown picture.
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QStyleHints>
#include <QTimer>
#include <memory>

#include "platform/ui/wnd.h"
#include "platform/ui/wnd_host_qt.h"

namespace {

struct Caret {
    CWnd* owner = nullptr;
    SIZE size{};
    POINT position{};
    int hideCount = 1;
    bool blinkOn = true;
    // Owned by the application as well, so that a caret left at exit does not outlive it.
    QPointer<QTimer> timer{
        new QTimer(QCoreApplication::instance())};  // NOLINT(cppcoreguidelines-owning-memory)

    Caret() = default;
    Caret(const Caret&) = delete;
    Caret& operator=(const Caret&) = delete;
    ~Caret() { delete timer.data(); }  // NOLINT(cppcoreguidelines-owning-memory)

    RECT Rect() const {
        return RECT{position.x, position.y, position.x + size.cx, position.y + size.cy};
    }
};

std::unique_ptr<Caret> g_caret;

int BlinkInterval() {
    return QGuiApplication::styleHints()->cursorFlashTime() / 2;
}

// Asks the owner's widget to show the caret's area again, caret or not.
void RefreshShown() {
    CClientWidget* client = g_caret ? ClientWidgetOf(*g_caret->owner) : nullptr;
    if (client != nullptr) {
        const RECT rc = g_caret->Rect();
        client->update(rc.left, rc.top, rc.Width(), rc.Height());
    }
}

// A caret shown or moved is drawn at once; the blink starts over from there.
void RestartBlink() {
    g_caret->blinkOn = true;
    const int interval = BlinkInterval();
    if (g_caret->hideCount == 0 && interval > 0) {
        g_caret->timer->start(interval);
    } else {
        g_caret->timer->stop();
    }
    RefreshShown();
}

void ToggleBlink() {
    if (g_caret) {
        g_caret->blinkOn = !g_caret->blinkOn;
        RefreshShown();
    }
}

Caret* CaretOf(const CWnd* wnd) {
    return g_caret && g_caret->owner == wnd ? g_caret.get() : nullptr;
}

}  // namespace

bool CWnd::CreateSolidCaret(int width, int height) {
    if (!IsWindow() || width < 0 || height < 0) {
        return false;
    }
    DestroyCaret();
    g_caret = std::make_unique<Caret>();
    g_caret->owner = this;
    g_caret->size = SIZE{width, height};
    QObject::connect(g_caret->timer, &QTimer::timeout, &ToggleBlink);
    return true;
}

bool CWnd::ShowCaret() {
    Caret* caret = CaretOf(this);
    if (caret == nullptr) {
        return false;
    }
    if (caret->hideCount > 0 && --caret->hideCount == 0) {
        RestartBlink();
    }
    return true;
}

bool CWnd::HideCaret() {
    Caret* caret = CaretOf(this);
    if (caret == nullptr) {
        return false;
    }
    if (caret->hideCount++ == 0) {
        caret->timer->stop();
        RefreshShown();
    }
    return true;
}

void CWnd::SetCaretPos(POINT point) {
    if (g_caret) {
        RefreshShown();
        g_caret->position = point;
        RestartBlink();
    }
}

POINT CWnd::GetCaretPos() {
    return g_caret ? g_caret->position : POINT{};
}

void CWnd::DestroyCaret() {
    if (g_caret) {
        RefreshShown();
        g_caret.reset();
    }
}

void ForgetCaretOf(const CWnd* wnd) {
    if (CaretOf(wnd) != nullptr) {
        g_caret.reset();
    }
}

CaretInfo GetCaretInfo() {
    if (!g_caret) {
        return CaretInfo{};
    }
    return CaretInfo{g_caret->owner, g_caret->Rect(), g_caret->hideCount == 0, g_caret->blinkOn,
                     g_caret->timer->isActive() ? g_caret->timer->interval() : 0};
}

void PaintCaret(const CWnd& wnd, QPainter& painter, const QImage& surface) {
    const Caret* caret = CaretOf(&wnd);
    if (caret == nullptr || caret->hideCount > 0 || !caret->blinkOn) {
        return;
    }
    const RECT rc = caret->Rect();
    const QRect area = QRect(rc.left, rc.top, rc.Width(), rc.Height()).intersected(surface.rect());
    if (area.isEmpty()) {
        return;
    }
    // The classic solid caret inverts what is under it.
    QImage part = surface.copy(area);
    part.invertPixels();
    painter.drawImage(area.topLeft(), part);
}
