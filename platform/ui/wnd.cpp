// Windows over Qt widgets: message dispatch, the backing surface and its invalid part.
#include "platform/ui/wnd.h"

#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/com/exception_guard.h"
#include "platform/gdi/bitmap_qt.h"
#include "platform/ui/application.h"
#include "platform/ui/input_qt.h"
#include "platform/ui/tab_order.h"
#include "platform/ui/wnd_host_qt.h"
#include "platform/ui/wnd_qt.h"

namespace {

CWnd* g_capture = nullptr;

// Message handlers are the toolkit's callbacks: nothing may be thrown through them.
template <typename Handler>
void Dispatch(CWnd* owner, Handler&& handler) {
    if (owner == nullptr) {
        return;
    }
    const DispatchScope scope;
    // A failed handler leaves the window as it is.
    GuardHandler("window message handler", [&] { handler(*owner); });
}

POINT ToPoint(const QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    return POINT{p.x(), p.y()};
}

Qt::CursorShape ToQtCursor(Cursor cursor) {
    switch (cursor) {
        case Cursor::SizeWE:
            return Qt::SizeHorCursor;
        case Cursor::SizeNS:
            return Qt::SizeVerCursor;
        case Cursor::SizeAll:
            return Qt::SizeAllCursor;
        case Cursor::IBeam:
            return Qt::IBeamCursor;
        case Cursor::Wait:
            return Qt::WaitCursor;
        case Cursor::Arrow:
            break;
    }
    return Qt::ArrowCursor;
}

// The part of `area` outside `covered`, as one rectangle: `area` itself unless `covered`
// spans it across one way.
RECT Uncovered(const RECT& area, const RECT& covered) {
    if (IsRectEmpty(covered)) {
        return area;
    }
    RECT rest = area;
    if (covered.left <= area.left && covered.right >= area.right) {
        if (covered.top <= area.top) {
            rest.top = std::max(area.top, covered.bottom);
        } else if (covered.bottom >= area.bottom) {
            rest.bottom = covered.top;
        }
    } else if (covered.top <= area.top && covered.bottom >= area.bottom) {
        if (covered.left <= area.left) {
            rest.left = std::max(area.left, covered.right);
        } else if (covered.right >= area.right) {
            rest.right = covered.left;
        }
    }
    return IsRectEmpty(rest) ? RECT{} : rest;
}

bool KeepsKey(UINT dlgCode, UINT vk) {
    const bool arrow = vk == VK_LEFT || vk == VK_UP || vk == VK_RIGHT || vk == VK_DOWN;
    return (dlgCode & DLGC_WANTALLKEYS) != 0 || ((dlgCode & DLGC_WANTTAB) != 0 && vk == VK_TAB) ||
           ((dlgCode & DLGC_WANTARROWS) != 0 && arrow);
}

QRect ToQRect(const RECT& rc) {
    return QRect(rc.left, rc.top, rc.Width(), rc.Height());
}

}  // namespace

// ---- client widget ----

CClientWidget::CClientWidget(CWnd* owner, QWidget* parent) : QWidget(parent), m_owner(owner) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CClientWidget::paintEvent(QPaintEvent* /*event*/) {
    if (m_owner == nullptr) {
        return;
    }
    Dispatch(m_owner, [](CWnd& wnd) { wnd.UpdateWindow(); });
    QPainter painter(this);
    const QImage& surface = m_owner->GetBackingSurface().impl().image;
    painter.drawImage(0, 0, surface);
    PaintCaret(*m_owner, painter, surface);
}

void CClientWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Dispatch(m_owner, [this](CWnd& wnd) {
        wnd.GetBackingSurface().Resize(width(), height());
        wnd.Invalidate();
        wnd.OnSize(width(), height());
    });
}

void CClientWidget::mousePressEvent(QMouseEvent* event) {
    NoteKeyboardModifiers(event->modifiers());
    const UINT flags = MouseFlagsFromQt(event->buttons(), event->modifiers());
    const POINT point = ToPoint(event);
    const Qt::MouseButton button = event->button();
    Dispatch(m_owner, [&](CWnd& wnd) {
        if (button == Qt::LeftButton) {
            wnd.OnLButtonDown(flags, point);
        } else if (button == Qt::RightButton) {
            wnd.OnRButtonDown(flags, point);
        }
    });
}

