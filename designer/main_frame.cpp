// The main frame: creation at 800 x 600, the routing of commands and messages, the enable
// rules of every menu, and the title.
#include "designer/main_frame.h"

#include "designer/record_source_dlg.h"
#include "designer/resources.h"
#include "platform/dialogs/common_dialogs.h"
#include "platform/ui/application.h"

namespace {
constexpr int kFrameWidth = 800;
constexpr int kFrameHeight = 600;
}  // namespace

CMainFrame::CMainFrame() {
    MapCommands();
    MapEditCommands();
    m_document.SetChangeListener([this] { UpdateTitle(); });
}

void CMainFrame::MapCommands() {
    OnCommandId(ID_FILE_NEW, [this] { m_files.New(); });
    OnCommandId(ID_FILE_OPEN, [this] { m_files.Open(); });
    OnCommandId(ID_FILE_SAVE, [this] { m_files.Save(); });
    OnCommandId(ID_APP_EXIT, [this] { OnClose(); });
    OnCommandId(ID_APP_ABOUT, [this] { OnAppAbout(); });
    OnCommandId(ID_FORM_SETBACKGROUNDCOLOR, [this] { OnSetBackgroundColor(); });
    OnUpdateCommandId(ID_FILE_SAVE, [this](CCmdUI& ui) { ui.Enable(m_document.IsLoaded()); });
    OnUpdateCommandId(ID_FORM_SETBACKGROUNDCOLOR,
                      [this](CCmdUI& ui) { ui.Enable(!m_preview.IsOn()); });
    OnCommandId(ID_FORM_RECORDSOURCE, [this] { OnRecordSource(); });
    OnUpdateCommandId(ID_FORM_RECORDSOURCE, [this](CCmdUI& ui) { ui.Enable(!m_preview.IsOn()); });
    OnCommandId(ID_FORM_PREVIEW, [this] { OnPreview(); });
    OnUpdateCommandId(ID_FORM_PREVIEW, [this](CCmdUI& ui) {
        ui.Enable(m_document.IsLoaded());
        ui.SetCheck(m_preview.IsOn() ? 1 : 0);
    });
}

void CMainFrame::MapEditCommands() {
    // Edit, Format, Controls and context commands are usable only while a design is edited.
    const auto whileEditing = [this](CCmdUI& ui) {
        ui.Enable(m_document.IsLoaded() && !m_preview.IsOn());
    };
    const std::pair<UINT, std::function<void()>> commands[] = {
        {ID_EDIT_UNDO, [this] { m_editor.Undo(); }},
        {ID_EDIT_REDO, [this] { m_editor.Redo(); }},
        {ID_EDIT_CUT, [this] { m_editor.Cut(); }},
        {ID_EDIT_COPY, [this] { m_editor.Copy(); }},
        {ID_EDIT_PASTE, [this] { m_editor.Paste(); }},
        {ID_EDIT_SELECT_ALL, [this] { m_editor.SelectAll(); }},
        {ID_CONTEXT_PROPERTIES, [this] { m_editor.EditProperties(); }},
        {ID_CONTEXT_DUPLICATE, [this] { m_editor.DuplicateItem(); }},
        {ID_CONTEXT_DELETE, [this] { m_editor.DeleteItem(); }},
    };
    for (const auto& [id, handler] : commands) {
        OnCommandId(id, handler);
        OnUpdateCommandId(id, whileEditing);
    }
    // The Undo and Redo entries name the step they would take.
    OnUpdateCommandId(ID_EDIT_UNDO, [this, whileEditing](CCmdUI& ui) {
        whileEditing(ui);
        const std::string step = m_document.UndoName();
        ui.SetText(step.empty() ? "&Undo\tCtrl+Z" : "&Undo " + step + "\tCtrl+Z");
    });
    OnUpdateCommandId(ID_EDIT_REDO, [this, whileEditing](CCmdUI& ui) {
        whileEditing(ui);
        const std::string step = m_document.RedoName();
        ui.SetText(step.empty() ? "&Redo\tCtrl+Y" : "&Redo " + step + "\tCtrl+Y");
    });
    for (const auto& [id, command] : kFormatCommands) {
        OnCommandId(id, [this, command = command] { m_editor.Format(command); });
        OnUpdateCommandId(id, whileEditing);
    }
    const std::pair<UINT, int> tools[] = {
        {ID_CONTROLS_STATICTEXT, kStaticText},
        {ID_CONTROLS_COLUMN, kColumn},
        {ID_CONTROLS_HORIZONTALLINE, kHorizontalLine},
        {ID_CONTROLS_VERTICALLINE, kVerticalLine},
        {ID_CONTROLS_RECTANGLE, kRectangle},
        {ID_CONTROLS_ROUNDRECTANGLE, kRoundRectangle},
    };
    for (const auto& [id, kind] : tools) {
        OnCommandId(id, [this, kind = kind] { m_editor.ArmTool(kind); });
        OnUpdateCommandId(id, whileEditing);
    }
}

