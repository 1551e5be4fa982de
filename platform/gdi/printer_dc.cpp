// The printer context: document and page calls, device capabilities and drawing on pages.
#include "platform/gdi/printer_dc.h"

#include <atomic>
#include <cmath>
#include <utility>

namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kQuarterInchMm = 6.35;

int ToDots(double mm, int dpi) {
    return static_cast<int>(std::lround(mm * dpi / kMmPerInch));
}

// Job numbers are unique in the process, as a spooler's are on a machine.
int NextJobNumber() {
    static std::atomic<int> next{1};
    return next++;
}

}  // namespace

PrinterPage PrinterPage::Sheet(double widthMm, double heightMm, double marginMm, int dpi) {
    PrinterPage page;
    page.dpi = dpi;
    page.physical = SIZE{ToDots(widthMm, dpi), ToDots(heightMm, dpi)};
    const int margin = ToDots(marginMm, dpi);
    page.offset = POINT{margin, margin};
    page.printable = SIZE{page.physical.cx - 2 * margin, page.physical.cy - 2 * margin};
    return page;
}

PrinterPage PrinterPage::Letter(int dpi) {
    return Sheet(215.9, 279.4, kQuarterInchMm, dpi);
}

PrinterPage PrinterPage::A4(int dpi) {
    return Sheet(210.0, 297.0, kQuarterInchMm, dpi);
}

CPrinterDC::CPrinterDC(const PrinterPage& page, std::unique_ptr<CPrintTarget> target)
    : m_page(page), m_target(std::move(target)), m_state(nullptr, page.dpi, page.printable) {}

CPrinterDC::~CPrinterDC() {
    if (DocumentOpen()) {
        AbortDoc();
    }
}

int CPrinterDC::StartDoc(std::string_view docName) {
    if (DocumentOpen() || m_target == nullptr) {
        return SP_ERROR;
    }
    m_surface = m_target->BeginDocument(std::string(docName));
    if (m_surface == nullptr) {
        return SP_ERROR;
    }
    CarryStateTo(*m_surface);
    m_pagesEnded = 0;
    if (m_progress) {
        m_progress->DocumentStarted(std::string(docName));
    }
    return NextJobNumber();
}

int CPrinterDC::StartPage() {
    if (!DocumentOpen() || m_pageOpen || !m_target->BeginPage()) {
        return SP_ERROR;
    }
    m_pageOpen = true;
    return 1;
}

int CPrinterDC::EndPage() {
    if (!m_pageOpen) {
        return SP_ERROR;
    }
    m_pageOpen = false;
    if (!m_target->EndPage()) {
        return SP_ERROR;
    }
    ++m_pagesEnded;
    if (m_progress && !m_progress->PageEnded(m_pagesEnded)) {
        AbortDoc();
        return SP_ERROR;
    }
    return 1;
}

int CPrinterDC::EndDoc() {
    if (!DocumentOpen()) {
        return SP_ERROR;
    }
    const bool pageEnded = !m_pageOpen || EndPage() > 0;
    if (!pageEnded) {
        // A stop asked for at that page has aborted the document already.
        if (DocumentOpen()) {
            AbortDoc();
        }
        return SP_ERROR;
    }
    const bool ended = m_target->EndDocument();
    CloseDocument();
    return ended ? 1 : SP_ERROR;
}

int CPrinterDC::AbortDoc() {
    if (!DocumentOpen()) {
        return SP_ERROR;
    }
    m_target->AbortDocument();
    CloseDocument();
    return 1;
}

void CPrinterDC::CloseDocument() {
    m_surface = nullptr;
    m_pageOpen = false;
    if (m_progress) {
        m_progress->DocumentClosed();
    }
    if (m_failureNotice) {
        if (const std::string reason = m_target->LostOutput(); !reason.empty()) {
            m_failureNotice(reason);
        }
    }
}

int CPrinterDC::SetMapMode(int mode) {
    return mode == MM_TEXT ? MM_TEXT : 0;
}

int CPrinterDC::Escape(int escape, int /*inputSize*/, const void* /*input*/, POINT* output) const {
    if (escape != GETPRINTINGOFFSET || output == nullptr) {
        return 0;
    }
    *output = m_page.offset;
    return 1;
}

// A new document's surface starts with what was selected before it, so that a font chosen
// before StartDoc prints.
void CPrinterDC::CarryStateTo(CDC& surface) {
    surface.SelectFont(m_state.GetCurrentFont());
    surface.SelectPen(m_state.GetCurrentPen());
    surface.SetTextColor(m_state.GetTextColor());
    surface.SetBkColor(m_state.GetBkColor());
    surface.SetBkMode(m_state.GetBkMode());
    surface.SetClipRect(m_clip);
    surface.MoveTo(m_position.x, m_position.y);
}

CDC& CPrinterDC::Measuring() {
    return m_surface != nullptr ? *m_surface : static_cast<CDC&>(m_state);
}

