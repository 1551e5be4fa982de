// A document kept as the drawing calls its pages were made of, to be shown before it is printed,
// and the printer context that keeps it.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/printer_dc.h"

struct CPrintDocument {
    // A page is the calls [begin, end); calls between pages only change the drawing state.
    struct PageCalls {
        std::size_t begin = 0;
        std::size_t end = 0;
    };
    // The source pixels a block transfer copied, kept because its source is gone by now; only
    // read, though a bitmap's context takes it as non-const.
    struct Blit {
        std::size_t call = 0;
        std::shared_ptr<CBitmap> pixels;
    };

    std::string name;
    PrinterPage page;
    std::vector<DcCall> calls;
    std::vector<PageCalls> pages;
    std::vector<Blit> blits;

    int PageCount() const { return static_cast<int>(pages.size()); }
};

// Draws the calls [begin, end) of the document on the context, as they were first made.
void PlayCalls(const CPrintDocument& document, std::size_t begin, std::size_t end, CDC& dc);
// Prints the document on the printer from StartDoc to EndDoc; false, with nothing of it kept,
// when the printer fails a call.
bool PlayDocument(const CPrintDocument& document, CPrinterDC& printer);

// Asked when a kept document ends: true prints it, false drops it.
using PrintPreviewChoice = std::function<bool(const CPrintDocument&)>;

// A context with the printer's page that keeps each document it is given; when one ends, the
// choice sees it and, if it says so, the document goes to `printer`. A dropped document is a
// failed EndDoc: nothing was printed.
std::unique_ptr<CPrinterDC> CreatePreviewPrinterDC(std::unique_ptr<CPrinterDC> printer,
                                                   PrintPreviewChoice choice);
