// CDesignFiles: the File menu's New, Open and Save, with their dialogs and messages, and the
// question asked before unsaved changes would be thrown away.
#pragma once

#include <functional>
#include <string>

#include "designer/canvas_editor.h"
#include "designer/canvas_window.h"
#include "designer/design_document.h"
#include "designer/preview_session.h"

class CDesignFiles {
  public:
    CDesignFiles(CDesignDocument& document, CCanvasEditor& editor, CPreviewSession& preview,
                 ICanvasWindow& canvas);

    void New();
    // Asks for a file and replaces the design with it; failures are told by message box.
    void Open();
    // In preview mode commits; otherwise asks for a file name and writes the design.
    void Save();
    // Opens a path given on the command line with Open's extension check and messages.
    void OpenPath(const std::string& path);
    // When the design was changed since it was made, opened or saved, asks whether to save it
    // first: true when the caller may go on (saved, or not wanted), false on Cancel or when the
    // save did not happen.
    bool ConfirmDiscard();
    // Told the path of each design opened or saved, as it happens.
    void SetFileListener(std::function<void(const std::string&)> listener) {
        m_fileListener = std::move(listener);
    }

  private:
    // Shows the file dialog; the chosen path is remembered even when its extension is refused.
    bool ChooseFile(bool open);
    bool CheckExtension(const std::string& extension);
    void LoadFrom(const std::string& path);
    // Asks for a file name and writes the design; true when it was written.
    bool SaveDesign();
    void Fail(const char* text);
    void Notify(const std::string& path) const;

    CDesignDocument& m_document;
    CCanvasEditor& m_editor;
    CPreviewSession& m_preview;
    ICanvasWindow& m_canvas;
    std::function<void(const std::string&)> m_fileListener;
};
