// The main frame: creation at 800 x 600, the commands of the File, Form and Help menus and
// the enable rules of every menu.
#include "designer/main_frame.h"

#include "designer/record_source_dlg.h"
#include "designer/record_source_file.h"
#include "designer/resources.h"
#include "platform/dialogs/common_dialogs.h"
#include "platform/ui/application.h"

namespace {
constexpr int kFrameWidth = 800;
constexpr int kFrameHeight = 600;
}  // namespace

CMainFrame::CMainFrame() {
    MapCommands();
}

void CMainFrame::MapCommands() {
    OnCommandId(ID_FILE_NEW, [this] { OnFileNew(); });
    OnCommandId(ID_FILE_OPEN, [this] { LoadDesign(*this); });
    OnCommandId(ID_FILE_SAVE, [this] { OnFileSave(); });
    OnCommandId(ID_APP_EXIT, [this] { OnClose(); });
    OnCommandId(ID_APP_ABOUT, [this] { OnAppAbout(); });
    OnCommandId(ID_FORM_SETBACKGROUNDCOLOR, [this] { OnSetBackgroundColor(); });
    OnUpdateCommandId(ID_FILE_SAVE, [this](CCmdUI& ui) { ui.Enable(m_designLoaded); });
    OnUpdateCommandId(ID_FORM_SETBACKGROUNDCOLOR,
                      [this](CCmdUI& ui) { ui.Enable(!m_previewMode); });
    OnCommandId(ID_FORM_RECORDSOURCE, [this] { OnRecordSource(); });
    OnUpdateCommandId(ID_FORM_RECORDSOURCE, [this](CCmdUI& ui) { ui.Enable(!m_previewMode); });
    OnCommandId(ID_FORM_PREVIEW, [this] { OnPreview(); });
    OnUpdateCommandId(ID_FORM_PREVIEW, [this](CCmdUI& ui) {
        ui.Enable(m_designLoaded);
        ui.SetCheck(m_previewMode ? 1 : 0);
    });

    // Edit, Controls and context commands are usable only while a design is edited.
    const auto whileEditing = [this](CCmdUI& ui) { ui.Enable(m_designLoaded && !m_previewMode); };
    for (const UINT id :
         {ID_EDIT_UNDO, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_EDIT_SELECT_ALL}) {
        OnCommandId(id, [] {});
        OnUpdateCommandId(id, whileEditing);
    }
    OnCommandId(ID_CONTEXT_PROPERTIES, [this] { OnContextProperties(); });
    OnCommandId(ID_CONTEXT_DUPLICATE, [this] { OnContextDuplicate(); });
    OnCommandId(ID_CONTEXT_DELETE, [this] { OnContextDelete(); });
    for (const UINT id : {ID_CONTEXT_PROPERTIES, ID_CONTEXT_DUPLICATE, ID_CONTEXT_DELETE}) {
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
        OnCommandId(id, [this, kind = kind] { ArmTool(kind); });
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

void CMainFrame::OnPaint(CDC& dc) {
    PaintDesign(dc, GetClientRect());
}

void CMainFrame::RepaintAll() {
    RedrawWindow(nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CMainFrame::OnFileNew() {
    m_previewMode = false;
    m_designLoaded = true;
    m_currentPath.clear();
    m_recordSource.clear();
    m_design.Clear();
    m_placementTool = 0;
    RepaintAll();
}

void CMainFrame::OnFileSave() {
    if (m_previewMode) {
        CommitPreview();
        return;
    }
    SaveDesign(*this);
}

void CMainFrame::OnSetBackgroundColor() {
    CColorDialog dialog(m_formBackgroundColor, CC_FULLOPEN, this);
    if (dialog.DoModal() == IDOK) {
        m_formBackgroundColor = dialog.GetColor();
        RepaintAll();
    }
}

void CMainFrame::OnRecordSource() {
    CRecordSourceDlg dialog(this);
    dialog.EditRecordSource(m_recordSource);
}

void CMainFrame::OnAppAbout() {
    DialogService().About(this, AboutRequest{"About qorform", {"qorform Version 1.0"}});
}
