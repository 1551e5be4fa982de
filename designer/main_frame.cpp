// The main frame: creation at 800 x 600 (or where the program's settings put it last), the
// routing of commands and messages, the enable rules of every menu, the recent files, and the
// title.
#include "designer/main_frame.h"

#include <filesystem>

#include "designer/record_source_dlg.h"
#include "designer/resources.h"
#include "platform/dialogs/common_dialogs.h"
#include "platform/ui/application.h"

namespace {
constexpr int kFrameWidth = 800;
constexpr int kFrameHeight = 600;

// A path as a menu entry shows it: '&' stays itself instead of marking a mnemonic.
std::string MenuText(const std::string& path) {
    std::string text;
    for (const char c : path) {
        text += c == '&' ? std::string("&&") : std::string(1, c);
    }
    return text;
}
}  // namespace

CMainFrame::CMainFrame() {
    MapCommands();
    MapEditCommands();
    MapRecentFiles();
    m_document.SetChangeListener([this] { UpdateTitle(); });
    m_files.SetFileListener([this](const std::string& path) {
        if (m_settings != nullptr) {
            m_settings->AddRecentFile(path);
        }
    });
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

void CMainFrame::MapRecentFiles() {
    for (UINT id = ID_FILE_MRU_FILE1; id <= ID_FILE_MRU_FILE4; ++id) {
        const std::size_t index = id - ID_FILE_MRU_FILE1;
        OnCommandId(id, [this, index] { OnRecentFile(index); });
        OnUpdateCommandId(id, [this, index](CCmdUI& ui) {
            const std::vector<std::string> files = RecentFiles();
            ui.Enable(index < files.size());
            if (index < files.size()) {
                // Appended, not prepended: GCC 12 at -O3 reports a false overlap (-Wrestrict)
                // for a literal put in front of a temporary string.
                ui.SetText(std::string("&")
                               .append(std::to_string(index + 1))
                               .append(" ")
                               .append(MenuText(files[index])));
            } else {
                // An empty text leaves the place out of the menu.
                ui.SetText(index == 0 ? "(No Recent Files)" : "");
            }
        });
    }
}

std::vector<std::string> CMainFrame::RecentFiles() const {
    return m_settings != nullptr ? m_settings->RecentFiles() : std::vector<std::string>{};
}

void CMainFrame::OnRecentFile(std::size_t index) {
    const std::vector<std::string> files = RecentFiles();
    if (index >= files.size()) {
        return;
    }
    const std::string& path = files[index];
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        m_settings->RemoveRecentFile(path);
        AfxMessageBox(this,
                      "The design file " + path +
                          " cannot be found. It has been removed from the recent files.",
                      "qorform", MB_OK);
        return;
    }
    m_files.OpenPath(path);
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
    if (m_settings != nullptr) {
        m_settings->RestoreWindowPlacement(*this);
    }
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
    if (m_settings != nullptr) {
        m_settings->SaveWindowPlacement(*this);
    }
    m_preview.Close();
}

void CMainFrame::RepaintAll() {
    RedrawWindow(nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CMainFrame::RepaintRect(const RECT& area) {
    CDamagedArea damage;
    damage.Add(area);
    Repaint(damage);
}

// Each rectangle is clipped: an item meeting it is drawn whole, and would otherwise cover the
// items drawn after it just outside the rectangle, which are not drawn again.
void CMainFrame::Repaint(const CDamagedArea& damage) {
    const std::vector<RECT> rects = damage.Rects();
    if (rects.empty()) {
        return;
    }
    CClientDC dc(this);
    for (const RECT& rect : rects) {
        dc->SetClipRect(rect);
        PaintDesign(*dc, rect);
    }
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
