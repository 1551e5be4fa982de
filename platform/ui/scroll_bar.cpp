// The scroll-bar child window: drawing of its arrows and trough, and the commands its presses
// and its context menu send to the parent.
#include "platform/ui/scroll_bar.h"

#include <algorithm>
#include <array>

#include "platform/dialogs/dialog_service.h"

namespace {

constexpr COLORREF kTroughColor = 0x00E0E0E0;

struct MenuCommand {
    const char* text;
    UINT id;
    UINT code;
};

// The desktop's scroll-bar menu, without the entries that need a thumb; 0 marks a separator.
constexpr std::array<MenuCommand, 8> kMenuCommands{{
    {"Top", CScrollBar::ID_SCROLL_TOP, SB_TOP},
    {"Bottom", CScrollBar::ID_SCROLL_BOTTOM, SB_BOTTOM},
    {nullptr, 0, 0},
    {"Page Up", CScrollBar::ID_SCROLL_PAGEUP, SB_PAGEUP},
    {"Page Down", CScrollBar::ID_SCROLL_PAGEDOWN, SB_PAGEDOWN},
    {nullptr, 0, 0},
    {"Scroll Up", CScrollBar::ID_SCROLL_LINEUP, SB_LINEUP},
    {"Scroll Down", CScrollBar::ID_SCROLL_LINEDOWN, SB_LINEDOWN},
}};

bool Contains(const RECT& rc, POINT point) {
    return point.x >= rc.left && point.x < rc.right && point.y >= rc.top && point.y < rc.bottom;
}

}  // namespace

CScrollBar::CScrollBar() {
    for (const MenuCommand& command : kMenuCommands) {
        if (command.text != nullptr) {
            const UINT code = command.code;
            OnCommandId(command.id, [this, code] { Send(code); });
        }
    }
}

bool CScrollBar::Create(UINT style, const RECT& rect, CWnd* parent, UINT id) {
    if ((style & SBS_VERT) == 0) {
        return false;
    }
    return CWnd::Create(parent, rect, id, style);
}

int CScrollBar::ArrowHeight() const {
    const RECT client = GetClientRect();
    return std::min(client.Width(), client.Height() / 2);
}

RECT CScrollBar::UpArrowRect() const {
    const RECT client = GetClientRect();
    return RECT{0, 0, client.Width(), ArrowHeight()};
}

RECT CScrollBar::DownArrowRect() const {
    const RECT client = GetClientRect();
    return RECT{0, client.Height() - ArrowHeight(), client.Width(), client.Height()};
}

RECT CScrollBar::TroughRect() const {
    const RECT client = GetClientRect();
    return RECT{0, ArrowHeight(), client.Width(), client.Height() - ArrowHeight()};
}

void CScrollBar::OnPaint(CDC& dc) {
    dc.FillSolidRect(TroughRect(), kTroughColor);
    RECT up = UpArrowRect();
    dc.DrawFrameControl(up, DFC_SCROLL, DFCS_SCROLLUP | (m_pressedArrow < 0 ? DFCS_PUSHED : 0));
    RECT down = DownArrowRect();
    dc.DrawFrameControl(down, DFC_SCROLL, DFCS_SCROLLDOWN | (m_pressedArrow > 0 ? DFCS_PUSHED : 0));
}

void CScrollBar::OnLButtonDown(UINT /*flags*/, POINT point) {
    if (Contains(UpArrowRect(), point)) {
        m_pressedArrow = -1;
        Invalidate();
        Send(SB_LINEUP);
    } else if (Contains(DownArrowRect(), point)) {
        m_pressedArrow = 1;
        Invalidate();
        Send(SB_LINEDOWN);
    } else if (Contains(TroughRect(), point)) {
        const RECT trough = TroughRect();
        Send(point.y < (trough.top + trough.bottom) / 2 ? SB_PAGEUP : SB_PAGEDOWN);
    }
}

void CScrollBar::OnLButtonUp(UINT /*flags*/, POINT /*point*/) {
    if (m_pressedArrow != 0) {
        m_pressedArrow = 0;
        Invalidate();
        Send(SB_ENDSCROLL);
    }
}

void CScrollBar::OnRButtonUp(UINT /*flags*/, POINT point) {
    MenuItemResource popup = MenuItemResource::Popup({}, {});
    for (const MenuCommand& command : kMenuCommands) {
        popup.items.push_back(command.text == nullptr
                                  ? MenuItemResource::Separator()
                                  : MenuItemResource::Item(command.text, command.id));
    }
    ClientToScreen(point);
    const std::optional<UINT> chosen =
        DialogService().PopupMenu(this, popup, point, TPM_RIGHTBUTTON | TPM_RETURNCMD);
    if (chosen) {
        ExecuteCommand(*chosen);
    }
}

void CScrollBar::Send(UINT code) {
    if (auto* target = dynamic_cast<CVScrollTarget*>(GetParent())) {
        target->OnVScroll(code, 0, this);
    }
}
