// Printer contexts on a system printer, and kept documents, painted through QPainter.
#pragma once

#include <QPageLayout>
#include <QPrinter>
#include <memory>

#include "platform/gdi/pdf_printer.h"
#include "platform/gdi/print_document.h"

// Prints through the printer as Qt's print dialog set it up; its paper, margins and resolution
// make the device capabilities. Printing to a PDF file is the PDF printer's (pdf_printer.h).
std::unique_ptr<CPrinterDC> CreateSystemPrinterDC(std::unique_ptr<QPrinter> printer);

// The sheet, printable area and resolution the printer is set up with.
PrinterPage PageOf(const QPrinter& printer);

// The sheet and margins of the page as Qt lays out a page.
QPageLayout LayoutOf(const PrinterPage& page);
// Paints the document's pages on a device set up for its page; the device stays the caller's.
bool PaintDocument(const CPrintDocument& document, QPagedPaintDevice& device);
