// The print dialog class over the dialog service.
#include "platform/dialogs/print_dialog.h"

#include "platform/com/exception_guard.h"

CPrintDialog::CPrintDialog(bool printSetupOnly, UINT flags, CWnd* parent)
    : m_request{flags | (printSetupOnly ? PD_PRINTSETUP : PD_RETURNDC)}, m_parent(parent) {}

int CPrintDialog::DoModal() {
    m_printer.reset();
    return GuardValue("print dialog", IDCANCEL, [&] {
        std::unique_ptr<CPrinterDC> printer = DialogService().PrintDialog(m_parent, m_request);
        if (printer == nullptr) {
            return IDCANCEL;
        }
        if ((m_request.flags & PD_RETURNDC) != 0) {
            printer->SetProgress(DialogService().PrintProgress(m_parent));
            // The system's own notice, as a spooler gives one: the printing code only sees
            // its calls fail, and some of those failures it passes over in silence.
            printer->SetFailureNotice([parent = m_parent](const std::string& reason) {
                AfxMessageBox(parent, reason, kPrintFailureCaption, MB_OK | MB_ICONERROR);
            });
            m_printer = std::move(printer);
        }
        return IDOK;
    });
}
