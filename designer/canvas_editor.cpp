// Editing on the canvas: placing items with a tool, selecting, moving and resizing them with
// the mouse, and nudging them with the arrow keys, each change one step of the history.
#include "designer/canvas_editor.h"

#include <algorithm>

namespace {

bool IsTextOrColumn(const DesignItem& item) {
    return item.kind == kStaticText || item.kind == kColumn;
}

RECT SpannedRect(POINT a, POINT b) {
    return RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

}  // namespace

CCanvasEditor::CCanvasEditor(CDesignDocument& document, ICanvasWindow& canvas)
    : m_document(document), m_canvas(canvas) {}

RECT CCanvasEditor::Client() const {
    return m_canvas.Window().GetClientRect();
}

void CCanvasEditor::Reset() {
    m_placementTool = 0;
    m_resizing = false;
    m_resizeEdge = ItemEdge::None;
    m_moving = false;
    m_bandSelecting = false;
    m_contextItem = -1;
}

void CCanvasEditor::DeselectAll(CDamagedArea& damage) {
    for (std::size_t i = 0; i < m_document.Count(); ++i) {
        if (m_document.SetSelected(i, false)) {
            damage.Add(m_document.Item(i));
        }
    }
}

void CCanvasEditor::ArmTool(int kind) {
    m_placementTool = kind;
    CDamagedArea damage;
    DeselectAll(damage);
    m_canvas.Repaint(damage);
}

void CCanvasEditor::OnLButtonDown(UINT flags, POINT point) {
    EndDrag();
    m_canvas.Window().SetCapture();
    if (m_placementTool != 0) {
        PlaceItem(point);
    } else {
        for (std::size_t i = 0; i < m_document.Count(); ++i) {
            m_document.SetResizeTarget(i, false);
        }
        const int hit = HitTest(m_document.Items(), point);
        if (hit >= 0) {
            StartResizeOrMove(static_cast<std::size_t>(hit), flags, point);
        } else {
            StartBandSelection(point);
        }
    }
    m_lastPoint = point;
}

void CCanvasEditor::PlaceItem(POINT point) {
    const auto& items = m_document.Items();
    const bool insideText = std::any_of(items.begin(), items.end(), [&](const DesignItem& item) {
        return IsTextOrColumn(item) && PtInRect(item.rect, point);
    });
    if (insideText || !m_document.HasRoomFor(1)) {
        return;
    }
    DesignItem item = NewPlacedItem(static_cast<ItemKind>(m_placementTool), point, Client(),
                                    m_document.GetDesign());
    CDamagedArea damage;
    damage.Add(item);
    {
        const CEditStep step(m_document, "Place");
        m_document.Insert(std::move(item));
    }
    m_canvas.Repaint(damage);
    m_placementTool = 0;
}

void CCanvasEditor::StartResizeOrMove(std::size_t index, UINT flags, POINT point) {
    const ItemEdge edge = ResizeEdgeAt(m_document.Item(index), point);
    if (edge != ItemEdge::None) {
        m_resizing = true;
        m_resizeEdge = edge;
        m_document.SetResizeTarget(index, true);
        m_document.BeginStep("Resize");
        return;
    }
    m_moving = true;
    CDamagedArea damage;
    if ((flags & MK_CONTROL) != 0) {
        m_document.SetSelected(index, !m_document.Item(index).selected);
        damage.Add(m_document.Item(index));
    } else if (!m_document.Item(index).selected) {
        // A press on a selected item keeps the whole selection, so that it moves as a group.
        for (std::size_t i = 0; i < m_document.Count(); ++i) {
            if (m_document.SetSelected(i, i == index)) {
                damage.Add(m_document.Item(i));
            }
        }
    }
    m_canvas.Repaint(damage);
    // The whole drag is one step.
    m_document.BeginStep("Move");
}

void CCanvasEditor::StartBandSelection(POINT point) {
    m_bandSelecting = true;
    m_bandAnchor = point;
    CDamagedArea damage;
    DeselectAll(damage);
    m_canvas.Repaint(damage);
}

void CCanvasEditor::OnMouseMove(POINT point) {
    if (m_resizing) {
        ResizeTarget(point);
    } else if (m_moving) {
        MoveSelection(point);
    } else {
        UpdateCursor(point);
    }
    m_lastPoint = point;
}

void CCanvasEditor::ResizeTarget(POINT point) {
    const auto& items = m_document.Items();
    const auto target = std::find_if(items.begin(), items.end(),
                                     [](const DesignItem& item) { return item.resizeTarget; });
    if (target == items.end()) {
        return;
    }
    DesignItem resized = *target;
    DragEdge(resized.rect, m_resizeEdge, point, Client());
    CDamagedArea damage;
    damage.Add(*target);
    damage.Add(resized);
    m_document.Replace(static_cast<std::size_t>(target - items.begin()), resized);
    m_canvas.Repaint(damage);
}

void CCanvasEditor::MoveSelection(POINT point) {
    const RECT client = Client();
    const int dx = point.x - m_lastPoint.x;
    const int dy = point.y - m_lastPoint.y;
    CDamagedArea damage;
    for (std::size_t i = 0; i < m_document.Count(); ++i) {
        if (!m_document.Item(i).selected) {
            continue;
        }
        DesignItem moved = m_document.Item(i);
        damage.Add(moved);
        MoveClamped(moved.rect, dx, dy, client);
        damage.Add(moved);
        m_document.Replace(i, moved);
    }
    m_canvas.Repaint(damage);
}

void CCanvasEditor::UpdateCursor(POINT point) {
    CWnd& window = m_canvas.Window();
    const int hit = HitTest(m_document.Items(), point);
    if (hit < 0) {
        window.SetCursor(IDC_ARROW);
        return;
    }
    const DesignItem& item = m_document.Item(static_cast<std::size_t>(hit));
    const bool sideZone =
        InHandleZone(item, ItemEdge::Right, point) || InHandleZone(item, ItemEdge::Left, point);
    const bool endZone =
        InHandleZone(item, ItemEdge::Bottom, point) || InHandleZone(item, ItemEdge::Top, point);
    if (item.kind == kVerticalLine) {
        window.SetCursor(endZone ? IDC_SIZENS : IDC_SIZEWE);
    } else if (sideZone) {
        window.SetCursor(IDC_SIZEWE);
    } else if (endZone) {
        window.SetCursor(IDC_SIZENS);
    } else {
        window.SetCursor(IDC_SIZEALL);
    }
}

void CCanvasEditor::OnLButtonUp(POINT point) {
    if (m_bandSelecting) {
        FinishBandSelection(point);
    }
    m_placementTool = 0;
    EndDrag();
    m_canvas.Window().ReleaseCapture();
}

void CCanvasEditor::EndDrag() {
    m_resizing = false;
    m_resizeEdge = ItemEdge::None;
    m_moving = false;
    m_bandSelecting = false;
    for (std::size_t i = 0; i < m_document.Count(); ++i) {
        m_document.SetResizeTarget(i, false);
    }
    m_document.EndStep();
}

void CCanvasEditor::FinishBandSelection(POINT point) {
    const RECT band = SpannedRect(m_bandAnchor, point);
    CDamagedArea damage;
    for (std::size_t i = 0; i < m_document.Count(); ++i) {
        RECT common;
        if (m_document.SetSelected(i, IntersectRect(common, band, m_document.Item(i).rect))) {
            damage.Add(m_document.Item(i));
        }
    }
    m_canvas.Repaint(damage);
}

void CCanvasEditor::OnKeyDown(UINT vk) {
    if (vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN) {
        NudgeSelection(vk, GetKeyState(VK_SHIFT) < 0);
    }
}

void CCanvasEditor::NudgeSelection(UINT vk, bool resize) {
    const RECT client = Client();
    const auto& items = m_document.Items();
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
    CDamagedArea damage;
    const CEditStep step(m_document, resize ? "Resize" : "Move");
    for (std::size_t i = 0; i < m_document.Count(); ++i) {
        if (!m_document.Item(i).selected) {
            continue;
        }
        DesignItem nudged = m_document.Item(i);
        damage.Add(nudged);
        nudged.rect.right += dx;
        nudged.rect.bottom += dy;
        if (!resize) {
            nudged.rect.left += dx;
            nudged.rect.top += dy;
        }
        damage.Add(nudged);
        m_document.Replace(i, nudged);
    }
    m_canvas.Repaint(damage);
}
