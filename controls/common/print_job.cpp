// The print job set-up the printing controls share.
#include "controls/common/print_job.h"

#include <filesystem>

#include "controls/common/control_module.h"

std::unique_ptr<CPrintJob> CPrintJob::Choose(UINT dialogFlags, CWnd* parent) {
    CPrintDialog dialog(false, dialogFlags, parent);
    if (dialog.DoModal() != IDOK) {
        return nullptr;
    }
    std::unique_ptr<CPrinterDC> printer = dialog.GetPrinterDC();
    if (!printer) {
        return nullptr;
    }
    return std::make_unique<CPrintJob>(std::move(printer));
}

CPrintJob::CPrintJob(std::unique_ptr<CPrinterDC> printer) : m_printer(std::move(printer)) {
    m_printer->SetMapMode(MM_TEXT);
    if (m_printer->Escape(GETPRINTINGOFFSET, 0, nullptr, &m_offset) <= 0) {
        m_offset = POINT{};
    }
    m_area = RECT{m_offset.x, m_offset.y, m_printer->GetDeviceCaps(HORZRES) - m_offset.x,
                  m_printer->GetDeviceCaps(VERTRES) - m_offset.y};
}

CPrintJob::~CPrintJob() {
    AbortDoc();
}

bool CPrintJob::StartDoc(std::string_view docName) {
    return m_printer->StartDoc(docName) > 0;
}

bool CPrintJob::StartPage() {
    return m_printer->StartPage() > 0;
}

bool CPrintJob::EndPage() {
    return m_printer->EndPage() > 0;
}

bool CPrintJob::EndDoc() {
    return m_printer->EndDoc() > 0;
}

void CPrintJob::AbortDoc() {
    if (m_printer->DocumentOpen()) {
        m_printer->AbortDoc();
    }
}

CFont MakePrintFont(const CDC& dc, int points, std::string faceName, int weight) {
    LOGFONT font;
    font.lfHeight = -MulDiv(points, dc.GetDeviceCaps(LOGPIXELSY), 72);
    font.lfWeight = weight;
    font.lfFaceName = std::move(faceName);
    return CFont(font);
}

CSelectedPrintFont::CSelectedPrintFont(CDC& dc, int points, std::string faceName)
    : m_dc(dc), m_previous(dc.SelectFont(MakePrintFont(dc, points, std::move(faceName)))) {}

CSelectedPrintFont::~CSelectedPrintFont() {
    m_dc.SelectFont(m_previous);
}

void ShowPrintFailure(CWnd* owner, const std::string& text) {
    AfxMessageBox(owner, text, std::filesystem::path(control_module::ModulePath()).stem().string(),
                  MB_OK);
}
