// CCanvasEditor: editing on the canvas: the placement tool, selection, drags, arrow keys, the
// context menu's commands and the Edit and Format menus' commands.
#pragma once

#include <cstdint>

#include "designer/canvas_rules.h"
#include "designer/canvas_window.h"
#include "designer/design_document.h"
#include "designer/format_rules.h"

class CCanvasEditor {
  public:
    CCanvasEditor(CDesignDocument& document, ICanvasWindow& canvas);

    // The item kind the next press places, 0 when no tool is armed.
    int PlacementTool() const { return m_placementTool; }
    // Index of the item under the last context menu, -1 when none was opened.
    int ContextItem() const { return m_contextItem; }

    // Disarms the tool and forgets every drag, as New and Open do.
    void Reset();
    void ArmTool(int kind);

    void OnLButtonDown(UINT flags, POINT point);
    void OnMouseMove(POINT point);
    void OnLButtonUp(POINT point);
    void OnRButtonDown(POINT point);
    void OnKeyDown(UINT vk);

    // Context menu commands on the item under the menu.
    void EditProperties();
    void DuplicateItem();
    void DeleteItem();

    // Edit menu commands.
    void Undo();
    void Redo();
    void Cut();
    void Copy();
    void Paste();
    void SelectAll();
    // Format menu commands on the selection.
    void Format(FormatCommand command);
    // The background colour as one step.
    void SetBackgroundColor(COLORREF color);

  private:
    void PlaceItem(POINT point);
    void StartResizeOrMove(std::size_t index, UINT flags, POINT point);
    void StartBandSelection(POINT point);
    void FinishBandSelection(POINT point);
    void ResizeTarget(POINT point);
    void MoveSelection(POINT point);
    void UpdateCursor(POINT point);
    void NudgeSelection(UINT vk, bool resize);
    // Ends a drag and its step, as a release of the button does.
    void EndDrag();
    void DeselectAll(CDamagedArea& damage);
    std::vector<std::size_t> SelectedPositions() const;
    bool ContextItemValid() const;
    void ShowDamage(const EditDamage& damage);
    RECT Client() const;

    CDesignDocument& m_document;
    ICanvasWindow& m_canvas;
    int m_placementTool = 0;
    bool m_resizing = false;
    ItemEdge m_resizeEdge = ItemEdge::None;
    bool m_moving = false;
    bool m_bandSelecting = false;
    POINT m_lastPoint{};
    POINT m_bandAnchor{};
    int m_contextItem = -1;
    // How far the next paste moves the items from where they were copied.
    int m_pasteOffset = 0;
};