// Like any context's FillSolidRect, it leaves the colour as the background colour.
void CPrinterDC::FillSolidRect(const RECT& rc, COLORREF color) {
    if (CDC* page = Drawing()) {
        page->FillSolidRect(rc, color);
    } else if (m_surface != nullptr) {
        m_surface->SetBkColor(color);
    }
    m_state.SetBkColor(color);
    m_state.Clear();
}

POINT CPrinterDC::MoveTo(int x, int y) {
    if (m_surface != nullptr) {
        m_surface->MoveTo(x, y);
    }
    return std::exchange(m_position, POINT{x, y});
}

void CPrinterDC::LineTo(int x, int y) {
    if (CDC* page = Drawing()) {
        page->LineTo(x, y);
    } else if (m_surface != nullptr) {
        m_surface->MoveTo(x, y);
    }
    m_position = POINT{x, y};
}

void CPrinterDC::Polyline(const std::vector<POINT>& points) {
    if (CDC* page = Drawing()) {
        page->Polyline(points);
    }
}

void CPrinterDC::FrameRect(const RECT& rc) {
    if (CDC* page = Drawing()) {
        page->FrameRect(rc);
    }
}

int CPrinterDC::DrawText(std::string_view text, RECT& rc, UINT format) {
    if ((format & DT_CALCRECT) != 0) {
        const int height = Measuring().DrawText(text, rc, format);
        m_state.Clear();
        return height;
    }
    if (CDC* page = Drawing()) {
        return page->DrawText(text, rc, format);
    }
    return 0;
}

void CPrinterDC::DrawTexts(const std::vector<PlacedText>& texts, UINT format) {
    if (CDC* page = Drawing()) {
        page->DrawTexts(texts, format);
    }
}

void CPrinterDC::TextOut(int x, int y, std::string_view text) {
    if (CDC* page = Drawing()) {
        page->TextOut(x, y, text);
    }
}

SIZE CPrinterDC::GetTextExtentPoint32(std::string_view text) {
    return Measuring().GetTextExtentPoint32(text);
}

int CPrinterDC::GetTextHeight() {
    return Measuring().GetTextHeight();
}

void CPrinterDC::DrawEdge(const RECT& rc, UINT edge, UINT flags) {
    if (CDC* page = Drawing()) {
        page->DrawEdge(rc, edge, flags);
    }
}

void CPrinterDC::DrawFocusRect(const RECT& rc) {
    if (CDC* page = Drawing()) {
        page->DrawFocusRect(rc);
    }
}

void CPrinterDC::BitBlt(int x, int y, int width, int height, CDC& source, int xSrc, int ySrc,
                        UINT rop) {
    if (CDC* page = Drawing()) {
        page->BitBlt(x, y, width, height, source, xSrc, ySrc, rop);
    }
}

int CPrinterDC::GetDeviceCaps(int index) const {
    switch (index) {
        case HORZRES:
            return m_page.printable.cx;
        case VERTRES:
            return m_page.printable.cy;
        case LOGPIXELSX:
        case LOGPIXELSY:
            return m_page.dpi;
        case PHYSICALWIDTH:
            return m_page.physical.cx;
        case PHYSICALHEIGHT:
            return m_page.physical.cy;
        case PHYSICALOFFSETX:
            return m_page.offset.x;
        case PHYSICALOFFSETY:
            return m_page.offset.y;
        default:
            return 0;
    }
}

// State calls go to an open document and to the keeper, which then forgets the call itself;
// the keeper's answer is the previous value.
template <typename Call>
auto CPrinterDC::SetEverywhere(Call call) {
    if (m_surface != nullptr) {
        call(*m_surface);
    }
    auto previous = call(static_cast<CDC&>(m_state));
    m_state.Clear();
    return previous;
}

COLORREF CPrinterDC::SetTextColor(COLORREF color) {
    return SetEverywhere([color](CDC& dc) { return dc.SetTextColor(color); });
}

COLORREF CPrinterDC::SetBkColor(COLORREF color) {
    return SetEverywhere([color](CDC& dc) { return dc.SetBkColor(color); });
}

int CPrinterDC::SetBkMode(int mode) {
    return SetEverywhere([mode](CDC& dc) { return dc.SetBkMode(mode); });
}

CFont CPrinterDC::SelectFont(const CFont& font) {
    return SetEverywhere([&font](CDC& dc) { return dc.SelectFont(font); });
}

CPen CPrinterDC::SelectPen(const CPen& pen) {
    return SetEverywhere([&pen](CDC& dc) { return dc.SelectPen(pen); });
}

void CPrinterDC::SetClipRect(const RECT& rc) {
    m_clip = rc;
    if (m_surface != nullptr) {
        m_surface->SetClipRect(rc);
    }
}

void CPrinterDC::Ellipse(const RECT& rc) {
    if (CDC* page = Drawing()) {
        page->Ellipse(rc);
    }
}