bool CMainFrame::PreCreateWindow(CREATESTRUCT& cs) {
    static const std::string className = AfxRegisterWndClass(0);
    cs.className = className;
    cs.cx = kFrameWidth;
    cs.cy = kFrameHeight;
    cs.x = (GetSystemMetrics(SM_CXSCREEN) - kFrameWidth) / 2;
    cs.y = (GetSystemMetrics(SM_CYSCREEN) - kFrameHeight) / 2;
    return CFrameWnd::PreCreateWindow(cs);
}

int CMainFrame::OnCreate() {
    SetWindowText("");
    AfxOleInit();
    return 0;
}

void CMainFrame::OnGetMinMaxInfo(MINMAXINFO& info) {
    info.ptMaxSize = POINT{kFrameWidth, kFrameHeight};
    info.ptMaxTrackSize = POINT{kFrameWidth, kFrameHeight};
}

void CMainFrame::UpdateTitle() {
    if (!IsWindow()) {
        return;
    }
    if (!m_document.IsLoaded()) {
        OnUpdateFrameTitle();
        return;
    }
    const std::string mark = m_document.IsModified() ? "*" : "";
    SetWindowText(m_document.DisplayName() + mark + " - " + GetTitle());
}

void CMainFrame::OnLButtonDown(UINT flags, POINT point) {
    if (m_preview.IsOn()) {
        m_preview.OnLButtonDown(point);
    } else {
        m_editor.OnLButtonDown(flags, point);
    }
}

void CMainFrame::OnMouseMove(UINT /*flags*/, POINT point) {
    if (!m_preview.IsOn()) {
        m_editor.OnMouseMove(point);
    }
}

void CMainFrame::OnLButtonUp(UINT /*flags*/, POINT point) {
    if (!m_preview.IsOn()) {
        m_editor.OnLButtonUp(point);
    }
}

void CMainFrame::OnRButtonDown(UINT /*flags*/, POINT point) {
    if (!m_preview.IsOn()) {
        m_editor.OnRButtonDown(point);
    }
}

void CMainFrame::OnKeyDown(UINT vk, UINT /*repeat*/, UINT /*flags*/) {
    if (m_preview.IsOn()) {
        m_preview.OnKeyDown(vk);
    } else {
        m_editor.OnKeyDown(vk);
    }
}

void CMainFrame::OnChar(UINT ch, UINT /*repeat*/, UINT /*flags*/) {
    if (m_preview.IsOn()) {
        m_preview.OnChar(ch);
    }
}

void CMainFrame::OnClose() {
    if (m_files.ConfirmDiscard()) {
        DestroyWindow();
    }
}

void CMainFrame::OnDestroy() {
    m_preview.Close();
}

void CMainFrame::RepaintAll() {
    RedrawWindow(nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CMainFrame::RepaintRect(const RECT& area) {
    if (IsRectEmpty(area)) {
        return;
    }
    CClientDC dc(this);
    PaintDesign(*dc, area);
}

int CMainFrame::HitTest(POINT point) const {
    return ::HitTest(m_document.Items(), point);
}

void CMainFrame::OnSetBackgroundColor() {
    CColorDialog dialog(m_document.BackgroundColor(), CC_FULLOPEN, this);
    if (dialog.DoModal() == IDOK) {
        m_editor.SetBackgroundColor(dialog.GetColor());
    }
}

void CMainFrame::OnRecordSource() {
    std::string recordSource = m_document.RecordSource();
    CRecordSourceDlg dialog(this);
    if (dialog.EditRecordSource(recordSource)) {
        m_document.SetRecordSource(std::move(recordSource));
    }
}

void CMainFrame::OnAppAbout() {
    DialogService().About(this, AboutRequest{"About qorform", {"qorform Version 1.0"}});
}

void OpenDesignPath(CMainFrame& frame, const std::string& path) {
    frame.OpenDesignPath(path);
}
