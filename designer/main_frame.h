// The designer's main frame: it owns the design and all program state, and is the canvas.
#pragma once

#include <string>

#include "controls/common/design.h"
#include "controls/common/design_item_paint.h"
#include "designer/canvas_rules.h"
#include "designer/preview_binding.h"
#include "designer/preview_navigation.h"
#include "platform/ui/frame_wnd.h"

class CMainFrame : public CFrameWnd {
  public:
    CMainFrame();

    bool PreCreateWindow(CREATESTRUCT& cs) override;
    int OnCreate() override;
    void OnGetMinMaxInfo(MINMAXINFO& info) override;
    void OnPaint(CDC& dc) override;
    void OnLButtonDown(UINT flags, POINT point) override;
    void OnMouseMove(UINT flags, POINT point) override;
    void OnLButtonUp(UINT flags, POINT point) override;
    void OnRButtonDown(UINT flags, POINT point) override;
    void OnKeyDown(UINT vk, UINT repeat, UINT flags) override;
    void OnChar(UINT ch, UINT repeat, UINT flags) override;
    // Closing the window undoes what the preview wrote and did not commit.
    void OnDestroy() override;

    // Fills the rectangle with the form's background and draws the items that meet it.
    void PaintDesign(CDC& dc, const RECT& area);
    ItemPaintOptions PaintOptions() const;
    // Index of the first item in list order containing the point, or -1.
    int HitTest(POINT point) const;
    void RepaintAll();
    // Draws the area at once through the window's device context; nothing for an empty area.
    void RepaintRect(const RECT& area);

    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnSetBackgroundColor();
    void OnRecordSource();
    void OnPreview();
    void OnAppAbout();

    Design& GetDesign() { return m_design; }
    bool m_designLoaded = false;
    bool m_previewMode = false;
    std::string m_currentPath;
    COLORREF m_formBackgroundColor = 0x00C0C0C0;
    COLORREF m_highlightedFieldTextColor = 0x00FFFFFF;
    COLORREF m_highlightedFieldBkColor = 0x00800000;
    int m_placementTool = 0;  // an item kind, 0 when no tool is armed

    bool m_resizing = false;
    ItemEdge m_resizeEdge = ItemEdge::None;
    bool m_moving = false;
    bool m_bandSelecting = false;
    POINT m_lastPoint{};
    POINT m_bandAnchor{};
    int m_contextItem = -1;

    int m_currentField = -1;
    std::int32_t m_currentTabOrder = kNoTabStop;
    // The current field shows a typed text that its record field could not hold.
    bool m_textUnwritten = false;
    // The query preview mode opens; kept beside the design file by Open and Save.
    std::string m_recordSource;
    bool IsPreviewConnected() const { return m_binding.IsConnected(); }

  private:
    void MapCommands();
    void ArmTool(int kind);
    void PlaceItem(POINT point);
    void StartResizeOrMove(int index, UINT flags, POINT point);
    void StartBandSelection(POINT point);
    void FinishBandSelection(POINT point);
    void ResizeTarget(POINT point);
    void MoveSelection(POINT point);
    void UpdateCursor(POINT point);
    void NudgeSelection(UINT vk, bool resize);
    bool ContextItemValid() const;
    void OnContextProperties();
    void OnContextDuplicate();
    void OnContextDelete();
    void StartPreview();
    void StopPreview();
    void ConnectPreview();
    void CommitPreview();
    // The current field while preview mode is on, or null.
    const DesignItem* HighlightedField() const;
    void SetCurrentField(int index);
    void ChooseFieldAt(POINT point);
    void PreviewKeyDown(UINT vk);
    void TabToField(bool backwards);
    void MoveToRecord(RecordMove move);
    void FillColumns();
    void TypeIntoCurrentField(UINT ch);
    // The record's value back into the current field when it shows a text its field could not
    // hold, as the field is left.
    void RestoreUnwrittenText();

    Design m_design;
    CPreviewBinding m_binding;
};

// Asks for a file and replaces the frame's design with it; failures are told by message box.
void LoadDesign(CMainFrame& frame);
// Asks for a file name and writes the frame's design; failures are told by message box.
void SaveDesign(CMainFrame& frame);
// Reads the file at the path into the frame, as Load does once a file was chosen.
void LoadDesignFrom(CMainFrame& frame, const std::string& path);
// Opens a path given on the command line with Open's extension check and messages.
void OpenDesignPath(CMainFrame& frame, const std::string& path);
