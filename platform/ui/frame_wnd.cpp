// Frame windows over a Qt main window: creation, menus with their enable rules, accelerators.
#include "platform/ui/frame_wnd.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenuBar>
#include <memory>

#include "platform/ui/frame_host_qt.h"
#include "platform/ui/wnd_host_qt.h"

bool CFrameWnd::LoadFrame(UINT resourceId, UINT style, CWnd* parent) {
    m_title = LoadStringResource(resourceId);
    m_style = style;
    m_accelerators = FindAcceleratorResource(resourceId);
    CREATESTRUCT cs;
    cs.style = style;
    cs.cx = 640;
    cs.cy = 480;
    if (!PreCreateWindow(cs)) {
        return false;
    }
    auto mainWindow = std::make_unique<CFrameMainWindow>();
    CFrameMainWindow* window = mainWindow.get();
    if (const MenuResource* menu = FindMenuResource(resourceId)) {
        window->BuildMenuBar(*menu);
    }
    auto host = std::make_unique<Host>(this, std::move(mainWindow));
    window->setCentralWidget(host->client.data());
    AttachHost(std::move(host), parent, 0);
    window->move(cs.x, cs.y);
    window->resize(cs.cx, cs.cy);
    ApplySizeLimits();
    if (!FinishCreate()) {
        return false;
    }
    OnUpdateFrameTitle();
    return true;
}

void CFrameWnd::OnUpdateFrameTitle() {
    if (m_style & FWS_ADDTOTITLE) {
        SetWindowText(m_title);
    }
}

void CFrameWnd::ApplySizeLimits() {
    QWidget* outer = IsWindow() ? GetHost()->Outer() : nullptr;
    if (outer == nullptr) {
        return;
    }
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    MINMAXINFO info{};
    info.ptMaxSize = POINT{screenWidth, screenHeight};
    info.ptMaxTrackSize = POINT{QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
    info.ptMinTrackSize = POINT{1, 1};
    OnGetMinMaxInfo(info);
    // Qt has one maximum for maximised and dragged sizes; the smaller of the two holds both.
    outer->setMaximumSize(std::min(info.ptMaxSize.x, info.ptMaxTrackSize.x),
                          std::min(info.ptMaxSize.y, info.ptMaxTrackSize.y));
    outer->setMinimumSize(info.ptMinTrackSize.x, info.ptMinTrackSize.y);
}

bool CFrameWnd::PreTranslateKey(UINT vk, UINT modifiers) {
    if (m_accelerators == nullptr) {
        return false;
    }
    const std::optional<UINT> command = FindAccelerator(*m_accelerators, vk, modifiers);
    if (!command) {
        return false;
    }
    SendCommand(*command);
    return true;
}

std::string AfxRegisterWndClass(UINT classStyle, int cursor, int brush, int icon) {
    return "QorWnd:" + std::to_string(classStyle) + ":" + std::to_string(cursor) + ":" +
           std::to_string(brush) + ":" + std::to_string(icon);
}

// ---- main window ----

void CFrameMainWindow::BuildMenuBar(const MenuResource& menu) {
    for (const MenuItemResource& top : menu) {
        QMenu* popup = menuBar()->addMenu(QString::fromStdString(top.text));
        FillMenu(*popup, top.items);
    }
}

void CFrameMainWindow::FillMenu(QMenu& menu, const std::vector<MenuItemResource>& items) {
    for (const MenuItemResource& item : items) {
        if (item.separator) {
            menu.addSeparator();
        } else if (!item.items.empty()) {
            FillMenu(*menu.addMenu(QString::fromStdString(item.text)), item.items);
        } else {
            QAction* action = menu.addAction(QString::fromStdString(item.text));
            action->setData(QVariant::fromValue(item.id));
            const UINT id = item.id;
            QObject::connect(action, &QAction::triggered, this, [this, id] {
                const DispatchScope scope;
                if (CFrameWnd* frame = Frame()) {
                    frame->SendCommand(id);
                }
            });
        }
    }
    QObject::connect(&menu, &QMenu::aboutToShow, this, [this, &menu] { UpdateMenu(menu); });
}

void CFrameMainWindow::UpdateMenu(QMenu& menu) {
    CFrameWnd* frame = Frame();
    if (frame == nullptr) {
        return;
    }
    for (QAction* action : menu.actions()) {
        const UINT id = CommandIdOf(*action);
        if (id == 0) {
            continue;
        }
        const CCmdUI state = frame->QueryCommand(id);
        action->setEnabled(state.IsEnabled());
        action->setCheckable(state.Checked().has_value());
        action->setChecked(state.Checked().value_or(false));
        if (state.Text()) {
            action->setText(QString::fromStdString(*state.Text()));
        }
        action->setVisible(!state.Text() || !state.Text()->empty());
    }
}

void CFrameMainWindow::closeEvent(QCloseEvent* event) {
    // The frame decides: its close handler destroys the window, which ends the program when
    // it is the main window.
    event->ignore();
    const DispatchScope scope;
    if (CFrameWnd* frame = Frame()) {
        frame->OnClose();
    }
}

CFrameWnd* CFrameMainWindow::Frame() const {
    const auto* client = dynamic_cast<const CClientWidget*>(centralWidget());
    return client ? dynamic_cast<CFrameWnd*>(client->Owner()) : nullptr;
}

UINT CommandIdOf(const QAction& action) {
    return action.data().isValid() ? action.data().value<UINT>() : 0;
}
