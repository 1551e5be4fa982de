// Printer contexts on a system printer, painted through QPainter.
#pragma once

#include <QPrinter>
#include <memory>

#include "platform/gdi/pdf_printer.h"

// Prints through the printer as Qt's print dialog set it up; its paper, margins and resolution
// make the device capabilities. Printing to a PDF file keeps the PDF printer's rule above.
std::unique_ptr<CPrinterDC> CreateSystemPrinterDC(std::unique_ptr<QPrinter> printer);

// The sheet, printable area and resolution the printer is set up with.
PrinterPage PageOf(const QPrinter& printer);
