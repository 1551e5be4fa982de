// The designer's Load and Save: file dialogs, the extension check, the three messages, and the
// record source kept beside the design.
#include <strings.h>
#include <filesystem>

#include "designer/main_frame.h"
#include "designer/record_source_file.h"
#include "platform/dialogs/common_dialogs.h"

namespace {

constexpr char kFilter[] = "Design Files (*.qor); *.qor||";
constexpr char kCaption[] = "Error";

void Fail(CMainFrame& frame, const char* text) {
    AfxMessageBox(&frame, text, kCaption, MB_OK);
}

bool CheckExtension(CMainFrame& frame, const std::string& extension) {
    if (strcasecmp(extension.c_str(), "QOR") != 0) {
        Fail(frame, "A file with Invalid file extension was selected.");
        return false;
    }
    return true;
}

// Asks for a file; the chosen path is remembered even when the extension is then refused.
bool ChooseFile(CMainFrame& frame, bool open) {
    CFileDialog dialog(open, "*.qor", {}, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kFilter, &frame);
    if (dialog.DoModal() != IDOK) {
        return false;
    }
    frame.m_currentPath = dialog.GetPathName();
    return CheckExtension(frame, dialog.GetFileExt());
}

}  // namespace

void LoadDesignFrom(CMainFrame& frame, const std::string& path) {
    std::optional<Design> design = ReadDesignFile(path);
    if (!design) {
        Fail(frame, "Error opening design file.");
        return;
    }
    frame.GetDesign() = std::move(*design);
    frame.m_recordSource = ReadRecordSource(path);
    // Preview mode ends before the repaint, so that the new design is drawn for editing.
    frame.m_designLoaded = true;
    frame.m_previewMode = false;
    frame.RepaintAll();
}

void OpenDesignPath(CMainFrame& frame, const std::string& path) {
    frame.m_currentPath = path;
    const std::string extension = std::filesystem::path(path).extension().string();
    if (CheckExtension(frame, extension.empty() ? extension : extension.substr(1))) {
        LoadDesignFrom(frame, path);
    }
}

void LoadDesign(CMainFrame& frame) {
    if (ChooseFile(frame, true)) {
        LoadDesignFrom(frame, frame.m_currentPath);
    }
}

void SaveDesign(CMainFrame& frame) {
    if (!ChooseFile(frame, false)) {
        return;
    }
    if (!WriteDesignFile(frame.m_currentPath, frame.GetDesign()) ||
        !WriteRecordSource(frame.m_currentPath, frame.m_recordSource)) {
        Fail(frame, "Error Creating Save File.");
    }
}
