// The file and colour dialog classes in the shape the designer and the controls call them.
#pragma once

#include <string>

#include "platform/dialogs/dialog_service.h"

class CFileDialog {
  public:
    CFileDialog(bool openFileDialog, const std::string& defaultExtension = {},
                const std::string& fileName = {},
                UINT flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const std::string& filter = {},
                CWnd* parent = nullptr);
    // IDOK when a file was chosen, IDCANCEL otherwise.
    int DoModal();
    // Full path of the chosen file; empty after a cancel.
    std::string GetPathName() const { return m_pathName; }
    // Text after the last dot of the file name (not of the folders), without the dot; empty
    // when the name has none.
    std::string GetFileExt() const;
    // The file name without its folders.
    std::string GetFileName() const;

    const FileDialogRequest& Request() const { return m_request; }

  private:
    FileDialogRequest m_request;
    CWnd* m_parent;
    std::string m_pathName;
};

class CColorDialog {
  public:
    explicit CColorDialog(COLORREF initial = 0, UINT flags = 0, CWnd* parent = nullptr);
    // IDOK when a colour was chosen, IDCANCEL otherwise.
    int DoModal();
    // The chosen colour, or the initial one after a cancel.
    COLORREF GetColor() const { return m_color; }

  private:
    ColorDialogRequest m_request;
    CWnd* m_parent;
    COLORREF m_color;
};
