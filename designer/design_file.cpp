// The designer's Load and Save: file dialogs, the extension check and the three messages.
#include <strings.h>

#include "designer/main_frame.h"
#include "platform/dialogs/common_dialogs.h"

namespace {

constexpr char kFilter[] = "Design Files (*.qor); *.qor||";
constexpr char kCaption[] = "Error";

void Fail(CMainFrame& frame, const char* text) { AfxMessageBox(&frame, text, kCaption, MB_OK); }

// Asks for a file; the chosen path is remembered even when the extension is then refused.
bool ChooseFile(CMainFrame& frame, bool open)
{
    CFileDialog dialog(open, "*.qor", {}, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kFilter, &frame);
    if (dialog.DoModal() != IDOK) {
        return false;
    }
    frame.m_currentPath = dialog.GetPathName();
    if (strcasecmp(dialog.GetFileExt().c_str(), "QOR") != 0) {
        Fail(frame, "A file with Invalid file extension was selected.");
        return false;
    }
    return true;
}

}  // namespace

void LoadDesignFrom(CMainFrame& frame, const std::string& path)
{
    std::optional<Design> design = ReadDesignFile(path);
    if (!design) {
        Fail(frame, "Error opening design file.");
        return;
    }
    frame.GetDesign() = std::move(*design);
    frame.RepaintAll();
    frame.m_designLoaded = true;
    frame.m_previewMode = false;
}

void LoadDesign(CMainFrame& frame)
{
    if (ChooseFile(frame, true)) {
        LoadDesignFrom(frame, frame.m_currentPath);
    }
}

void SaveDesign(CMainFrame& frame)
{
    if (!ChooseFile(frame, false)) {
        return;
    }
    if (!WriteDesignFile(frame.m_currentPath, frame.GetDesign())) {
        Fail(frame, "Error Creating Save File.");
    }
}