void CClientWidget::mouseReleaseEvent(QMouseEvent* event) {
    NoteKeyboardModifiers(event->modifiers());
    const UINT flags = MouseFlagsFromQt(event->buttons(), event->modifiers());
    const POINT point = ToPoint(event);
    const Qt::MouseButton button = event->button();
    Dispatch(m_owner, [&](CWnd& wnd) {
        if (button == Qt::LeftButton) {
            wnd.OnLButtonUp(flags, point);
        } else if (button == Qt::RightButton) {
            wnd.OnRButtonUp(flags, point);
        }
    });
}

void CClientWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (m_owner == nullptr || !m_owner->WantsDoubleClicks() || event->button() != Qt::LeftButton) {
        mousePressEvent(event);
        return;
    }
    NoteKeyboardModifiers(event->modifiers());
    const UINT flags = MouseFlagsFromQt(event->buttons(), event->modifiers());
    const POINT point = ToPoint(event);
    Dispatch(m_owner, [&](CWnd& wnd) { wnd.OnLButtonDblClk(flags, point); });
}

void CClientWidget::mouseMoveEvent(QMouseEvent* event) {
    NoteKeyboardModifiers(event->modifiers());
    const UINT flags = MouseFlagsFromQt(event->buttons(), event->modifiers());
    const POINT point = ToPoint(event);
    Dispatch(m_owner, [&](CWnd& wnd) { wnd.OnMouseMove(flags, point); });
}

void CClientWidget::keyPressEvent(QKeyEvent* event) {
    NoteKeyboardModifiers(event->modifiers());
    const UINT vk = VirtualKeyFromQt(event->key());
    const UINT modifiers = ModifiersFromQt(event->modifiers());
    const UINT repeat = event->isAutoRepeat() ? 1 : 0;
    const QString text = event->text();
    Dispatch(m_owner, [&](CWnd& wnd) {
        const bool kept = KeepsKey(wnd.OnGetDlgCode(), vk);
        for (CWnd* w = &wnd; w != nullptr; w = kept ? nullptr : w->GetParent()) {
            if (vk != 0 && w->PreTranslateKey(vk, modifiers)) {
                return;
            }
        }
        if (vk != 0) {
            wnd.OnKeyDown(vk, 1, repeat << 14);
        }
        for (const char32_t ch : text.toUcs4()) {
            wnd.OnChar(static_cast<UINT>(ch), 1, 0);
        }
    });
}

void CClientWidget::keyReleaseEvent(QKeyEvent* event) {
    NoteKeyboardModifiers(event->modifiers());
    const UINT vk = VirtualKeyFromQt(event->key());
    if (vk != 0) {
        Dispatch(m_owner, [vk](CWnd& wnd) { wnd.OnKeyUp(vk, 1, 0); });
    }
}

void CClientWidget::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    Dispatch(m_owner, [](CWnd& wnd) { wnd.OnSetFocus(); });
}

void CClientWidget::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    Dispatch(m_owner, [](CWnd& wnd) { wnd.OnKillFocus(); });
}

bool CClientWidget::focusNextPrevChild(bool /*next*/) {
    return false;
}

// ---- host ----

namespace {
int g_dispatchDepth = 0;

void DeleteWidget(QWidget* widget) {
    if (widget == nullptr) {
        return;
    }
    if (DispatchScope::Active()) {
        widget->deleteLater();
    } else {
        std::unique_ptr<QWidget> owned(widget);
    }
}
}  // namespace

DispatchScope::DispatchScope() {
    ++g_dispatchDepth;
}
DispatchScope::~DispatchScope() {
    --g_dispatchDepth;
}
bool DispatchScope::Active() {
    return g_dispatchDepth > 0;
}

CWnd::Host::Host(CWnd* owner, QWidget* parentWidget)
    : outer(nullptr),
      client(new CClientWidget(owner, parentWidget)),  // NOLINT(cppcoreguidelines-owning-memory)
      surface(1, 1),
      ownsOuter(parentWidget == nullptr) {
    outer = client.data();
}

CWnd::Host::Host(CWnd* owner, std::unique_ptr<QWidget> frame)
    : outer(frame.get()),
      client(new CClientWidget(owner, frame.get())),  // NOLINT(cppcoreguidelines-owning-memory)
      surface(1, 1),
      ownsOuter(true) {
    static_cast<void>(frame.release());  // owned through `outer` from here on
}

