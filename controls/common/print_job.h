// A print job as the printing controls set it up: the print dialog, the printer context and
// its printable area, a print font, and a document that is always ended or aborted.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/dialogs/print_dialog.h"
#include "platform/gdi/printer_dc.h"

// One document on the printer the user picks. The context lives as long as the job; a document
// neither ended nor aborted by then is aborted.
class CPrintJob {
  public:
    // Shows the print dialog with the flags; nullptr when it is cancelled or hands out no
    // printer. The context is set to MM_TEXT.
    static std::unique_ptr<CPrintJob> Choose(UINT dialogFlags, CWnd* parent);

    explicit CPrintJob(std::unique_ptr<CPrinterDC> printer);
    CPrintJob(const CPrintJob&) = delete;
    CPrintJob& operator=(const CPrintJob&) = delete;
    ~CPrintJob();

    CPrinterDC& DC() { return *m_printer; }
    // Inset by the printing offset on every side: from the offset to the device resolution
    // less the offset.
    const RECT& PrintableArea() const { return m_area; }
    // The printing offset escape's answer, (0, 0) when the printer has none.
    const POINT& Offset() const { return m_offset; }

    bool StartDoc(std::string_view docName);
    bool StartPage();
    bool EndPage();
    // Ends the open page and the document.
    bool EndDoc();
    void AbortDoc();

  private:
    std::unique_ptr<CPrinterDC> m_printer;
    POINT m_offset{};
    RECT m_area{};
};

// A font of whole points at the context's resolution, face named, everything else zero,
// selected for the object's lifetime; the font selected before comes back after it.
class CSelectedPrintFont {
  public:
    CSelectedPrintFont(CDC& dc, int points, std::string faceName);
    CSelectedPrintFont(const CSelectedPrintFont&) = delete;
    CSelectedPrintFont& operator=(const CSelectedPrintFont&) = delete;
    ~CSelectedPrintFont();

  private:
    CDC& m_dc;
    CFont m_previous;
};

// A printing failure told to the user: the text with an OK button under the framework's
// default caption, the name of the module (or program) printing.
void ShowPrintFailure(CWnd* owner, const std::string& text);

// The font a print job selects: whole points at the context's resolution, face named, of the
// weight (0 for the default), everything else zero.
CFont MakePrintFont(const CDC& dc, int points, std::string faceName, int weight = 0);
