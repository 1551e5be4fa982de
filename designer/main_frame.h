// The designer's main frame: the window that is the canvas. It routes the menu commands and
// the window's messages to the design document, the canvas editor, the preview session and
// the file commands, and draws the design.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "controls/common/design_item_paint.h"
#include "designer/canvas_editor.h"
#include "designer/canvas_window.h"
#include "designer/design_document.h"
#include "designer/design_files.h"
#include "designer/preview_session.h"
#include "platform/ui/frame_wnd.h"
#include "platform/ui/program_settings.h"

class CMainFrame : public CFrameWnd, private ICanvasWindow {
  public:
    CMainFrame();

    // The program's own settings, given before the window is made: it takes the placement
    // saved last and saves its own when it goes, and the designs opened and saved join the
    // recent files. Without them nothing is kept.
    void UseSettings(const CProgramSettings* settings) { m_settings = settings; }

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
    // Asks before unsaved changes are thrown away; Cancel keeps the window open.
    void OnClose() override;
    // Closing the window undoes what the preview wrote and did not commit.
    void OnDestroy() override;

    // Fills the rectangle with the form's background and draws the items that meet it.
    void PaintDesign(CDC& dc, const RECT& area);
    // Index of the first item in list order containing the point, or -1.
    int HitTest(POINT point) const;
    void RepaintAll() override;
    void RepaintRect(const RECT& area) override;
    void Repaint(const CDamagedArea& damage) override;

    // The Preview command: switches preview mode on or off.
    void OnPreview() { m_preview.Toggle(); }
    // Opens a path given on the command line as Open would open it.
    void OpenDesignPath(const std::string& path) { m_files.OpenPath(path); }

    const CDesignDocument& Document() const { return m_document; }
    const CCanvasEditor& Editor() const { return m_editor; }
    const CPreviewSession& Preview() const { return m_preview; }

  private:
    CWnd& Window() override { return *this; }
    void MapCommands();
    void MapEditCommands();
    void MapRecentFiles();
    std::vector<std::string> RecentFiles() const;
    // Opens the recent file at the index; one that is gone leaves the list with a message.
    void OnRecentFile(std::size_t index);
    void OnSetBackgroundColor();
    void OnRecordSource();
    void OnAppAbout();
    ItemPaintOptions PaintOptions() const;
    // The title names the design and marks unsaved changes with a "*".
    void UpdateTitle();

    CDesignDocument m_document;
    CPreviewSession m_preview{m_document, *this};
    CCanvasEditor m_editor{m_document, *this};
    CDesignFiles m_files{m_document, m_editor, m_preview, *this};
    const CProgramSettings* m_settings = nullptr;
};

// Opens a path given on the command line with Open's extension check and messages.
void OpenDesignPath(CMainFrame& frame, const std::string& path);
