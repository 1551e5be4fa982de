// Editing on the canvas: placing items with a tool, selecting, moving and resizing them with
// the mouse, and nudging them with the arrow keys.
#include <algorithm>

#include "designer/main_frame.h"

namespace {

bool IsTextOrColumn(const DesignItem& item) {
    return item.kind == kStaticText || item.kind == kColumn;
}

// Collects the rectangles that an edit changed, so that one repaint covers them all.
class DamagedArea {
  public:
    void Add(const RECT& rect) { UnionRect(m_area, m_area, rect); }
    const RECT& Area() const { return m_area; }

  private:
    RECT m_area{};
};

void SetSelected(DesignItem& item, bool selected, DamagedArea& damage) {
    if (item.selected != selected) {
        item.selected = selected;
        damage.Add(item.rect);
    }
}

RECT SpannedRect(POINT a, POINT b) {
    return RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

}  // namespace

int CMainFrame::HitTest(POINT point) const {
    const auto& items = m_design.Items();
    for (size_t i = 0; i < items.size(); ++i) {
        if (PtInRect(items[i].rect, point)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void CMainFrame::RepaintRect(const RECT& area) {
    if (IsRectEmpty(area)) {
        return;
    }
    CClientDC dc(this);
    PaintDesign(*dc, area);
}

void CMainFrame::ArmTool(int kind) {
    m_placementTool = kind;
    DamagedArea damage;
    for (DesignItem& item : m_design.Items()) {
        SetSelected(item, false, damage);
    }
    RepaintRect(damage.Area());
}

void CMainFrame::OnLButtonDown(UINT flags, POINT point) {
    if (m_previewMode) {
        ChooseFieldAt(point);
        return;
    }
    m_resizing = false;
    m_resizeEdge = ItemEdge::None;
    m_moving = false;
    m_bandSelecting = false;
    SetCapture();
    if (m_placementTool != 0) {
        PlaceItem(point);
    } else {
        for (DesignItem& item : m_design.Items()) {
            item.resizeTarget = false;
        }
        const int hit = HitTest(point);
        if (hit >= 0) {
            StartResizeOrMove(hit, flags, point);
        } else {
            StartBandSelection(point);
        }
    }
    m_lastPoint = point;
}

void CMainFrame::PlaceItem(POINT point) {
    const auto& items = m_design.Items();
    const bool insideText = std::any_of(items.begin(), items.end(), [&](const DesignItem& item) {
        return IsTextOrColumn(item) && PtInRect(item.rect, point);
    });
    if (insideText) {
        return;
    }
    DesignItem item =
        NewPlacedItem(static_cast<ItemKind>(m_placementTool), point, GetClientRect(), m_design);
    const RECT area = item.rect;
    m_design.Insert(std::move(item));
    RepaintRect(area);
    m_placementTool = 0;
}

void CMainFrame::StartResizeOrMove(int index, UINT flags, POINT point) {
    auto& items = m_design.Items();
    DesignItem& hit = items[static_cast<size_t>(index)];
    const ItemEdge edge = ResizeEdgeAt(hit, point);
    if (edge != ItemEdge::None) {
        m_resizing = true;
        m_resizeEdge = edge;
        hit.resizeTarget = true;
        return;
    }
    m_moving = true;
    DamagedArea damage;
    if ((flags & MK_CONTROL) != 0) {
        SetSelected(hit, !hit.selected, damage);
    } else if (!hit.selected) {
        // A press on a selected item keeps the whole selection, so that it moves as a group.
        for (DesignItem& item : items) {
            SetSelected(item, &item == &hit, damage);
        }
    }
    RepaintRect(damage.Area());
}

void CMainFrame::StartBandSelection(POINT point) {
    m_bandSelecting = true;
    m_bandAnchor = point;
    DamagedArea damage;
    for (DesignItem& item : m_design.Items()) {
        SetSelected(item, false, damage);
    }
    RepaintRect(damage.Area());
}

void CMainFrame::OnMouseMove(UINT /*flags*/, POINT point) {
    if (m_previewMode) {
        return;
    }
    if (m_resizing) {
        ResizeTarget(point);
    } else if (m_moving) {
        MoveSelection(point);
    } else {
        UpdateCursor(point);
    }
    m_lastPoint = point;
}

void CMainFrame::ResizeTarget(POINT point) {
    auto& items = m_design.Items();
    const auto target = std::find_if(items.begin(), items.end(),
                                     [](const DesignItem& item) { return item.resizeTarget; });
    if (target == items.end()) {
        return;
    }
    DamagedArea damage;
    damage.Add(target->rect);
    DragEdge(target->rect, m_resizeEdge, point, GetClientRect());
    damage.Add(target->rect);
    RepaintRect(damage.Area());
}

void CMainFrame::MoveSelection(POINT point) {
    const RECT client = GetClientRect();
    const int dx = point.x - m_lastPoint.x;
    const int dy = point.y - m_lastPoint.y;
    DamagedArea damage;
    for (DesignItem& item : m_design.Items()) {
        if (item.selected) {
            damage.Add(item.rect);
            MoveClamped(item.rect, dx, dy, client);
            damage.Add(item.rect);
        }
    }
    RepaintRect(damage.Area());
}

void CMainFrame::UpdateCursor(POINT point) {
    const int hit = HitTest(point);
    if (hit < 0) {
        SetCursor(IDC_ARROW);
        return;
    }
    const DesignItem& item = m_design.Items()[static_cast<size_t>(hit)];
    const bool sideZone =
        InHandleZone(item, ItemEdge::Right, point) || InHandleZone(item, ItemEdge::Left, point);
    const bool endZone =
        InHandleZone(item, ItemEdge::Bottom, point) || InHandleZone(item, ItemEdge::Top, point);
    if (item.kind == kVerticalLine) {
        SetCursor(endZone ? IDC_SIZENS : IDC_SIZEWE);
    } else if (sideZone) {
        SetCursor(IDC_SIZEWE);
    } else if (endZone) {
        SetCursor(IDC_SIZENS);
    } else {
        SetCursor(IDC_SIZEALL);
    }
}

void CMainFrame::OnLButtonUp(UINT /*flags*/, POINT point) {
    if (m_previewMode) {
        return;
    }
    if (m_bandSelecting) {
        FinishBandSelection(point);
    }
    m_placementTool = 0;
    m_resizing = false;
    m_resizeEdge = ItemEdge::None;
    m_moving = false;
    m_bandSelecting = false;
    for (DesignItem& item : m_design.Items()) {
        item.resizeTarget = false;
    }
    ReleaseCapture();
}

void CMainFrame::FinishBandSelection(POINT point) {
    const RECT band = SpannedRect(m_bandAnchor, point);
    DamagedArea damage;
    for (DesignItem& item : m_design.Items()) {
        RECT common;
        SetSelected(item, IntersectRect(common, band, item.rect), damage);
    }
    RepaintRect(damage.Area());
}

void CMainFrame::OnKeyDown(UINT vk, UINT /*repeat*/, UINT /*flags*/) {
    if (m_previewMode) {
        PreviewKeyDown(vk);
        return;
    }
    if (vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN) {
        NudgeSelection(vk, GetKeyState(VK_SHIFT) < 0);
    }
}

void CMainFrame::NudgeSelection(UINT vk, bool resize) {
    const RECT client = GetClientRect();
    auto& items = m_design.Items();
    // Each key acts on all selected items or on none: one item at a limit stops the group.
    const auto allowed = [&](const DesignItem& item) {
        const RECT& r = item.rect;
        switch (vk) {
            case VK_LEFT:
                return resize ? r.right - r.left >= 4 : r.left >= 1;
            case VK_UP:
                return resize ? r.bottom - r.top >= 4 : r.top >= 1;
            case VK_RIGHT:
                return resize ? r.right + 1 <= client.right : r.right < client.right;
            default:
                return resize ? r.bottom + 1 <= client.bottom : r.bottom < client.bottom;
        }
    };
    if (!std::all_of(items.begin(), items.end(),
                     [&](const DesignItem& item) { return !item.selected || allowed(item); })) {
        return;
    }
    const int dx = vk == VK_LEFT ? -1 : (vk == VK_RIGHT ? 1 : 0);
    const int dy = vk == VK_UP ? -1 : (vk == VK_DOWN ? 1 : 0);
    DamagedArea damage;
    for (DesignItem& item : items) {
        if (!item.selected) {
            continue;
        }
        damage.Add(item.rect);
        item.rect.right += dx;
        item.rect.bottom += dy;
        if (!resize) {
            item.rect.left += dx;
            item.rect.top += dy;
        }
        damage.Add(item.rect);
    }
    RepaintRect(damage.Area());
}