CWnd::Host::~Host() {
    if (client) {
        client->Detach();
    }
    if (outer) {
        outer->hide();
    }
    DeleteWidget(ownsOuter ? outer.data() : client.data());
}

CClientWidget* ClientWidgetOf(const CWnd& wnd) {
    return wnd.GetHost() ? wnd.GetHost()->client.data() : nullptr;
}

QWidget* QtWidgetOf(CWnd* wnd) {
    if (wnd == nullptr || wnd->GetHost() == nullptr) {
        return nullptr;
    }
    CWnd* top = wnd->GetTopLevel();
    return top->GetHost() ? top->GetHost()->Outer() : nullptr;
}

// ---- window ----

CWnd::CWnd() = default;

CWnd::~CWnd() {
    if (g_capture == this) {
        g_capture = nullptr;
    }
    ForgetCaretOf(this);
    LeaveParent();
    for (CWnd* child : m_children) {
        child->m_parent = nullptr;
    }
}

void CWnd::LeaveParent() {
    if (m_parent != nullptr) {
        std::erase(m_parent->m_children, this);
    }
}

bool CWnd::Create(CWnd* parent, const RECT& rect, UINT id, UINT style) {
    m_style = style;
    QWidget* parentWidget = parent ? ClientWidgetOf(*parent) : nullptr;
    AttachHost(std::make_unique<Host>(this, parentWidget), parent, id);
    m_host->client->setGeometry(rect.left, rect.top, rect.right - rect.left,
                                rect.bottom - rect.top);
    if (!FinishCreate()) {
        return false;
    }
    if (style & WS_VISIBLE) {
        ShowWindow(SW_SHOW);
    }
    return true;
}

bool CWnd::CreateEx(UINT exStyle, UINT style, const RECT& rect, CWnd* owner, UINT id) {
    if ((style & WS_POPUP) == 0) {
        return Create(owner, rect, id, style);
    }
    m_style = style;
    Qt::WindowFlags flags = Qt::Tool | Qt::FramelessWindowHint;
    if (exStyle & WS_EX_TOPMOST) {
        flags |= Qt::WindowStaysOnTopHint;
    }
    auto frame = std::make_unique<QFrame>(QtWidgetOf(owner), flags);
    const int border = (style & WS_BORDER) != 0 ? 1 : 0;
    if (border != 0) {
        frame->setFrameStyle(QFrame::Box | QFrame::Plain);
        frame->setLineWidth(border);
        QPalette palette = frame->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        frame->setPalette(palette);
    }
    // The frame's line already insets the layout's contents.
    auto* layout = new QVBoxLayout(frame.get());  // NOLINT(cppcoreguidelines-owning-memory)
    layout->setContentsMargins(0, 0, 0, 0);
    frame->setGeometry(ToQRect(rect));
    auto host = std::make_unique<Host>(this, std::move(frame));
    layout->addWidget(host->client);
    host->client->setGeometry(border, border, std::max(rect.Width() - 2 * border, 0),
                              std::max(rect.Height() - 2 * border, 0));
    AttachHost(std::move(host), nullptr, id);
    m_owner = owner;
    if (!FinishCreate()) {
        return false;
    }
    if (style & WS_VISIBLE) {
        ShowWindow(SW_SHOW);
    }
    return true;
}

void CWnd::AttachHost(std::unique_ptr<Host> host, CWnd* parent, UINT id) {
    m_host = std::move(host);
    LeaveParent();
    m_parent = parent;
    if (parent != nullptr) {
        parent->m_children.push_back(this);
    }
    m_id = id;
    const QSize size = m_host->client->size();
    m_host->surface.Resize(std::max(size.width(), 1), std::max(size.height(), 1));
    m_invalid = GetClientRect();
}

bool CWnd::FinishCreate() {
    int result = -1;
    Dispatch(this, [&result](CWnd& wnd) { result = wnd.OnCreate(); });
    if (result == -1) {
        m_host.reset();
        LeaveParent();
        return false;
    }
    return true;
}

