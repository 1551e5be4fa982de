// File and colour dialog classes over the dialog service.
#include "platform/dialogs/common_dialogs.h"

#include "platform/com/exception_guard.h"

CFileDialog::CFileDialog(bool openFileDialog, const std::string& defaultExtension,
                         const std::string& fileName, UINT flags, const std::string& filter,
                         CWnd* parent)
    : m_parent(parent) {
    m_request.open = openFileDialog;
    m_request.defaultExtension = defaultExtension;
    m_request.initialFileName = fileName;
    m_request.flags = flags;
    m_request.filters = ParseFileFilter(filter);
    m_request.title = openFileDialog ? "Open" : "Save As";
}

int CFileDialog::DoModal() {
    m_pathName.clear();
    // A dialog that could not be shown chose nothing.
    return GuardValue("file dialog", IDCANCEL, [&] {
        std::optional<std::string> path = DialogService().FileDialog(m_parent, m_request);
        if (!path) {
            return IDCANCEL;
        }
        m_pathName = std::move(*path);
        return IDOK;
    });
}

std::string CFileDialog::GetFileName() const {
    const auto slash = m_pathName.find_last_of('/');
    return slash == std::string::npos ? m_pathName : m_pathName.substr(slash + 1);
}

std::string CFileDialog::GetFileExt() const {
    const std::string name = GetFileName();
    const auto dot = name.find_last_of('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

CColorDialog::CColorDialog(COLORREF initial, UINT flags, CWnd* parent)
    : m_request{initial, flags}, m_parent(parent), m_color(initial) {}

int CColorDialog::DoModal() {
    m_color = m_request.initial;
    return GuardValue("colour dialog", IDCANCEL, [&] {
        const std::optional<COLORREF> color = DialogService().ChooseColor(m_parent, m_request);
        if (!color) {
            return IDCANCEL;
        }
        m_color = *color;
        return IDOK;
    });
}
