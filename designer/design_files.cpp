// The designer's New, Open and Save: file dialogs, the extension check, the three messages, the
// record source kept beside the design, and the question before unsaved work is lost.
#include "designer/design_files.h"

#include <strings.h>

#include <filesystem>

#include "designer/record_source_file.h"
#include "platform/dialogs/common_dialogs.h"

namespace {
constexpr char kFilter[] = "Design Files (*.qor); *.qor||";
constexpr char kCaption[] = "Error";
}  // namespace

CDesignFiles::CDesignFiles(CDesignDocument& document, CCanvasEditor& editor,
                           CPreviewSession& preview, ICanvasWindow& canvas)
    : m_document(document), m_editor(editor), m_preview(preview), m_canvas(canvas) {}

void CDesignFiles::Notify(const std::string& path) const {
    if (m_fileListener) {
        m_fileListener(path);
    }
}

void CDesignFiles::Fail(const char* text) {
    AfxMessageBox(&m_canvas.Window(), text, kCaption, MB_OK);
}

bool CDesignFiles::ConfirmDiscard() {
    if (!m_document.IsModified()) {
        return true;
    }
    const std::string question = "Save changes to " + m_document.DisplayName() + "?";
    switch (AfxMessageBox(&m_canvas.Window(), question, "qorform", MB_YESNOCANCEL)) {
        case IDYES:
            return SaveDesign();
        case IDNO:
            return true;
        default:
            return false;
    }
}

void CDesignFiles::New() {
    if (!ConfirmDiscard()) {
        return;
    }
    m_preview.Leave();
    m_document.New();
    m_editor.Reset();
    m_canvas.RepaintAll();
}

bool CDesignFiles::CheckExtension(const std::string& extension) {
    if (strcasecmp(extension.c_str(), "QOR") != 0) {
        Fail("A file with Invalid file extension was selected.");
        return false;
    }
    return true;
}

bool CDesignFiles::ChooseFile(bool open) {
    CFileDialog dialog(open, "*.qor", {}, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kFilter,
                       &m_canvas.Window());
    if (dialog.DoModal() != IDOK) {
        return false;
    }
    m_document.SetPath(dialog.GetPathName());
    return CheckExtension(dialog.GetFileExt());
}

void CDesignFiles::LoadFrom(const std::string& path) {
    std::optional<Design> design = ReadDesignFile(path);
    if (!design) {
        Fail("Error opening design file.");
        return;
    }
    // Preview mode ends before the repaint, so that the new design is drawn for editing.
    m_preview.Leave();
    m_document.Open(std::move(*design), ReadRecordSource(path), path);
    m_canvas.RepaintAll();
    Notify(path);
}

void CDesignFiles::Open() {
    if (ConfirmDiscard() && ChooseFile(true)) {
        LoadFrom(m_document.Path());
    }
}

void CDesignFiles::OpenPath(const std::string& path) {
    if (!ConfirmDiscard()) {
        return;
    }
    m_document.SetPath(path);
    const std::string extension = std::filesystem::path(path).extension().string();
    if (CheckExtension(extension.empty() ? extension : extension.substr(1))) {
        LoadFrom(path);
    }
}

void CDesignFiles::Save() {
    if (m_preview.IsOn()) {
        m_preview.Commit();
        return;
    }
    SaveDesign();
}

bool CDesignFiles::SaveDesign() {
    if (!ChooseFile(false)) {
        return false;
    }
    const std::string& path = m_document.Path();
    if (!WriteDesignFile(path, m_document.GetDesign()) ||
        !WriteRecordSource(path, m_document.RecordSource())) {
        Fail("Error Creating Save File.");
        return false;
    }
    m_document.MarkSaved(path);
    Notify(path);
    return true;
}
