// The print dialog class in the shape the controls call it.
#pragma once

#include <memory>

#include "platform/dialogs/dialog_service.h"

// The options the controls' print dialogs start from: all pages, no page numbers, no
// selection, no print-to-file, copies left to the printer.
constexpr UINT PD_DEFAULTOPTIONS =
    PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE | PD_NOSELECTION;

// The caption of the notice that a document's output was lost.
inline constexpr const char* kPrintFailureCaption = "Printer Error";

class CPrintDialog {
  public:
    // A dialog that is not setup-only asks for the printer context (PD_RETURNDC); a setup-only
    // one carries PD_PRINTSETUP and hands out none.
    explicit CPrintDialog(bool printSetupOnly, UINT flags = PD_DEFAULTOPTIONS,
                          CWnd* parent = nullptr);
    // IDOK when a printer was chosen, IDCANCEL otherwise.
    int DoModal();
    // Hands the chosen printer's context to the caller, who ends its document and deletes it;
    // nullptr after a cancel, for a setup-only dialog, or once handed over.
    std::unique_ptr<CPrinterDC> GetPrinterDC() { return std::move(m_printer); }

    const PrintDialogRequest& Request() const { return m_request; }

  private:
    PrintDialogRequest m_request;
    CWnd* m_parent;
    std::unique_ptr<CPrinterDC> m_printer;
};
