// Kept documents: recorded page by page, played back on any context, printed after a preview.
#include "platform/gdi/print_document.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace {

// The recording surface of a kept document; block transfers keep a copy of their source.
class CKeepingDC : public CRecordingDC {
  public:
    CKeepingDC(const PrinterPage& page, std::vector<CPrintDocument::Blit>& blits)
        : CRecordingDC(nullptr, page.dpi, page.printable), m_blits(blits) {}

    void BitBlt(int x, int y, int width, int height, CDC& source, int xSrc, int ySrc,
                UINT rop) override {
        CRecordingDC::BitBlt(x, y, width, height, source, xSrc, ySrc, rop);
        if (width <= 0 || height <= 0) {
            return;
        }
        auto pixels = std::make_shared<CBitmap>(width, height);
        CreateBitmapDC(*pixels)->BitBlt(0, 0, width, height, source, xSrc, ySrc, SRCCOPY);
        m_blits.push_back({Calls().size() - 1, std::move(pixels)});
    }

  private:
    std::vector<CPrintDocument::Blit>& m_blits;
};

CBitmap* BlitPixels(const CPrintDocument& document, std::size_t call) {
    const auto found = std::lower_bound(
        document.blits.begin(), document.blits.end(), call,
        [](const CPrintDocument::Blit& blit, std::size_t index) { return blit.call < index; });
    return found != document.blits.end() && found->call == call ? found->pixels.get() : nullptr;
}

void PlayBlit(const CPrintDocument& document, std::size_t index, CDC& dc) {
    CBitmap* pixels = BlitPixels(document, index);
    if (pixels == nullptr) {
        return;
    }
    const DcCall& call = document.calls[index];
    const std::unique_ptr<CDC> source = CreateBitmapDC(*pixels);
    dc.BitBlt(call.rect.left, call.rect.top, pixels->Width(), pixels->Height(), *source, 0, 0,
              call.flags);
}

void PlayCall(const CPrintDocument& document, std::size_t index, CDC& dc) {
    const DcCall& call = document.calls[index];
    RECT rect = call.rect;
    switch (call.op) {
        case DcOp::FillSolidRect:
            dc.FillSolidRect(rect, call.color);
            break;
        case DcOp::MoveTo:
            dc.MoveTo(call.point.x, call.point.y);
            break;
        case DcOp::LineTo:
            dc.LineTo(call.point.x, call.point.y);
            break;
        case DcOp::Polyline:
            dc.Polyline(call.points);
            break;
        case DcOp::FrameRect:
            dc.FrameRect(rect);
            break;
        case DcOp::DrawText:
            // A measurement drew nothing the first time either.
            if ((call.flags & DT_CALCRECT) == 0) {
                dc.DrawText(call.text, rect, call.flags);
            }
            break;
        case DcOp::TextOut:
            dc.TextOut(call.point.x, call.point.y, call.text);
            break;
        case DcOp::DrawEdge:
            dc.DrawEdge(rect, call.flags, call.flags2);
            break;
        case DcOp::DrawFrameControl:
            dc.DrawFrameControl(rect, call.flags, call.flags2);
            break;
        case DcOp::DrawFocusRect:
            dc.DrawFocusRect(rect);
            break;
        case DcOp::BitBlt:
            PlayBlit(document, index, dc);
            break;
        case DcOp::SetTextColor:
            dc.SetTextColor(call.color);
            break;
        case DcOp::SetBkColor:
            dc.SetBkColor(call.color);
            break;
        case DcOp::SetBkMode:
            dc.SetBkMode(call.mode);
            break;
        case DcOp::SelectFont:
            dc.SelectFont(call.font);
            break;
        case DcOp::SelectPen:
            dc.SelectPen(call.pen);
            break;
        case DcOp::SetClipRect:
            dc.SetClipRect(rect);
            break;
        case DcOp::Ellipse:
            dc.Ellipse(rect);
            break;
    }
}

// Keeps each document drawn on it; hands an ended one to the choice and then to the printer.
class CKeepingTarget : public CPrintTarget {
  public:
    CKeepingTarget(std::unique_ptr<CPrinterDC> printer, PrintPreviewChoice choice)
        : m_printer(std::move(printer)), m_choice(std::move(choice)) {}

    CDC* BeginDocument(const std::string& name) override {
        m_lost.clear();
        m_document = CPrintDocument{};
        m_document.name = name;
        m_document.page = m_printer->Page();
        m_surface.emplace(m_document.page, m_document.blits);
        return &*m_surface;
    }

    bool BeginPage() override {
        const std::size_t start = m_surface->Calls().size();
        m_document.pages.push_back({start, start});
        return true;
    }

    bool EndPage() override {
        m_document.pages.back().end = m_surface->Calls().size();
        return true;
    }

    bool EndDocument() override {
        m_document.calls = m_surface->Calls();
        m_surface.reset();
        const CPrintDocument document = std::exchange(m_document, {});
        if (!m_choice(document)) {
            return false;
        }
        const bool printed = PlayDocument(document, *m_printer);
        m_lost = printed ? std::string() : m_printer->LostOutput();
        return printed;
    }

    std::string LostOutput() const override { return m_lost; }

    void AbortDocument() override {
        m_surface.reset();
        m_document = CPrintDocument{};
    }

  private:
    std::unique_ptr<CPrinterDC> m_printer;
    PrintPreviewChoice m_choice;
    std::string m_lost;
    CPrintDocument m_document;
    std::optional<CKeepingDC> m_surface;
};

}  // namespace

void PlayCalls(const CPrintDocument& document, std::size_t begin, std::size_t end, CDC& dc) {
    end = std::min(end, document.calls.size());
    for (std::size_t index = begin; index < end; ++index) {
        PlayCall(document, index, dc);
    }
}

bool PlayDocument(const CPrintDocument& document, CPrinterDC& printer) {
    if (printer.StartDoc(document.name) <= 0) {
        return false;
    }
    std::size_t played = 0;
    for (const CPrintDocument::PageCalls& page : document.pages) {
        PlayCalls(document, played, page.begin, printer);
        if (printer.StartPage() <= 0) {
            printer.AbortDoc();
            return false;
        }
        PlayCalls(document, page.begin, page.end, printer);
        if (printer.EndPage() <= 0) {
            printer.AbortDoc();
            return false;
        }
        played = page.end;
    }
    return printer.EndDoc() > 0;
}

std::unique_ptr<CPrinterDC> CreatePreviewPrinterDC(std::unique_ptr<CPrinterDC> printer,
                                                   PrintPreviewChoice choice) {
    const PrinterPage page = printer->Page();
    return std::make_unique<CPrinterDC>(
        page, std::make_unique<CKeepingTarget>(std::move(printer), std::move(choice)));
}