void CWnd::DestroyWindow() {
    if (!m_host || m_destroying) {
        return;
    }
    m_destroying = true;
    Dispatch(this, [](CWnd& wnd) { wnd.OnDestroy(); });
    if (g_capture == this) {
        g_capture = nullptr;
    }
    ForgetCaretOf(this);
    LeaveParent();
    m_host.reset();
    m_destroying = false;
    NoteWindowDestroyed(this);
}

bool CWnd::IsWindow() const {
    return m_host != nullptr && m_host->client;
}

CWnd* CWnd::GetTopLevel() {
    CWnd* wnd = this;
    while (wnd->m_parent != nullptr) {
        wnd = wnd->m_parent;
    }
    return wnd;
}

void CWnd::OnPaint(CDC& /*dc*/) {}

RECT CWnd::GetClientRect() const {
    if (!IsWindow()) {
        return RECT{};
    }
    const QSize size = m_host->client->size();
    return RECT{0, 0, size.width(), size.height()};
}

RECT CWnd::GetWindowRect() const {
    if (!IsWindow()) {
        return RECT{};
    }
    const QRect r = m_host->Outer()->geometry();
    return RECT{r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
}

void CWnd::MoveWindow(const RECT& rc) {
    if (IsWindow()) {
        m_host->Outer()->setGeometry(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    }
}

void CWnd::ClientToScreen(POINT& point) const {
    if (IsWindow()) {
        const QPoint p = m_host->client->mapToGlobal(QPoint(point.x, point.y));
        point = POINT{p.x(), p.y()};
    }
}

void CWnd::ScreenToClient(POINT& point) const {
    if (IsWindow()) {
        const QPoint p = m_host->client->mapFromGlobal(QPoint(point.x, point.y));
        point = POINT{p.x(), p.y()};
    }
}

void CWnd::ShowWindow(int command) {
    if (!IsWindow()) {
        return;
    }
    QWidget* outer = m_host->Outer();
    if (command == SW_HIDE) {
        outer->hide();
    } else if (command == SW_SHOWMAXIMIZED) {
        outer->showMaximized();
    } else {
        outer->show();
    }
}

bool CWnd::IsWindowVisible() const {
    return IsWindow() && m_host->Outer()->isVisible();
}

void CWnd::InvalidateRect(const RECT* rc, bool /*erase*/) {
    RECT area = GetClientRect();
    if (rc != nullptr && !IntersectRect(area, area, *rc)) {
        return;
    }
    UnionRect(m_invalid, m_invalid, area);
    if (IsWindow()) {
        m_host->client->update(area.left, area.top, area.Width(), area.Height());
    }
}

void CWnd::ValidateRect(const RECT* rc) {
    if (rc == nullptr) {
        m_invalid = RECT{};
        return;
    }
    RECT inside{};
    if (IntersectRect(inside, m_invalid, *rc) && inside == m_invalid) {
        m_invalid = RECT{};
    }
}

void CWnd::UpdateWindow() {
    if (!IsWindow() || IsRectEmpty(m_invalid)) {
        return;
    }
    PaintInvalid();
}

void CWnd::PaintInvalid() {
    const RECT area = m_invalid;
    m_invalid = RECT{};
    auto dc = CreateBitmapDC(m_host->surface);
    dc->SetClipRect(area);
    OnPaint(*dc);
    dc.reset();
    m_host->client->update(area.left, area.top, area.Width(), area.Height());
}

bool CWnd::RedrawWindow(const RECT* rc, UINT flags) {
    if (!IsWindow()) {
        return false;
    }
    if (flags & RDW_INVALIDATE) {
        InvalidateRect(rc, (flags & RDW_ERASE) != 0);
    }
    if (flags & RDW_VALIDATE) {
        ValidateRect(rc);
    }
    if (flags & RDW_UPDATENOW) {
        UpdateWindow();
    }
    return true;
}

void CWnd::ScrollWindow(int dx, int dy, const RECT* scrollRect, const RECT* clipRect) {
    const RECT client = GetClientRect();
    RECT clip = client;
    RECT area = client;
    if ((clipRect != nullptr && !IntersectRect(clip, client, *clipRect)) ||
        (scrollRect != nullptr && !IntersectRect(area, client, *scrollRect)) ||
        !IntersectRect(area, area, clip)) {
        return;
    }
    RECT moved = area;
    OffsetRect(moved, dx, dy);
    RECT target{};
    IntersectRect(target, moved, clip);
    if (!IsRectEmpty(target)) {
        QImage& image = m_host->surface.impl().image;
        const QImage pixels = image.copy(ToQRect(area));
        QPainter painter(&image);
        painter.setClipRect(ToQRect(target));
        painter.drawImage(moved.left, moved.top, pixels);
    }
    RECT pending{};
    if (IntersectRect(pending, m_invalid, area)) {
        OffsetRect(pending, dx, dy);
        if (IntersectRect(pending, pending, clip)) {
            InvalidateRect(&pending);
        }
    }
    const RECT uncovered = Uncovered(area, target);
    if (!IsRectEmpty(uncovered)) {
        InvalidateRect(&uncovered);
    }
    m_host->client->update(ToQRect(area));
}

CBitmap& CWnd::GetBackingSurface() {
    if (!m_host) {
        static CBitmap none(1, 1);
        return none;
    }
    return m_host->surface;
}

void CWnd::FlushSurface() {
    if (IsWindow()) {
        m_host->client->update();
    }
}

void CWnd::SetWindowText(const std::string& text) {
    if (IsWindow()) {
        m_host->Outer()->setWindowTitle(QString::fromStdString(text));
    }
}

std::string CWnd::GetWindowText() const {
    return IsWindow() ? m_host->Outer()->windowTitle().toStdString() : std::string();
}

void CWnd::SetCapture() {
    g_capture = this;
}

void CWnd::ReleaseCapture() {
    if (g_capture == this) {
        g_capture = nullptr;
    }
}

bool CWnd::HasCapture() const {
    return g_capture == this;
}

CWnd* GetCapture() {
    return g_capture;
}

void CWnd::SetCursor(Cursor cursor) {
    m_cursor = cursor;
    if (IsWindow()) {
        m_host->client->setCursor(ToQtCursor(cursor));
    }
}

void CWnd::SetFocus() {
    if (!IsWindow()) {
        return;
    }
    // Keys reach only the active top-level window: a pop-up that takes the focus becomes it,
    // as the focus call of the classic desktop makes it.
    QWidget* top = m_host->client->window();
    if (!top->isActiveWindow()) {
        top->activateWindow();
    }
    m_host->client->setFocus(Qt::OtherFocusReason);
}

bool CWnd::HasFocus() const {
    return IsWindow() && m_host->client->hasFocus();
}

CWnd* CWnd::GetNextDlgTabItem(CWnd* control, bool previous) const {
    if (!IsWindow()) {
        return nullptr;
    }
    const auto current = std::find(m_children.begin(), m_children.end(), control);
    const int from =
        current == m_children.end() ? -1 : static_cast<int>(current - m_children.begin());
    const int next =
        NextTabStop(static_cast<int>(m_children.size()), from, !previous, [this](int index) {
            const CWnd& child = *m_children[static_cast<size_t>(index)];
            return (child.m_style & WS_TABSTOP) != 0 && child.IsWindow() &&
                   child.m_host->Outer()->isVisibleTo(m_host->client) &&
                   child.m_host->Outer()->isEnabled();
        });
    return next < 0 ? nullptr : m_children[static_cast<size_t>(next)];
}

void CWnd::FocusNextTabItem(bool previous) {
    if (m_parent == nullptr) {
        return;
    }
    CWnd* const next = m_parent->GetNextDlgTabItem(this, previous);
    if (next != nullptr && next != this) {
        next->SetFocus();
    } else {
        m_parent->OnTabOut(previous);
    }
}

bool CWnd::SendCommand(UINT id) {
    for (CWnd* wnd = this; wnd != nullptr; wnd = wnd->m_parent) {
        if (wnd->ExecuteCommand(id)) {
            return true;
        }
    }
    return false;
}

int GetSystemMetrics(int index) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return 0;
    }
    const QRect geometry = screen->geometry();
    switch (index) {
        case SM_CXSCREEN:
            return geometry.width();
        case SM_CYSCREEN:
            return geometry.height();
        default:
            return 0;
    }
}

CClientDC::CClientDC(CWnd* wnd) : m_wnd(wnd), m_dc(CreateBitmapDC(wnd->GetBackingSurface())) {}

CClientDC::~CClientDC() {
    m_dc.reset();
    m_wnd->FlushSurface();
}
