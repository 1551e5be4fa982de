// The host's container window and the controls inserted into it.
#include "tools/qorhost/control_host.h"

#include <algorithm>

namespace {

// The classic dialog face colour, so that controls stand out as they would on a form.
constexpr COLORREF kAreaColor = RGB(192, 192, 192);
constexpr int kAreaMargin = 8;

}  // namespace

void CHostArea::AddButton(HostButton button) {
    const RECT rect = button.rect;
    m_buttons.push_back(std::move(button));
    InvalidateRect(&rect);
}

void CHostArea::OnPaint(CDC& dc) {
    dc.FillSolidRect(GetClientRect(), kAreaColor);
    dc.SetBkMode(TRANSPARENT);
    for (const HostButton& button : m_buttons) {
        RECT face = button.rect;
        dc.DrawFrameControl(face, DFC_BUTTON, DFCS_BUTTONPUSH);
        dc.DrawText(button.label, face, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

void CHostArea::OnLButtonDown(UINT /*flags*/, POINT point) {
    for (const HostButton& button : m_buttons) {
        if (PtInRect(button.rect, point)) {
            // A copy: the function may add buttons.
            const std::function<void()> press = button.press;
            press();
            return;
        }
    }
}

CControlHost::~CControlHost() {
    m_sites.clear();
    m_area.DestroyWindow();
}

bool CControlHost::CreateArea(const std::string& title, SIZE size) {
    if (!m_area.Create(nullptr, RECT{0, 0, size.cx, size.cy})) {
        return false;
    }
    m_area.SetWindowText(title);
    return true;
}

CallOutcome CControlHost::InsertControl(std::string_view progId, const RECT& rect,
                                        CControlSite*& site) {
    site = nullptr;
    GrowToFit(rect);
    std::unique_ptr<CControlSite> inserted;
    CallOutcome outcome = CControlSite::Insert(progId, m_area, rect, inserted);
    if (outcome.Succeeded()) {
        site = inserted.get();
        m_sites.push_back(std::move(inserted));
    }
    return outcome;
}

void CControlHost::AddButton(HostButton button) {
    GrowToFit(button.rect);
    m_area.AddButton(std::move(button));
}

CControlSite* CControlHost::FindSite(IUnknown* object) const {
    const auto found = std::find_if(m_sites.begin(), m_sites.end(),
                                    [object](const auto& site) { return site->Holds(object); });
    return found != m_sites.end() ? found->get() : nullptr;
}

void CControlHost::RemoveControl(const CControlSite& site) {
    std::erase_if(m_sites, [&site](const auto& held) { return held.get() == &site; });
}

void CControlHost::GrowToFit(const RECT& rect) {
    const RECT area = m_area.GetWindowRect();
    const int width = std::max(area.Width(), rect.right + kAreaMargin);
    const int height = std::max(area.Height(), rect.bottom + kAreaMargin);
    if (width != area.Width() || height != area.Height()) {
        m_area.MoveWindow(RECT{area.left, area.top, area.left + width, area.top + height});
    }
}
